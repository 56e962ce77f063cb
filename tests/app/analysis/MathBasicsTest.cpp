#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "app/analysis/MathBasics.h"

namespace orvale {
namespace {

TEST(MathBasics, ComparisonsAndSwaps) {
  EXPECT_EQ(MaxD(1.5, 2.5), 2.5);
  EXPECT_EQ(MinD(1.5, 2.5), 1.5);
  EXPECT_EQ(MaxL(-3, 7), 7);
  EXPECT_EQ(MinL(-3, 7), -3);
  // A not-a-number first argument is kept, as the comparisons say.
  EXPECT_TRUE(std::isnan(MaxD(std::nan(""), 1)));
  EXPECT_EQ(MinD(std::nan(""), 1), 1.0);
  std::int32_t a = 1, b = 2;
  SwapL(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
  double x = 1.5, y = -2.5;
  SwapD(x, y);
  EXPECT_EQ(x, -2.5);
  EXPECT_EQ(y, 1.5);
}

TEST(MathBasics, Log10UsesTheProgramsLn10) {
  // Exact powers of ten come out just below their exponent.
  EXPECT_EQ(Log10(100), 1.9999999999999964);
  EXPECT_LT(Log10(10), 1.0);
  EXPECT_EQ(std::floor(Log10(1000)), 2.0);
  EXPECT_EQ(Log10(1), 0.0);
  EXPECT_EQ(Log10Long(100), Log10(100));
  EXPECT_TRUE(std::isinf(Log10(0)));
}

TEST(MathBasics, DistanceAndCommaToPoint) {
  EXPECT_EQ(Distance({1, 2}, {4, 6}), 5.0);
  EXPECT_EQ(Distance({1, 2}, {1, 2}), 0.0);
  std::string s = "1,5;-2,25";
  CommaToPoint(s);
  EXPECT_EQ(s, "1.5;-2.25");
}

TEST(MathBasics, GcdOfMagnitudes) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const struct { std::int32_t a, b; std::int64_t gcd; } cases[] = {
      {12, 18, 6},     {0, 7, 7},      {7, 0, 7},          {0, 0, 0},
      {17, 5, 1},      {450, 300, 150}, {64, 48, 16},      {1, 1, 1},
      // Negative arguments used to loop for ever.
      {-12, 18, 6},    {12, -18, 6},   {-12, -18, 6},      {-7, 0, 7},
      {kMin, 6, 2},    {kMin, 0, 2147483648LL}, {kMin, kMin, 2147483648LL},
      {kMax, kMin, 1}, {kMax, kMax, kMax},
  };
  for (const auto& c : cases) EXPECT_EQ(GCD(c.a, c.b), c.gcd) << c.a << ", " << c.b;
}

}  // namespace
}  // namespace orvale
