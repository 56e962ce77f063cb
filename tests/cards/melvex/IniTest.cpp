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
#include "tests/support/LinkedFileLayouts.h"
#include "tests/support/WrittenFileSituations.h"

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

// Values are read as the profile-integer call reads them: the number at their start, 0
// when there is none; only a missing or empty value stops the reading. A 16-bit field
// keeps the low 16 bits. Gamma takes the leading decimal number.
TEST_F(IniTest, ValuesAreReadByTheirLeadingNumber) {
  struct Case {
    const char* key;
    std::string value;
    double expected;  // the field as read
  };
  const std::string hundredChars = std::string(99, '0') + "5";
  const Case cases[] = {
      {"Brightness", "12abc", 12},       {"Brightness", "abc", 0},         {"Brightness", "1.5", 1},
      {"Brightness", "5.7", 5},          {"Brightness", "+5", 5},          {"Brightness", "-7", -7},
      {"Brightness", "\t 9", 9},         {"Brightness", "+-3", 0},         {"Brightness", "-", 0},
      {"SignalType", "99999999999", 0},  {"xOffsetPAL", "65535", 65535},   {"xOffsetPAL", "70000", 4464},
      {"xOffsetPAL", "-1", 65535},       {"Gamma", "2.5", 2.5},            {"Gamma", "2,5", 2},
      {"Gamma", "1.5x", 1.5},            {"Gamma", "fast", 0},             {"Gamma", "nan", 0},
      {"Gamma", "inf", 0},               {"Gamma", "1e99", 0},             {"Hue", hundredChars, 5},
      {"Hue", std::string(101, '1'), 0}, {"Color32bitEnable", "1 (on)", 1},
  };
  const ZlvConfig sample = Sample();
  for (const Case& c : cases) {
    WriteAllBut(sample, {});
    profile.WriteString("Camera", c.key, c.value.c_str(), "cam.ini");
    messages.Clear();
    ZlvConfig read{};
    EXPECT_EQ(Lib().ZLV_readIniFile("cam.ini", "Camera", &read), code::kOk) << c.key << "=" << c.value;
    EXPECT_TRUE(messages.Messages().empty()) << c.key << "=" << c.value;
    const std::string key = c.key;
    const double field = key == "Brightness"   ? read.brightness
                         : key == "SignalType" ? read.signalType
                         : key == "xOffsetPAL" ? read.requestPAL.xOffset
                         : key == "Gamma"      ? read.gamma
                         : key == "Hue"        ? read.hue
                                               : read.color32bitEnable;
    EXPECT_EQ(field, c.expected) << c.key << "=" << c.value;
    // Every key after it is read all the same.
    EXPECT_EQ(read.outputFormat, sample.outputFormat) << c.key << "=" << c.value;
    EXPECT_EQ(read.color64kEnable, sample.color64kEnable) << c.key << "=" << c.value;
  }
}

TEST_F(IniTest, AnEmptyValueStopsTheReadingAsAMissingKeyDoes) {
  const ZlvConfig sample = Sample();
  const ZlvConfig defaults = Defaults();
  for (const char* value : {"", "  ", "\"\""}) {
    WriteAllBut(sample, {});
    profile.WriteString("Camera", "Contrast", value, "cam.ini");
    messages.Clear();
    ZlvConfig read{};
    EXPECT_EQ(Lib().ZLV_readIniFile("cam.ini", "Camera", &read), code::kFileError) << value;
    ASSERT_EQ(messages.Messages().size(), 1u) << value;
    EXPECT_EQ(messages.Messages()[0].text, "Error when reading INI file.");
    EXPECT_EQ(read.brightness, sample.brightness) << value;
    EXPECT_EQ(read.contrast, defaults.contrast) << value;
    EXPECT_EQ(read.outputFormat, defaults.outputFormat) << value;
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

// The INI functions on files on disk.
class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { library.SetProfile(profile); }
  sim::SimulatedCard card;
  MovableMemory memory;
  ZelvoLibrary library{card, memory};
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
  PrivateProfile profile;
};

TEST_F(IniFileTest, RoundTripThroughARealFile) {
  TempFolder folder;
  profile.SetRoot(folder.Path());
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

// Saving leaves the file alone in its folder, and a file in a folder that does not exist
// is an INI error, as the profile call's failure is, with no folder made.
TEST_F(IniFileTest, SavingLeavesOnlyTheFileAndNeedsItsFolder) {
  TempFolder folder;
  profile.SetRoot(folder / "windows");
  const ZlvConfig saved = Sample();
  ASSERT_EQ(library.ZLV_saveIniFile("zelvo.ini", "Camera", &saved), code::kOk);
  ASSERT_EQ(library.ZLV_saveIniFile((folder / "mine.ini").c_str(), "Camera", &saved), code::kOk);
  ASSERT_EQ(library.ZLV_saveIniFile((folder / "mine.ini").c_str(), "Camera", &saved), code::kOk);
  EXPECT_EQ(folder.Entries(), 2u);  // "windows" and mine.ini
  EXPECT_TRUE(std::filesystem::exists(folder / "windows" / "zelvo.ini"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "windows"), {}), 1);
  EXPECT_TRUE(messages.Messages().empty());

  const std::string missing = (folder / "gone" / "zelvo.ini").string();
  EXPECT_EQ(library.ZLV_saveIniFile(missing.c_str(), "Camera", &saved), code::kFileError);
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].text, "Error when writing to INI file.");
  EXPECT_FALSE(std::filesystem::exists(folder / "gone"));
  ZlvConfig read{};
  EXPECT_EQ(library.ZLV_readIniFile(missing.c_str(), "Camera", &read), code::kFileError);
  EXPECT_FALSE(std::filesystem::exists(folder / "gone"));
}

// A file that is a symbolic link stays one: the save goes to the file it names; a link
// that leads nowhere it can write is an INI error that changes nothing.
TEST_F(IniFileTest, SavingThroughALinkWritesTheFileItNames) {
  const ZlvConfig saved = Sample();
  orvale::testing::ExpectWritesThroughLinks(
      [&](const char* file) { return library.ZLV_saveIniFile(file, "Camera", &saved) == code::kOk; },
      "[Camera]\r\nSignalType=1\r\n");
  EXPECT_EQ(messages.Messages().size(), 2u);  // the dangling link into a missing folder, the loop
}

// A read-only file is an INI error (20) and is left as it is; hard links, owners and
// modes are kept.
TEST_F(IniFileTest, SavingInEveryFileSituation) {
  const ZlvConfig saved = Sample();
  orvale::testing::ExpectWritesInEveryFileSituation(
      "zelvo.ini", [&](const char* file) { return library.ZLV_saveIniFile(file, "Camera", &saved) == code::kOk; },
      "[Camera]\r\nSignalType=1\r\n");
  EXPECT_EQ(messages.Messages().size(), 1u);  // the read-only file
}

}  // namespace
}  // namespace orvale::melvex
