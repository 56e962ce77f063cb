#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "app/analysis/ThreePointShapes.h"

namespace orvale {
namespace {

constexpr double kUntouched = -77;

struct Circle {
  double cx = kUntouched, cy = kUntouched, r = kUntouched;
};

TEST(CircleFrom3Points, CentreAndRadiusForEachChordChoice) {
  const struct { double p[6]; double cx, cy, r; } cases[] = {
      {{1, 0, 0, 1, -1, 0}, 0, 0, 1},   // y1 != y2 != y3
      {{0, 0, 4, 0, 2, 2}, 2, 0, 2},    // y1 == y2
      {{2, 2, 0, 0, 4, 0}, 2, 0, 2},    // y2 == y3
      {{3, 7, 8, 2, 13, 7}, 8, 7, 5},   // shifted off the origin
  };
  for (const auto& c : cases) {
    Circle out;
    ASSERT_TRUE(CircleFrom3Points(c.p[0], c.p[1], c.p[2], c.p[3], c.p[4], c.p[5], out.cx, out.cy,
                                  out.r));
    EXPECT_NEAR(out.cx, c.cx, 1e-12);
    EXPECT_NEAR(out.cy, c.cy, 1e-12);
    EXPECT_NEAR(out.r, c.r, 1e-12);
  }
}

TEST(CircleFrom3Points, NoCircleThroughPointsOnOneLine) {
  const double cases[][6] = {
      {0, 5, 3, 5, 9, 5},     // one row
      {4, 0, 4, 3, 4, 9},     // one column
      {0, 0, 1, 1, 2, 2},     // one slanted line: used to give a centre at infinity
      {0, 0, 3, -1.5, 6, -3},
      {1, 1, 1, 1, 5, 2},     // two clicks on one spot
  };
  for (const auto& p : cases) {
    Circle out;
    EXPECT_FALSE(CircleFrom3Points(p[0], p[1], p[2], p[3], p[4], p[5], out.cx, out.cy, out.r));
    EXPECT_EQ(out.cx, kUntouched);
    EXPECT_EQ(out.r, kUntouched);
  }
}

struct Ellipse {
  double cx = kUntouched, cy = kUntouched, r1 = kUntouched, r2 = kUntouched, angle = kUntouched;
};

bool Fit(const double (&p)[6], Ellipse& e) {
  return EllipseFrom3Points(p[0], p[1], p[2], p[3], p[4], p[5], e.cx, e.cy, e.r1, e.r2, e.angle);
}

TEST(EllipseFrom3Points, AxisAlignedEllipses) {
  Ellipse e;
  ASSERT_TRUE(Fit({-10, 0, 10, 0, 0, 5}, e));  // major axis P1P2, third point P3
  EXPECT_EQ(e.cx, 0.0);
  EXPECT_EQ(e.cy, 0.0);
  EXPECT_EQ(e.r1, 10.0);
  EXPECT_NEAR(e.r2, 5, 1e-12);
  EXPECT_EQ(e.angle, 0.0);

  ASSERT_TRUE(Fit({0, -10, 0, 10, 4, 0}, e));  // vertical axis
  EXPECT_EQ(e.r1, 10.0);
  EXPECT_NEAR(e.r2, 4, 1e-12);
  EXPECT_EQ(e.angle, -1.5707963267948966);
  ASSERT_TRUE(Fit({0, 10, 0, -10, 4, 0}, e));
  EXPECT_EQ(e.angle, 1.5707963267948966);
}

TEST(EllipseFrom3Points, TurnedEllipseThroughAPointOnIt) {
  // Semi-axes 10 and 5, major axis turned by 30 degrees in image coordinates
  // (-30 degrees on screen), centre (20, 30).
  const double a = 10, b = 5, alpha = 30 * 0.017453292519943278, cx = 20, cy = 30;
  const auto onEllipse = [&](double t, double& x, double& y) {
    x = cx + a * std::cos(t) * std::cos(alpha) - b * std::sin(t) * std::sin(alpha);
    y = cy + a * std::cos(t) * std::sin(alpha) + b * std::sin(t) * std::cos(alpha);
  };
  double ax, ay, bx, by, px, py;
  onEllipse(0, ax, ay);
  onEllipse(3.14159265358979, bx, by);
  for (double t : {1.0, 1.5707963267948966, 2.5, -0.7}) {
    onEllipse(t, px, py);
    Ellipse e;
    // The axis ends are found whatever the click order.
    for (const auto& p : {std::array<double, 6>{ax, ay, px, py, bx, by},
                          std::array<double, 6>{px, py, ax, ay, bx, by},
                          std::array<double, 6>{ax, ay, bx, by, px, py}}) {
      ASSERT_TRUE(EllipseFrom3Points(p[0], p[1], p[2], p[3], p[4], p[5], e.cx, e.cy, e.r1, e.r2,
                                     e.angle))
          << t;
      EXPECT_NEAR(e.cx, cx, 1e-12);
      EXPECT_NEAR(e.cy, cy, 1e-12);
      EXPECT_NEAR(e.r1, a, 1e-12);
      EXPECT_NEAR(e.r2, b, 1e-9) << t;
      EXPECT_NEAR(e.angle, -alpha, 1e-12);
    }
  }
}

TEST(EllipseFrom3Points, NoEllipseWithoutFinitePositiveRadii) {
  const double cases[][6] = {
      {0, 5, 3, 5, 9, 5},          // one row
      {4, 0, 4, 3, 4, 9},          // one column
      {0, 0, 10, 5, 12, 6},        // third point on the axis line: zero radius
      {0, 0, 10, 5, 10, 5},        // third point on an axis end: 0 / 0
      {1e308, 0, -1e308, 1, 0, 5}, // infinite axis
  };
  for (const auto& p : cases) {
    Ellipse e;
    EXPECT_FALSE(Fit(p, e)) << p[0] << " " << p[2] << " " << p[4];
    EXPECT_EQ(e.r2, kUntouched);
  }
}

}  // namespace
}  // namespace orvale
