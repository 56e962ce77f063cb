#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "app/analysis/PolygonMaskFill.h"

namespace orvale {
namespace {

double Round(double v) { return std::nearbyint(v); }

// The triangle rule written out plainly: one triangle at a time, row by row, rows
// beyond the mask left out and span ends clipped to 0 .. width.
void ReferenceTriangle(std::vector<std::uint8_t>& mask, int width, int height, PointD a, PointD b,
                       PointD c, std::uint8_t value) {
  double x[3] = {Round(a.x), Round(b.x), Round(c.x)};
  double y[3] = {Round(a.y), Round(b.y), Round(c.y)};
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 0; i < 2; ++i)
      if (y[i] > y[i + 1]) {
        std::swap(y[i], y[i + 1]);
        std::swap(x[i], x[i + 1]);
        swapped = true;
      }
  }
  auto span = [&](double row, double xa, double xb) {
    xa = std::clamp(xa, 0.0, double(width));
    xb = std::clamp(xb, 0.0, double(width));
    for (int px = int(std::min(xa, xb)); px < int(std::max(xa, xb)); ++px)
      mask[size_t(row) * width + px] = value;
  };
  if (y[0] != y[1] && y[0] != y[2]) {
    const double s1 = (x[0] - x[1]) / (y[0] - y[1]), s2 = (x[0] - x[2]) / (y[0] - y[2]);
    for (double row = std::max(y[0], 0.0); row <= std::min(y[1] - 1, height - 1.0); ++row)
      span(row, Round((row - y[0]) * s1 + x[0]), Round((row - y[0]) * s2 + x[0]));
  }
  if (y[2] != y[1] && y[2] != y[0]) {
    const double s1 = (x[2] - x[0]) / (y[2] - y[0]), s2 = (x[2] - x[1]) / (y[2] - y[1]);
    for (double row = std::max(y[1], 0.0); row <= std::min(y[2], height - 1.0); ++row)
      span(row, Round(x[2] - (y[2] - row) * s1), Round(x[2] - (y[2] - row) * s2));
  }
}

std::vector<std::uint8_t> ReferencePolygon(int width, int height, const std::vector<PointD>& v) {
  std::vector<std::uint8_t> mask(size_t(width) * height, 0);
  for (size_t i = 0; i < v.size(); ++i)
    for (size_t j = i + 1; j < v.size(); ++j)
      for (size_t k = j + 1; k < v.size(); ++k)
        ReferenceTriangle(mask, width, height, v[i], v[j], v[k], 1);
  return mask;
}

std::vector<std::uint8_t> Filled(int width, int height, const std::vector<PointD>& v) {
  std::vector<std::uint8_t> mask(size_t(width) * height, 0);
  FillPolygonMask(mask, width, height, v, 1);
  return mask;
}

TEST(PolygonMaskFill, EqualsTheUnionOfTheTriangleFillsOnRandomPolygons) {
  constexpr int kWidth = 97, kHeight = 64;
  std::mt19937 random(20240607);
  std::uniform_real_distribution<double> x(-30, kWidth + 30), y(-30, kHeight + 30);
  std::uniform_int_distribution<int> halfX(-60, 2 * kWidth + 60), halfY(-60, 2 * kHeight + 60);
  int filled = 0;
  for (int polygon = 0; polygon < 400; ++polygon) {
    const int count = polygon == 0 ? 50 : 3 + int(random() % 14);
    std::vector<PointD> v;
    for (int k = 0; k < count; ++k) {
      switch (random() % 8) {
        case 0:  // on a half pixel: the rounding ties
          v.push_back({halfX(random) / 2.0, halfY(random) / 2.0});
          break;
        case 1:  // far outside the mask
          v.push_back({(random() % 2 ? 1 : -1) * 1E+12, y(random)});
          break;
        case 2:  // on the row of the vertex before, or on the same spot
          v.push_back(k > 0 ? PointD{x(random), v.back().y} : PointD{x(random), y(random)});
          break;
        case 3:
          v.push_back(k > 0 ? v.back() : PointD{x(random), y(random)});
          break;
        default:  // random order makes most outlines concave
          v.push_back({x(random), y(random)});
      }
    }
    const auto expected = ReferencePolygon(kWidth, kHeight, v);
    ASSERT_EQ(Filled(kWidth, kHeight, v), expected) << "polygon " << polygon;
    if (std::count(expected.begin(), expected.end(), 1) > 0) ++filled;
  }
  EXPECT_GT(filled, 300);  // the comparison is not between empty masks
}

TEST(PolygonMaskFill, ClipsRowsBeyondTheMaskInsteadOfFoldingThem) {
  // Wide above the mask, narrowing to a point inside it: row 0 gets only its own span.
  const std::vector<PointD> v{{-100, -50}, {200, -50}, {50, 20}};
  const auto mask = Filled(100, 100, v);
  EXPECT_EQ(mask, ReferencePolygon(100, 100, v));
  // Row 0: round(50 -/+ 20 * 150 / 70) = 7 .. 93, the right end not written.
  for (int x = 0; x < 100; ++x) EXPECT_EQ(mask[x], x >= 7 && x < 93 ? 1 : 0) << x;
  EXPECT_EQ(mask[20 * 100 + 50], 0);  // the apex row has no width
  // A span reaching past the right edge fills the last column.
  const auto wide = Filled(100, 100, {{-10, 10}, {300, 10}, {-10, 90}});
  EXPECT_EQ(wide[10 * 100 + 99], 1);
}

TEST(PolygonMaskFill, FarVerticesFillOnlyTheRowsOfTheMask) {
  // A vertex 1E+12 pixels away: the hull is a long wedge; only the mask's rows are visited.
  const std::vector<PointD> v{{10, 10}, {10, 50}, {1E+12, 30}};
  const auto mask = Filled(200, 100, v);
  EXPECT_EQ(mask, ReferencePolygon(200, 100, v));
  EXPECT_EQ(mask[30 * 200 + 199], 1);
  EXPECT_EQ(mask[5 * 200 + 50], 0);

  // Beyond the coordinates the fill accepts, and not a number: nothing.
  for (double bad : {2E+15, double(INFINITY), double(NAN)}) {
    const auto none = Filled(200, 100, {{10, 10}, {10, 50}, {bad, 30}});
    EXPECT_EQ(std::count(none.begin(), none.end(), 1), 0) << bad;
  }
}

}  // namespace
}  // namespace orvale
