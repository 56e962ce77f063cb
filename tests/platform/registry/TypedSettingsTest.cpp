#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/RegistryAccess.h"
#include "platform/registry/SettingsBatch.h"
#include "platform/registry/TypedSettings.h"

namespace orvale {
namespace {

constexpr const char* kSection = "CurrentVersion";

class TypedSettingsTest : public ::testing::Test {
 protected:
  // Stores a raw text in a section that exists.
  void Store(const std::string& key, const std::string& text) {
    store_.Read(kSection, key, scratch_, true);
    ASSERT_TRUE(store_.Write(kSection, key, text));
  }
  MemorySettingsStore store_;
  ScopedSettingsStore installed_{store_};
  std::string scratch_;
};

struct LongCase {
  const char* stored;  // nullptr: missing
  std::int32_t min, max, def, expected;
};

TEST_F(TypedSettingsTest, WholeNumbersAreRoundedHalfToEvenAndClamped) {
  const LongCase cases[] = {
      {"", 1, 6, 3, 1},           // found but empty reads 0, clamped up: not the default
      {"abc", 1, 6, 3, 1},        // letters likewise
      {"9", 1, 6, 3, 6},
      {nullptr, 1, 6, 3, 3},
      {nullptr, 1, 6, 9, 6},      // the default is clamped too
      {"1.5", 1, 2, 1, 2},
      {"2.5", 1, 2, 1, 2},
      {"3.5", 0, 10, 0, 4},
      {"12 34", 0, 99999, 0, 1234},
      {"&H10", 0, 100, 0, 16},
      {"1E20", 1, 100, 10, 100},  // beyond 32 bits: clamped, never an overflow
      {"-1E20", 1, 100, 10, 1},
      {"7", 8, 5, 0, 5},          // min above max: the maximum wins
      {nullptr, 0, kNotGivenLong, 42, 0},
      {"-5000", kNotGivenLong, 0, 42, -5000},
      {"2.5", 0, 0, kNotGivenLong, 2},
      {"1E20", 0, kNotGivenLong, 0, std::numeric_limits<std::int32_t>::max()},
      {"-1E20", kNotGivenLong, 0, 0, std::numeric_limits<std::int32_t>::min()},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string key = "Key " + std::to_string(++n);
    if (c.stored) Store(key, c.stored);
    EXPECT_EQ(GetSettingLong(kSection, key, c.min, c.max, c.def), c.expected)
        << "stored \"" << (c.stored ? c.stored : "(missing)") << "\"";
  }
}

TEST_F(TypedSettingsTest, RealsAreClampedWithoutRounding) {
  Store("Grab Aspect Ratio", "250");
  EXPECT_EQ(GetSettingDouble(kSection, "Grab Aspect Ratio", 0, 100, 1.0), 100.0);
  Store("Grab Aspect Ratio", "-1");
  EXPECT_EQ(GetSettingDouble(kSection, "Grab Aspect Ratio", 0, 100, 1.0), 0.0);
  Store("Grab Aspect Ratio", "1.25");
  EXPECT_EQ(GetSettingDouble(kSection, "Grab Aspect Ratio", 0, 100, 1.0), 1.25);
  EXPECT_EQ(GetSettingDouble(kSection, "Missing", 0, 100, 1.5), 1.5);
  // The no-clamp marker: the stored number as it is, 0 when missing.
  EXPECT_EQ(GetSettingDouble(kSection, "Missing", kNotGivenDouble, kNotGivenDouble, 7), 0.0);
  Store("Zernike", "-12345.5");
  EXPECT_EQ(GetSettingDouble(kSection, "Zernike", kNotGivenDouble, kNotGivenDouble, 0), -12345.5);
  Store("Zernike", "1E999");
  EXPECT_EQ(GetSettingDouble(kSection, "Zernike", kNotGivenDouble, kNotGivenDouble, 0),
            std::numeric_limits<double>::max());
}

TEST_F(TypedSettingsTest, FlagsAreTrueForAnyNonZeroNumber) {
  const std::pair<const char*, bool> cases[] = {
      {"TRUE", false}, {"yes", false}, {"", false}, {"0", false},
      {"-1", true},    {"2", true},    {"1", true}, {"0.5", true},
  };
  for (const auto& [stored, expected] : cases) {
    Store("Show RMS", stored);
    EXPECT_EQ(GetSettingBool(kSection, "Show RMS", !expected), expected) << stored;
  }
  EXPECT_TRUE(GetSettingBool(kSection, "Missing", true));
  EXPECT_FALSE(GetSettingBool(kSection, "Missing", false));
}

TEST_F(TypedSettingsTest, WritersUseTheCLocaleForms) {
  GetSettingString(kSection, "x", "");  // creates the section
  SaveSettingLong(kSection, "Long", -12);
  SaveSettingDouble(kSection, "Quarter", 0.25);
  SaveSettingDouble(kSection, "Small", 1E-05);
  SaveSettingDouble(kSection, "Large", 1E+15);
  SaveSettingBool(kSection, "On", true);
  SaveSettingBool(kSection, "Off", false);
  SaveSettingString(kSection, "Text", " as is ");
  EXPECT_EQ(GetSettingString(kSection, "Long", ""), "-12");
  EXPECT_EQ(GetSettingString(kSection, "Quarter", ""), "0.25");
  EXPECT_EQ(GetSettingString(kSection, "Small", ""), "1E-05");
  EXPECT_EQ(GetSettingString(kSection, "Large", ""), "1E+15");
  EXPECT_EQ(GetSettingString(kSection, "On", ""), "1");
  EXPECT_EQ(GetSettingString(kSection, "Off", ""), "0");
  EXPECT_EQ(GetSettingString(kSection, "Text", ""), " as is ");
  EXPECT_EQ(GetSettingString(kSection, "tExT", ""), " as is ");  // names ignore case
  DeleteSettingValue(kSection, "TEXT");
  EXPECT_EQ(GetSettingString(kSection, "Text", "gone"), "gone");
}

TEST_F(TypedSettingsTest, ValuesLongerThan1023BytesReadAsMissing) {
  Store("Open File Dir", std::string(1023, 'a'));
  EXPECT_EQ(GetSettingString(kSection, "Open File Dir", "default"), std::string(1023, 'a'));
  Store("Open File Dir", std::string(1024, 'a'));
  EXPECT_EQ(GetSettingString(kSection, "Open File Dir", "default"), "default");
  Store("Number", std::string(1024, '7'));
  EXPECT_EQ(GetSettingLong(kSection, "Number", 0, 100, 5), 5);
}

TEST_F(TypedSettingsTest, OnlyAReadCreatesASection) {
  SaveSettingString("Toolbox", "Shape", "1");  // never read: dropped
  std::string text;
  EXPECT_FALSE(store_.Read("Toolbox", "Shape", text, false));
  EXPECT_EQ(store_.Contents().FindSection("Toolbox"), nullptr);

  EXPECT_EQ(GetSettingString("Toolbox", "Shape", "none"), "none");
  ASSERT_NE(store_.Contents().FindSection("Toolbox"), nullptr);
  EXPECT_TRUE(store_.Contents().FindSection("Toolbox")->Entries().empty());
  SaveSettingString("Toolbox", "Shape", "1");
  EXPECT_EQ(GetSettingString("TOOLBOX", "Shape", "none"), "1");
}

TEST_F(TypedSettingsTest, RawAccessStaysBelowTheSettingsRoot) {
  std::string text = "stale";
  EXPECT_FALSE(RegReadValue("SOFTWARE\\Other\\CurrentVersion", "x", text, true));
  EXPECT_EQ(text, "");
  EXPECT_TRUE(store_.Contents().Sections().empty());
  EXPECT_FALSE(RegWriteString("SOFTWARE\\Other\\CurrentVersion", "x", "1"));

  EXPECT_FALSE(RegReadValue("software\\halvern\\orvale\\Grid", "x", text, true));
  EXPECT_TRUE(RegWriteString("SOFTWARE\\Halvern\\Orvale\\Grid", "x", std::string("ab\0cd", 5)));
  EXPECT_TRUE(RegReadValue("SOFTWARE\\Halvern\\Orvale\\Grid", "x", text, false));
  EXPECT_EQ(text, "ab");  // a value is text up to its first zero byte
  DeleteRegistryValue("SOFTWARE\\Halvern\\Orvale\\Grid", "x");
  EXPECT_FALSE(RegReadValue("SOFTWARE\\Halvern\\Orvale\\Grid", "x", text, false));
}

TEST_F(TypedSettingsTest, ABatchAppliesItsWritesWhenCommitted) {
  GetSettingString(kSection, "x", "");
  {
    ScopedSettingsBatch batch;
    SaveSettingLong(kSection, "A", 1);
    SaveSettingLong("Never Read", "B", 2);
    DeleteSettingValue(kSection, "A");
    SaveSettingLong(kSection, "A", 3);
    std::string text;
    EXPECT_FALSE(store_.Read(kSection, "A", text, false));  // nothing applied yet
    EXPECT_FALSE(batch.Commit());                          // the write to "Never Read" was dropped
  }
  EXPECT_EQ(&CurrentSettingsStore(), &store_);
  EXPECT_EQ(GetSettingLong(kSection, "A", 0, 10, 0), 3);
  EXPECT_EQ(store_.Contents().FindSection("Never Read"), nullptr);
}

}  // namespace
}  // namespace orvale
