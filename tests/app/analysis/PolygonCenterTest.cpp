#include <gtest/gtest.h>

#include <vector>

#include "app/analysis/PolygonCenter.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

// Vertices as the callers keep them: element 0 unused.
std::vector<PointD> Polygon(std::initializer_list<PointD> vertices) {
  std::vector<PointD> p{{-999, -999}};
  p.insert(p.end(), vertices);
  return p;
}

TEST(PolygonCenter, AreaWeightedCentroid) {
  PointD c;
  const auto square = Polygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
  PolygonCenter(c, square, 4);
  EXPECT_NEAR(c.x, 2, 1e-14);
  EXPECT_NEAR(c.y, 2, 1e-14);

  // An L of a 6x2 and a 2x4 rectangle: (12 * (3, 1) + 8 * (1, 4)) / 20.
  const auto ell = Polygon({{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 6}, {0, 6}});
  PolygonCenter(c, ell, 6);
  EXPECT_NEAR(c.x, 2.2, 1e-14);
  EXPECT_NEAR(c.y, 2.2, 1e-14);

  // Clockwise order gives the same centre; only the first n vertices count.
  const auto triangle = Polygon({{0, 0}, {0, 3}, {3, 0}, {100, 100}});
  PolygonCenter(c, triangle, 3);
  EXPECT_NEAR(c.x, 1, 1e-15);
  EXPECT_NEAR(c.y, 1, 1e-15);
}

TEST(PolygonCenter, NoCentreGivesTheMarker) {
  const auto two = Polygon({{0, 0}, {4, 4}});
  const auto flat = Polygon({{0, 0}, {2, 2}, {4, 4}});
  const struct { const std::vector<PointD>& p; std::int32_t n; } cases[] = {
      {two, 2}, {flat, 3}, {two, 0}, {two, -5},
      {flat, 7},  // more vertices than given
  };
  for (const auto& c : cases) {
    PointD center{1, 1};
    PolygonCenter(center, c.p, c.n);
    EXPECT_EQ(center.x, kNotGivenDouble) << c.n;
    EXPECT_EQ(center.y, kNotGivenDouble) << c.n;
  }
}

}  // namespace
}  // namespace orvale
