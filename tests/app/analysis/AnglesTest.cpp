#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/analysis/Angles.h"
#include "app/analysis/MathConstants.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

constexpr double kQuarterPi = 0.7853981633974483;

TEST(Angles, ArcTan2CoversAllQuadrants) {
  EXPECT_NEAR(ArcTan2(1, 1), kQuarterPi, 1e-15);
  EXPECT_NEAR(ArcTan2(-1, 1), 3 * kQuarterPi, 1e-14);
  EXPECT_NEAR(ArcTan2(-1, -1), -3 * kQuarterPi, 1e-14);
  EXPECT_NEAR(ArcTan2(1, -1), -kQuarterPi, 1e-15);
  // The program's pi, not the exact one.
  EXPECT_EQ(ArcTan2(-1, 1), std::atan(-1.0) + kPi);
}

TEST(Angles, LineAngleIsFoldedOnScreenAngle) {
  EXPECT_EQ(LineAngle({0, 5}, {10, 5}), 0.0);
  EXPECT_EQ(LineAngle({10, 5}, {0, 5}), 0.0);
  EXPECT_EQ(LineAngle({3, 0}, {3, 10}), kHalfPi);
  EXPECT_EQ(LineAngle({3, 10}, {3, 0}), -kHalfPi);
  // Rising to the right on screen (image y falls): +45 degrees either way round.
  EXPECT_NEAR(LineAngle({0, 0}, {10, -10}), kQuarterPi, 1e-15);
  EXPECT_NEAR(LineAngle({10, -10}, {0, 0}), kQuarterPi, 1e-15);
  EXPECT_NEAR(LineAngle({0, 0}, {10, 10}), -kQuarterPi, 1e-15);
  EXPECT_EQ(LineAngle({2, 2}, {2, 2}), 0.0);
}

TEST(Angles, LineAngleLTakesWholeNumbersWithoutOverflow) {
  EXPECT_EQ(LineAngleL({3, 0}, {3, 10}), kHalfPi);
  EXPECT_NEAR(LineAngleL({0, 0}, {10, -10}), kQuarterPi, 1e-15);
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  const double a = LineAngleL({kMin, kMin}, {kMax, kMax});
  EXPECT_NEAR(a, -kQuarterPi, 1e-15);
}

TEST(Angles, LineAngleQuadrantIsDirectionFromSecondToFirst) {
  EXPECT_EQ(LineAngleQuadrant({0, 0}, {10, 0}), kPi);
  EXPECT_EQ(LineAngleQuadrant({10, 0}, {0, 0}), 0.0);
  EXPECT_EQ(LineAngleQuadrant({0, -10}, {0, 0}), kHalfPi);  // straight up on screen
  EXPECT_EQ(LineAngleQuadrant({0, 10}, {0, 0}), -kHalfPi);
  EXPECT_NEAR(LineAngleQuadrant({-10, -10}, {0, 0}), 3 * kQuarterPi, 1e-14);
  EXPECT_NEAR(LineAngleQuadrant({-10, 10}, {0, 0}), -3 * kQuarterPi, 1e-14);
  EXPECT_EQ(LineAngleQuadrant({4, 4}, {4, 4}), 0.0);
}

TEST(Angles, VertexAngleBetweenTwoArms) {
  const PointD v{5, 5};
  EXPECT_NEAR(VertexAngle({15, 5}, {5, -5}, v), -kHalfPi, 1e-15);
  EXPECT_NEAR(VertexAngle({5, -5}, {15, 5}, v), kHalfPi, 1e-15);
  // Across the negative x axis the difference leaves (-pi, pi].
  EXPECT_NEAR(VertexAngle({-5, 4}, {-5, 6}, v), 2 * kPi - 2 * std::atan(0.1), 1e-14);
  // No angle at the vertex itself: the not-given marker, which callers test for.
  EXPECT_EQ(VertexAngle({5, 5}, {15, 5}, v), kNotGivenDouble);
  EXPECT_EQ(VertexAngle({15, 5}, {5, 5}, v), kNotGivenDouble);
}

}  // namespace
}  // namespace orvale
