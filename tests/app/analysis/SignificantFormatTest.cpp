#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/analysis/AxisLimits.h"
#include "app/analysis/SignificantFormat.h"

namespace orvale {
namespace {

TEST(FormatSignificant, Table) {
  const struct { double value; int digits; int notation; const char* text; } cases[] = {
      // Automatic digits clean binary noise in the last places.
      {0.30000000000000004, 0, 0, "0.3"},
      {0.2999999999999, 0, 0, "0.3"},
      {0.12999996, 0, 0, "0.13"},
      {0.9999999999999, 0, 0, "1"},
      {1.000001, 0, 0, "1"},
      {1.0000000000002, 0, 0, "1"},
      {1.00004, 0, 0, "1.00004"},
      {1234567, 0, 0, "1.234567E6"},
      {123456, 0, 0, "123456"},
      {0.00012, 0, 0, "1.2E-4"},
      {0.001, 0, 0, "0.001"},
      {-12.5, 0, 0, "-12.5"},
      {-0.00012, 0, 0, "-1.2E-4"},
      {0, 0, 0, "0"},
      {0, 2, 1, "0E0"},
      {1, 0, 1, "1E0"},
      // Rounding to a number of digits, carrying through nines.
      {99.96, 3, 2, "100"},
      {12.96, 3, 2, "13"},
      {1500, 2, 1, "1.5E3"},
      {12345, 2, 0, "12000"},
      {0.0125, 2, 1, "1.3E-2"},
      {0.0124, 2, 1, "1.2E-2"},
      {9.5, 1, 1, "1E1"},
      {1.5E7, 0, 2, "15000000"},
      {0.00012, 0, 2, "0.00012"},
      {3.25, 1, 7, "3"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatSignificant(c.value, c.digits, c.notation), c.text)
        << c.value << " " << c.digits << " " << c.notation;
}

TEST(FormatSignificant, NonFiniteValuesGiveAText) {
  EXPECT_EQ(FormatSignificant(std::numeric_limits<double>::infinity(), 2, 1), "Inf");
  EXPECT_EQ(FormatSignificant(-std::numeric_limits<double>::infinity(), 2, 1), "-Inf");
  EXPECT_EQ(FormatSignificant(std::nan(""), 0, 0), "NaN");
}

TEST(GetRangeLeadingDigit, OneSignificantDigitSpans) {
  const struct { double min, max; int digit; } cases[] = {
      {0, 3000, 3}, {0, 2500, 0}, {5, 5, 0}, {3000, 0, 3},
      {0, 0.0009, 9}, {0, 950, 0}, {0, 995, 1}, {-1, 1, 2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetRangeLeadingDigit(c.min, c.max), c.digit) << c.min << ".." << c.max;
}

}  // namespace
}  // namespace orvale
