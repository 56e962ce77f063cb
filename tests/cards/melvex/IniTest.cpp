#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DigitizerLimits.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/ui/MessageService.h"
#include "tests/cards/melvex/CardFixture.h"
#include "tests/cards/melvex/DibTestSupport.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;
using testing::Request;
using testing::TempFolder;

const char* const kKeys[] = {
    "SignalType",    "InputChannel",   "Brightness",     "Contrast",       "Saturation",    "Hue",
    "Gamma",         "xOffsetPAL",     "xActivePAL",     "xPixelsPAL",     "yOffsetPAL",    "yActivePAL",
    "yPixelsPAL",    "interlacedPAL",  "xOffsetNTSC",    "xActiveNTSC",    "xPixelsNTSC",   "yOffsetNTSC",
    "yActiveNTSC",   "yPixelsNTSC",    "interlacedNTSC", "OutputFormat",   "ExtTrig",       "Flash",
    "ExtTrigEnable", "FlashEnable",    "Gray16Enable",   "Gray256Enable",  "Color256Enable", "Color16MEnable",
    "Color32kEnable", "Color64kEnable", "Color32bitEnable"};

// A record with every field away from its default.
ZlvConfig Sample() {
  ZlvConfig c{};
  c.standard = 1;
  c.signalType = 1;
  c.inputChannel = 1;
  c.brightness = -12;
  c.contrast = 34;
  c.saturation = -56;
  c.gamma = 2.25f;
  c.hue = 78;
  c.requestNTSC = Request(11, 700, 350, 13, 480, 240, 0, 1);
  c.requestPAL = Request(21, 900, 640, 23, 580, 480, 1, 1);
  c.outputFormat = 2;
  c.extTrig = 1;
  c.flash = 0;
  c.extTrigEnable = 1;
  c.flashEnable = 1;
  c.gray16Enable = 1;
  c.gray256Enable = 0;
  c.color256Enable = 1;
  c.color16MEnable = 0;
  c.color32kEnable = 1;
  c.color64kEnable = 0;
  c.color32bitEnable = 1;
  return c;
}

class IniTest : public CardFixture {
 protected:
  void SetUp() override {
    Lib().SetProfile(profile);
    ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  }
  // A section holding every key of `c`, less the ones named.
  void WriteAllBut(const ZlvConfig& c, std::vector<std::string> leaveOut) {
    ASSERT_EQ(Lib().ZLV_saveIniFile("cam.ini", "Camera", &c), code::kOk);
    for (const std::string& key : leaveOut) profile.WriteString("Camera", key.c_str(), nullptr, "cam.ini");
  }
  ZlvConfig Defaults() const { return DefaultConfig(LimitsOf(0), LimitsOf(1)); }

  std::shared_ptr<MemoryProfileFiles> files = std::make_shared<MemoryProfileFiles>();
  PrivateProfile profile{files};
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
};

TEST_F(IniTest, SavedRecordsReadBackTheSame) {
  const ZlvConfig saved = Sample();
  ASSERT_EQ(Lib().ZLV_saveIniFile("cam.ini", "Camera", &saved), code::kOk);
  ZlvConfig read{};
  ASSERT_EQ(Lib().ZLV_readIniFile("cam.ini", "Camera", &read), code::kOk);
  // Neither the standard nor the monochrome flags are kept; the flags follow the format.
  ZlvConfig expected = saved;
  expected.standard = 0;
  expected.requestNTSC.monochrome = expected.requestPAL.monochrome = 1;
  EXPECT_EQ(std::memcmp(&read, &expected, sizeof(read)), 0);
  EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(IniTest, KeysAreWrittenInOrderWithGammaToTwoDecimals) {
  ZlvConfig c = Defaults();
  ASSERT_EQ(Lib().ZLV_saveIniFile("cam.ini", "Camera", &c), code::kOk);
  EXPECT_EQ(profile.KeyNames("Camera", "cam.ini"), std::vector<std::string>(std::begin(kKeys), std::end(kKeys)));
  EXPECT_EQ(profile.Value("Camera", "Gamma", "cam.ini"), "1.00");
  EXPECT_EQ(profile.Value("Camera", "Brightness", "cam.ini"), "0");
  EXPECT_EQ(profile.Value("Camera", "xActivePAL", "cam.ini"), "950");
  c.gamma = 0.456f;
  c.brightness = -128;
  ASSERT_EQ(Lib().ZLV_saveIniFile("cam.ini", "Camera", &c), code::kOk);
  EXPECT_EQ(profile.Value("Camera", "Gamma", "cam.ini"), "0.46");
  EXPECT_EQ(profile.Value("Camera", "Brightness", "cam.ini"), "-128");
}

TEST_F(IniTest, AMissingKeyStopsTheReading) {
  struct Case {
    const char* missing;
    std::int32_t expected;
  };
  const Case cases[] = {{"SignalType", code::kFileError},     {"Contrast", code::kFileError},
                        {"OutputFormat", code::kFileError},   {"Color16MEnable", code::kFileError},
                        {"Color32kEnable", code::kOk},        {"Color64kEnable", code::kOk},
                        {"Color32bitEnable", code::kOk}};
  const ZlvConfig sample = Sample();
  const ZlvConfig defaults = Defaults();
  for (const Case& c : cases) {
    WriteAllBut(sample, {c.missing});
    messages.Clear();
    ZlvConfig read{};
    EXPECT_EQ(Lib().ZLV_readIniFile("cam.ini", "Camera", &read), c.expected) << c.missing;
    EXPECT_EQ(messages.Messages().size(), c.expected == code::kOk ? 0u : 1u) << c.missing;
    if (!messages.Messages().empty()) {
      EXPECT_EQ(messages.Messages()[0].text, "Error when reading INI file.");
      EXPECT_EQ(messages.Messages()[0].title, "Error");
    }
    // Keys before the missing one are read; it and all after keep their defaults.
    const std::size_t at = std::find_if(std::begin(kKeys), std::end(kKeys),
                                        [&](const char* k) { return std::string(k) == c.missing; }) - std::begin(kKeys);
    EXPECT_EQ(read.signalType, at > 0 ? sample.signalType : defaults.signalType) << c.missing;
    EXPECT_EQ(read.contrast, at > 3 ? sample.contrast : defaults.contrast) << c.missing;
    EXPECT_EQ(read.outputFormat, at > 21 ? sample.outputFormat : defaults.outputFormat) << c.missing;
    EXPECT_EQ(read.color16MEnable, at > 29 ? sample.color16MEnable : defaults.color16MEnable) << c.missing;
    EXPECT_EQ(read.color32bitEnable, at > 32 ? sample.color32bitEnable : defaults.color32bitEnable) << c.missing;
  }
}

TEST_F(IniTest, ValuesThatAreNotWhollyANumberOfTheirFieldCountAsMissing) {
  struct Case {
    const char* key;
    std::string value;
    bool accepted;
  };
  const Case cases[] = {
      {"Brightness", "", false},           {"Brightness", "12abc", false},
      {"Brightness", "abc", false},        {"Brightness", "1.5", false},
      {"Brightness", "-7", true},          {"SignalType", "99999999999", false},
      {"xOffsetPAL", "65535", true},       {"xOffsetPAL", "70000", false},
      {"xOffsetPAL", "-1", false},         {"Gamma", "2.5", true},
      {"Gamma", "2,5", false},             {"Gamma", "fast", false},
      {"Gamma", "nan", false},             {"Gamma", "inf", false},
      {"Hue", std::string(101, '1'), false}, {"Hue", "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000005", true},
  };
  for (const Case& c : cases) {
    WriteAllBut(Sample(), {});
    profile.WriteString("Camera", c.key, c.value.c_str(), "cam.ini");
    ZlvConfig read{};
    EXPECT_EQ(Lib().ZLV_readIniFile("cam.ini", "Camera", &read), c.accepted ? code::kOk : code::kFileError)
        << c.key << "=" << c.value;
  }
}

TEST_F(IniTest, AMissingFileIsAMissingFirstKey) {
  ZlvConfig read = Sample();
  EXPECT_EQ(Lib().ZLV_readIniFile("none.ini", "Camera", &read), code::kFileError);
  const ZlvConfig defaults = Defaults();
  EXPECT_EQ(std::memcmp(&read, &defaults, sizeof(read)), 0);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLV_readIniFile");
}

TEST_F(IniTest, ReadingNeedsNoCard) {
  ASSERT_EQ(Lib().ZLP_closedown(0), code::kOk);
  const ZlvConfig saved = Sample();
  ASSERT_EQ(Lib().ZLV_saveIniFile("cam.ini", "Camera", &saved), code::kOk);
  ZlvConfig read{};
  EXPECT_EQ(Lib().ZLV_readIniFile("cam.ini", "Camera", &read), code::kOk);
  EXPECT_EQ(read.hue, 78);
}

TEST_F(IniTest, AFailedSaveLeavesTheWholeSectionAsItWas) {
  const ZlvConfig first = Defaults();
  ASSERT_EQ(Lib().ZLV_saveIniFile("cam.ini", "Camera", &first), code::kOk);
  const std::optional<std::string> before = files->Text(profile.Resolve("cam.ini"));
  files->SetWritesFail(true);
  const ZlvConfig second = Sample();
  EXPECT_EQ(Lib().ZLV_saveIniFile("cam.ini", "Camera", &second), code::kFileError);
  EXPECT_EQ(files->Text(profile.Resolve("cam.ini")), before);
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].text, "Error when writing to INI file.");
}

TEST_F(IniTest, NullArgumentsAreBadPointers) {
  ZlvConfig c = Defaults();
  EXPECT_EQ(Lib().ZLV_readIniFile(nullptr, "Camera", &c), code::kBadPointer);
  EXPECT_EQ(Lib().ZLV_readIniFile("cam.ini", nullptr, &c), code::kBadPointer);
  EXPECT_EQ(Lib().ZLV_readIniFile("cam.ini", "Camera", nullptr), code::kBadPointer);
  EXPECT_EQ(Lib().ZLV_saveIniFile(nullptr, "Camera", &c), code::kBadPointer);
  EXPECT_EQ(Lib().ZLV_saveIniFile("cam.ini", nullptr, &c), code::kBadPointer);
  EXPECT_EQ(Lib().ZLV_saveIniFile("cam.ini", "Camera", nullptr), code::kBadPointer);
}

TEST(IniFileTest, RoundTripThroughARealFile) {
  TempFolder folder;
  sim::SimulatedCard card;
  MovableMemory memory;
  ZelvoLibrary library(card, memory);
  PrivateProfile profile;
  profile.SetRoot(folder.Path());
  library.SetProfile(profile);
  const ZlvConfig saved = Sample();
  ASSERT_EQ(library.ZLV_saveIniFile("zelvo.ini", "Camera 1", &saved), code::kOk);
  const std::vector<std::uint8_t> file = testing::FileBytes(folder / "zelvo.ini");
  const std::string text(file.begin(), file.end());
  EXPECT_NE(text.find("[Camera 1]\r\n"), std::string::npos);
  EXPECT_NE(text.find("Gamma=2.25\r\n"), std::string::npos);
  ZlvConfig read{};
  ASSERT_EQ(library.ZLV_readIniFile("zelvo.ini", "camera 1", &read), code::kOk);
  EXPECT_EQ(read.gamma, 2.25f);
  EXPECT_EQ(read.requestPAL.xActive, 900);
}

}  // namespace
}  // namespace orvale::melvex
