#include <gtest/gtest.h>

#include <vector>

#include "app/document/ColorRamps.h"

namespace orvale {
namespace {

using gdi::RGB;

struct RampCase {
  double value;
  gdi::Color expected;
};

TEST(RainbowColorTest, BreakpointsRunFromBlueThroughCyanGreenYellowToRed) {
  // Limits 0..6 put the breakpoints lo + k range / 6 on whole numbers.
  const std::vector<RampCase> cases = {
      {0.0, RGB(0, 0, 255)},   {0.5, RGB(0, 0, 255)},   {1.0, RGB(0, 0, 255)},
      {1.2, RGB(0, 51, 255)},  {2.0, RGB(0, 255, 255)}, {3.0, RGB(0, 255, 0)},
      {4.0, RGB(255, 255, 0)}, {4.8, RGB(255, 51, 0)},  {5.0, RGB(255, 0, 0)},
      {6.0, RGB(255, 0, 0)},
  };
  for (const RampCase& c : cases) {
    double value = c.value;
    EXPECT_EQ(RainbowColor(value, 0, 6), c.expected) << c.value;
    double swapped = c.value;
    EXPECT_EQ(RainbowColor(swapped, 6, 0), c.expected) << "swapped " << c.value;
  }
}

TEST(RainbowColorTest, ClampsTheCallersValueInPlace) {
  double low = -3;
  EXPECT_EQ(RainbowColor(low, 2, -1), RGB(0, 0, 255));
  EXPECT_EQ(low, -1);
  double high = 9;
  EXPECT_EQ(RainbowColor(high, -1, 2), RGB(255, 0, 0));
  EXPECT_EQ(high, 2);
}

TEST(RainbowColorTest, AnEmptyRangeGivesBlackAndLeavesTheValue) {
  double value = 5;
  EXPECT_EQ(RainbowColor(value, 2, 2), 0u);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(GrayColor(value, 2, 2), 0u);
  EXPECT_EQ(value, 5);
}

TEST(GrayColorTest, RunsFromWhiteToGrey55) {
  const std::vector<RampCase> cases = {
      {0.0, RGB(255, 255, 255)}, {0.9, RGB(255, 255, 255)}, {3.0, RGB(155, 155, 155)},
      {5.0, RGB(55, 55, 55)},    {6.0, RGB(55, 55, 55)},    {12.0, RGB(55, 55, 55)},
  };
  for (const RampCase& c : cases) {
    double value = c.value;
    EXPECT_EQ(GrayColor(value, 6, 0), c.expected) << c.value;
  }
  double clamped = 12;
  GrayColor(clamped, 0, 6);
  EXPECT_EQ(clamped, 6);
}

}  // namespace
}  // namespace orvale
