#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"

namespace orvale {
namespace {

TEST(NumberText, DecimalFieldForms) {
  const struct { double v; const char* text; } cases[] = {
      {0.25, " .25"}, {-0.25, "-.25"}, {1.0, " 1"}, {1E+20, " 1E+20"},
      {1.5E-07, " 1.5E-07"}, {12.5, " 12.5"}, {0.0, " 0"}, {-0.0, " 0"},
      {0.30000000000000004, " .3"}, {123456789012345.0, " 123456789012345"},
      {1E+15, " 1E+15"}, {0.0001, " .0001"}, {0.00001, " 1E-05"}, {-40, "-40"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDecimalField(c.v), c.text) << c.v;
}

TEST(NumberText, GeneralAndWholeForms) {
  EXPECT_EQ(FormatGeneral(0.25), "0.25");
  EXPECT_EQ(FormatGeneral(-12), "-12");
  EXPECT_EQ(FormatGeneral(1E-05), "1E-05");
  EXPECT_EQ(FormatGeneral(1.5E+15), "1.5E+15");
  EXPECT_EQ(FormatWholeField(12), " 12 ");
  EXPECT_EQ(FormatWholeField(0), " 0 ");
  EXPECT_EQ(FormatWholeField(-3), "-3 ");
  EXPECT_EQ(FormatLong(-12), "-12");
}

TEST(NumberText, FormattingIgnoresTheUserLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  std::string saved = old ? old : "C";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
    EXPECT_EQ(FormatDecimalField(0.25), " .25");
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("2.5"), 2.5);
  }
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(FormatGeneral(2.5), "2.5");
}

TEST(NumberText, LeadingNumberRule) {
  const struct { const char* text; double v; bool found; } cases[] = {
      {"12.5", 12.5, true},   {" 40", 40, true},      {"\t-.25", -0.25, true},
      {" 1E+20", 1E+20, true}, {" 1.5E-07", 1.5E-07, true}, {"3abc", 3, true},
      {"1.2.3", 1.2, true},   {"1E", 1, true},        {"2e3x", 2000, true},
      {"abc", 0, false},      {"", 0, false},         {".", 0, false},
      {"-", 0, false},        {"+7", 7, true},        {"True", 0, false},
  };
  for (const auto& c : cases) {
    double v = -1;
    EXPECT_EQ(TryReadLeadingNumber(c.text, v), c.found) << c.text;
    EXPECT_DOUBLE_EQ(v, c.v) << c.text;
  }
  EXPECT_TRUE(std::isinf(ReadLeadingNumber("1E400")));
  EXPECT_EQ(ReadLeadingNumber("1E-400"), 0.0);
}

TEST(NumberText, ConversionRuleTakesOnlyAWholeNumber) {
  const struct { const char* text; double v; bool converted; } cases[] = {
      {"1.5", 1.5, true},   {" 1000 ", 1000, true}, {"\t.5", 0.5, true},
      {"2E3", 2000, true},  {"-7", -7, true},       {"0", 0, true},
      {"1.5x", 0, false},   {"1 5", 0, false},      {"", 0, false},
      {"  ", 0, false},     {".", 0, false},        {"1.2.3", 0, false},
      {"abc", 0, false},    {"1E", 0, false},
  };
  for (const auto& c : cases) {
    double v = -1;
    EXPECT_EQ(TryConvertNumber(c.text, v), c.converted) << c.text;
    EXPECT_DOUBLE_EQ(v, c.v) << c.text;
  }
  double v = 0;
  EXPECT_TRUE(TryConvertNumber("1E400", v));
  EXPECT_TRUE(std::isinf(v));
}

TEST(NumberText, SettingNumberRule) {
  EXPECT_EQ(ReadSettingNumber("12 34"), 1234);
  EXPECT_EQ(ReadSettingNumber(" 1\t2\n3"), 123);
  EXPECT_EQ(ReadSettingNumber("&H1F"), 31);
  EXPECT_EQ(ReadSettingNumber("&hff"), 255);
  EXPECT_EQ(ReadSettingNumber("&O17"), 15);
  EXPECT_EQ(ReadSettingNumber("&HFFFFFFFF"), -1);
  EXPECT_EQ(ReadSettingNumber("letters"), 0);
  EXPECT_EQ(ReadSettingNumber(""), 0);
  EXPECT_EQ(ReadSettingNumber("1E20"), 1E20);
}

TEST(NumberText, RoundingIsHalfToEvenAndClamped) {
  EXPECT_EQ(RoundToInt32(2.5), 2);
  EXPECT_EQ(RoundToInt32(3.5), 4);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(1.5), 2);
  EXPECT_EQ(RoundToInt32(1E20), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToInt32(-1E20), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(RoundToInt32(std::nan("")), 0);
}

TEST(Markers, BlankIsTheWidenedSinglePrecisionValue) {
  EXPECT_EQ(kBlankValue, static_cast<double>(static_cast<float>(-3.0E+38)));
  EXPECT_NE(kBlankValue, -3.0E+38);
}

}  // namespace
}  // namespace orvale
