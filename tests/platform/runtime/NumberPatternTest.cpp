#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include "platform/runtime/NumberPattern.h"

namespace orvale {
namespace {

TEST(NumberPattern, ThePatternsOfTheReportsAndTitles) {
  const struct { double v; const char* pattern; const char* text; } cases[] = {
      {0.125, "0.000", "0.125"},
      {0.0421, " 0.000", " 0.042"},
      {1.5, " 0.00", " 1.50"},
      {-0.25, "0.00", "-0.25"},
      {5.3, "0.0", "5.3"},
      {-123.44, "0.0", "-123.4"},
      {632.8, "000.0", "632.8"},
      {50, "000.0", "050.0"},
      {1234.5, "000.0", "1234.5"},
      {12.5, "###0.00", "12.50"},
      {0.0, "###0.00", "0.00"},
      {98765.4321, "###0.00", "98765.43"},
      {19, "##", "19"},
      {7, " #", " 7"},
      {0, "##", ""},
      {45, "0", "45"},
      {0.5, "0", "0"},   // a tie goes to the even neighbour
      {1.5, "0", "2"},
      {0.123456, " 0.000000;-0.000000", " 0.123456"},
      {-0.0001, " 0.000000;-0.000000", "-0.000100"},
      {0.0, " 0.000000;-0.000000", " 0.000000"},
      {0.125, "0.000 ", "0.125 "},
      {-0.5, " 0.0000;-0.0000", "-0.5000"},
      {2.0, "0.0#", "2.0"},
      {2.25, "0.0#", "2.25"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatPattern(c.v, c.pattern), c.text) << c.v << " with \"" << c.pattern << '"';
}

TEST(NumberPattern, RoundsCorrectlyWithTiesToEvenOnExactBinaryTies) {
  EXPECT_EQ(FormatPattern(0.125, "0.00"), "0.12");   // exactly between: even digit
  EXPECT_EQ(FormatPattern(0.375, "0.00"), "0.38");
  EXPECT_EQ(FormatPattern(2.5, "0"), "2");
  EXPECT_EQ(FormatPattern(1.005, "0.00"), "1.00");   // 1.00499999999999989...
  EXPECT_EQ(FormatPattern(9.995, "0.00"), "9.99");   // 9.99499999999999922...
  EXPECT_EQ(FormatPattern(0.30000000000000004, "0.0"), "0.3");
  EXPECT_EQ(FormatPattern(0.995, "0.00"), "0.99");
  EXPECT_EQ(FormatPattern(0.996, "0.00"), "1.00");   // the carry reaches the integer
}

TEST(NumberPattern, TheSectionFollowsTheSignEvenWhenTheValueRoundsToZero) {
  EXPECT_EQ(FormatPattern(-0.001, "0.00"), "-0.00");
  EXPECT_EQ(FormatPattern(-0.0000001, " 0.000000;-0.000000"), "-0.000000");
  EXPECT_EQ(FormatPattern(-0.0, "0.00"), "0.00");
  EXPECT_EQ(FormatPattern(-0.4, "0"), "-0");
  // A single section puts the minus sign before any literal text.
  EXPECT_EQ(FormatPattern(-1.5, " 0.00"), "- 1.50");
  // An empty negative section falls back to the first one.
  EXPECT_EQ(FormatPattern(-1.5, "0.0;"), "-1.5");
}

TEST(NumberPattern, UnusualValuesAndPatterns) {
  EXPECT_EQ(FormatPattern(std::numeric_limits<double>::quiet_NaN(), " 0.00"), " NaN");
  EXPECT_EQ(FormatPattern(-std::numeric_limits<double>::infinity(), "0.0"), "-Inf");
  EXPECT_EQ(FormatPattern(std::numeric_limits<double>::infinity(), "x0.0;(0.0)"), "xInf");
  EXPECT_EQ(FormatPattern(-std::numeric_limits<double>::infinity(), "0.0;(0.0)"), "(Inf)");
  const std::string huge = FormatPattern(1.7976931348623157E+308, "0.00");
  EXPECT_EQ(huge.size(), 312u);
  EXPECT_EQ(huge.substr(huge.size() - 3), ".00");
  EXPECT_EQ(FormatPattern(0.25, ""), "0.25");
  EXPECT_EQ(FormatPattern(3, "none"), "none");
  EXPECT_EQ(FormatPattern(1E-20, "0." + std::string(30, '0')),
            "0.000000000000000000010000000000");
}

TEST(NumberPattern, IgnoresTheUserLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
    EXPECT_EQ(FormatPattern(2.5, "0.00"), "2.50");
  }
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace orvale
