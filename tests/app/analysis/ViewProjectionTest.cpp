#include <gtest/gtest.h>

#include <vector>

#include "app/analysis/ViewProjection.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

TEST(ViewProjection, ParallelProjection) {
  PointD q;
  // Looking straight down: screen x is the y axis, screen y the x axis.
  MakeViewMatrix({1, 2, 3}, 0, 0, 0, q);
  EXPECT_EQ(q.x, 2.0);
  EXPECT_EQ(q.y, 1.0);
  // From the side (theta 90, phi 90): screen x is -x, screen y is -z (high z on top).
  // The program's degree factor leaves cos(90) at about 1.5E-15.
  for (double r : {0.0, -5.0}) {
    MakeViewMatrix({1, 2, 3}, r, 90, 90, q);
    EXPECT_NEAR(q.x, -1, 1e-14);
    EXPECT_NEAR(q.y, -3, 1e-14);
  }
}

TEST(ViewProjection, PerspectiveFromTheEye) {
  PointD q;
  // Eye at (0, 0, 10) above the plane z = 0: a point at height 3 appears 10/7 times
  // as far from the axis.
  MakeViewMatrix({1, 2, 3}, 10, 0, 0, q);
  EXPECT_NEAR(q.x, 20.0 / 7, 1e-14);
  EXPECT_NEAR(q.y, 10.0 / 7, 1e-14);
  // Points in the plane through the origin stay where the parallel view puts them.
  MakeViewMatrix({4, -2, 0}, 10, 0, 0, q);
  EXPECT_NEAR(q.x, -2, 1e-15);
  EXPECT_NEAR(q.y, 4, 1e-15);
  // A point level with the eye has no image.
  MakeViewMatrix({5, 5, 10}, 10, 0, 0, q);
  EXPECT_EQ(q.x, kNotGivenDouble);
  EXPECT_EQ(q.y, kNotGivenDouble);
}

TEST(ViewProjection, ArrayKeepsItsSubscripts) {
  const std::vector<Point3D> p{{9, 9, 9}, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 1, 1}};
  std::vector<PointD> q(p.size(), PointD{-1, -1});
  RotatePoints3D(p, 2, 0, 0, 0, q, 2);
  EXPECT_EQ(q[1].x, -1.0);
  EXPECT_EQ(q[2].x, 5.0);
  EXPECT_EQ(q[2].y, 4.0);
  EXPECT_EQ(q[3].x, 8.0);
  EXPECT_EQ(q[3].y, 7.0);
  EXPECT_EQ(q[4].x, -1.0);

  // A count running past the arrays maps what is there and writes nothing beyond.
  std::vector<PointD> shortOut(4, PointD{-1, -1});
  RotatePoints3D(p, 100, 0, 0, 0, shortOut, 3);
  EXPECT_EQ(shortOut[3].x, 8.0);
  EXPECT_EQ(shortOut[2].x, -1.0);
}

}  // namespace
}  // namespace orvale
