#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/app/analysis/ShapesGridTestSupport.h"
#include "app/analysis/LineParser.h"
#include "app/analysis/MathConstants.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsShape.h"
#include "platform/runtime/LineInput.h"

namespace orvale {
namespace {

std::int64_t CountMask(const clsAnalysis& analysis, std::uint8_t value) {
  const auto bytes = analysis.MaskBytes();
  return std::count(bytes.begin(), bytes.end(), value);
}

TEST(ShapeMask, UpdatesNeedAMaskOfTheSameDoubling) {
  const clsShape circle = CircleShape(20, 20, 10);
  clsAnalysis analysis;
  EXPECT_FALSE(analysis.UpdateApertureMask(circle, false));  // no mask yet

  ASSERT_TRUE(analysis.CreateMask(0, 5));
  analysis.UpdateApertureMask(circle, false);
  analysis.UpdateObstructionMask(circle, false);
  EXPECT_TRUE(analysis.MaskBytes().empty());

  ASSERT_TRUE(analysis.CreateMask(40, 40));
  EXPECT_FALSE(analysis.UpdateApertureMask(circle, true));
  EXPECT_FALSE(analysis.UpdateObstructionMask(circle, true));
  EXPECT_EQ(CountMask(analysis, clsAnalysis::kMaskOutside), 1600);
}

TEST(ShapeMask, CircleBoundaryBelongsToTheApertureOnly) {
  const clsShape circle = CircleShape(20, 20, 10);
  clsAnalysis analysis;
  ASSERT_TRUE(analysis.CreateMask(40, 40));
  ASSERT_TRUE(analysis.UpdateApertureMask(circle, false));
  EXPECT_EQ(analysis.MaskAt(30, 20), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(31, 20), clsAnalysis::kMaskOutside);
  // The whole pixels with x^2 + y^2 <= 100: 317 of them, 12 on the circle itself.
  EXPECT_EQ(CountMask(analysis, clsAnalysis::kMaskPupil), 317);

  ASSERT_TRUE(analysis.UpdateObstructionMask(circle, false));
  EXPECT_EQ(analysis.MaskAt(30, 20), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(29, 20), clsAnalysis::kMaskObstruction);
  EXPECT_EQ(analysis.MaskAt(26, 28), clsAnalysis::kMaskPupil);
  EXPECT_EQ(CountMask(analysis, clsAnalysis::kMaskObstruction), 305);

  // Separate half-extents, and an obstruction reaching beyond the aperture.
  ASSERT_TRUE(analysis.CreateMask(40, 40));
  clsShape oval = CircleShape(20, 20, 10);
  oval.SetRadii(10, 5);
  ASSERT_TRUE(analysis.UpdateApertureMask(oval, false));
  EXPECT_EQ(analysis.MaskAt(20, 25), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(20, 26), clsAnalysis::kMaskOutside);
  ASSERT_TRUE(analysis.UpdateObstructionMask(CircleShape(3, 20, 6), false));
  EXPECT_EQ(analysis.MaskAt(0, 20), clsAnalysis::kMaskObstruction);
  EXPECT_EQ(analysis.MaskAt(11, 20), clsAnalysis::kMaskPupil);
}

TEST(ShapeMask, DoubledMaskTakesTheShapeAtTwiceItsSize) {
  clsAnalysis analysis;
  ASSERT_TRUE(analysis.CreateMask(80, 80));
  analysis.MaskDoubleSize = true;
  ASSERT_TRUE(analysis.UpdateApertureMask(CircleShape(20, 20, 10), true));
  EXPECT_EQ(analysis.MaskAt(60, 40), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(61, 40), clsAnalysis::kMaskOutside);
  EXPECT_EQ(CountMask(analysis, clsAnalysis::kMaskPupil), 1257);  // pixels within radius 20

  ASSERT_TRUE(analysis.CreateMask(80, 80));
  analysis.MaskDoubleSize = true;
  ASSERT_TRUE(
      analysis.UpdateApertureMask(PolygonShape({{5, 5}, {25, 5}, {25, 25}, {5, 25}}), true));
  EXPECT_EQ(CountMask(analysis, clsAnalysis::kMaskPupil), 40 * 40);
  EXPECT_EQ(analysis.MaskAt(10, 10), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(49, 49), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(50, 49), clsAnalysis::kMaskOutside);
}

TEST(ShapeMask, RotatedEllipseFollowsItsAngle) {
  clsAnalysis analysis;
  ASSERT_TRUE(analysis.CreateMask(100, 100));
  // Major axis of 30 turned 45 degrees counter-clockwise on the screen: up and right.
  ASSERT_TRUE(analysis.UpdateApertureMask(EllipseShape(50, 50, 30, 10, kPi / 4), false));
  EXPECT_EQ(analysis.MaskAt(70, 30), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(30, 70), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(70, 70), clsAnalysis::kMaskOutside);
  EXPECT_EQ(analysis.MaskAt(57, 57), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(58, 58), clsAnalysis::kMaskOutside);
  EXPECT_EQ(analysis.MaskAt(50, 50), clsAnalysis::kMaskPupil);

  // Unturned: the ends of both axes are aperture, not obstruction.
  ASSERT_TRUE(analysis.CreateMask(100, 100));
  const clsShape ellipse = EllipseShape(50, 50, 30, 10, 0);
  ASSERT_TRUE(analysis.UpdateApertureMask(ellipse, false));
  ASSERT_TRUE(analysis.UpdateObstructionMask(ellipse, false));
  for (auto [x, y] : {std::pair{80, 50}, {20, 50}, {50, 60}, {50, 40}})
    EXPECT_EQ(analysis.MaskAt(x, y), clsAnalysis::kMaskPupil) << x << "," << y;
  EXPECT_EQ(analysis.MaskAt(79, 50), clsAnalysis::kMaskObstruction);
  EXPECT_EQ(analysis.MaskAt(81, 50), clsAnalysis::kMaskOutside);
  EXPECT_EQ(analysis.MaskAt(50, 61), clsAnalysis::kMaskOutside);
}

// The ellipse rule written out for every pixel: the distance from the centre against
// the ellipse radius in the pixel's direction.
std::vector<std::uint8_t> ReferenceEllipseMask(int width, int height, double cx, double cy,
                                               double r1, double r2, double angle,
                                               double obstructionScale) {
  std::vector<std::uint8_t> mask(size_t(width) * height, 0);
  for (int pass = 0; pass < 2; ++pass) {
    const double k = pass == 0 ? 1 : obstructionScale;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const double dx = x - cx, dy = y - cy;
        const double rho = std::sqrt(dx * dx + dy * dy);
        const double phi = dx != 0 ? -std::atan(dy / dx) : dy <= 0 ? kHalfPi : -kHalfPi;
        const double c = std::cos(phi - angle), s = std::sin(phi - angle);
        const double a = r1 * k, b = r2 * k;
        const double rhoE = a * b / std::sqrt(b * b * (c * c) + a * a * (s * s));
        if (pass == 0 ? rho <= rhoE : rho < rhoE) mask[size_t(y) * width + x] = pass + 1;
      }
  }
  return mask;
}

TEST(ShapeMask, RotatedEllipseMatchesThePolarRuleAtEveryPixel) {
  constexpr int kWidth = 90, kHeight = 70;
  std::mt19937 random(77);
  std::uniform_real_distribution<double> unit(0, 1);
  struct Ellipse {
    double cx, cy, r1, r2, angle;
  };
  std::vector<Ellipse> ellipses{{45, 35, 30, 10, 0},     {45, 35, 30, 10, kHalfPi},
                                {45, 35, 20, 20, 0.3},   {44.5, 35.5, 25, 15, kPi / 4},
                                {0, 0, 50, 5, -kPi / 3}, {45, 35, 0.5, 0.5, 1}};
  for (int k = 0; k < 60; ++k)
    ellipses.push_back({-10 + 110 * unit(random), -10 + 90 * unit(random), 0.5 + 60 * unit(random),
                        0.5 + 60 * unit(random), -kPi + 2 * kPi * unit(random)});
  for (const Ellipse& e : ellipses) {
    clsAnalysis analysis;
    ASSERT_TRUE(analysis.CreateMask(kWidth, kHeight));
    ASSERT_TRUE(analysis.UpdateApertureMask(EllipseShape(e.cx, e.cy, e.r1, e.r2, e.angle), false));
    ASSERT_TRUE(analysis.UpdateObstructionMask(
        EllipseShape(e.cx, e.cy, e.r1 / 2, e.r2 / 2, e.angle), false));
    const auto expected =
        ReferenceEllipseMask(kWidth, kHeight, e.cx, e.cy, e.r1, e.r2, e.angle, 0.5);
    ASSERT_TRUE(std::ranges::equal(analysis.MaskBytes(), expected))
        << e.cx << " " << e.cy << " " << e.r1 << " " << e.r2 << " " << e.angle;
  }
}

TEST(ShapeMask, ConcavePolygonFillsItsConvexHull) {
  clsAnalysis notched, square;
  ASSERT_TRUE(notched.CreateMask(100, 100));
  ASSERT_TRUE(square.CreateMask(100, 100));
  ASSERT_TRUE(notched.UpdateApertureMask(
      PolygonShape({{10, 10}, {50, 40}, {90, 10}, {90, 90}, {10, 90}}), false));
  ASSERT_TRUE(
      square.UpdateApertureMask(PolygonShape({{10, 10}, {90, 10}, {90, 90}, {10, 90}}), false));
  EXPECT_TRUE(std::ranges::equal(notched.MaskBytes(), square.MaskBytes()));
  // Rows 10 to 89 from column 10 to 89: the far ends are not written.
  EXPECT_EQ(CountMask(square, clsAnalysis::kMaskPupil), 80 * 80);
  EXPECT_EQ(square.MaskAt(89, 89), clsAnalysis::kMaskPupil);
  EXPECT_EQ(square.MaskAt(90, 50), clsAnalysis::kMaskOutside);
  EXPECT_EQ(square.MaskAt(50, 90), clsAnalysis::kMaskOutside);
}

TEST(ShapeMask, PolygonReachingFarBeyondTheImageIsClipped) {
  clsAnalysis analysis;
  ASSERT_TRUE(analysis.CreateMask(100, 100));
  // Wide above the image and narrowing to a point inside: row 0 keeps its own width
  // instead of taking the rows above it.
  ASSERT_TRUE(
      analysis.UpdateApertureMask(PolygonShape({{-100, -50}, {200, -50}, {50, 20}}), false));
  for (int x = 0; x < 100; ++x) EXPECT_EQ(analysis.MaskAt(x, 0), x >= 7 && x < 93 ? 1 : 0) << x;

  // A vertex at 1E+12: no endless row loop, the part inside the image fills.
  ASSERT_TRUE(analysis.CreateMask(100, 100));
  clsShape far = PolygonShape({{10, 10}, {10, 60}, {1E+12, 35}});
  ASSERT_TRUE(analysis.UpdateApertureMask(far, false));
  EXPECT_EQ(analysis.MaskAt(99, 35), clsAnalysis::kMaskPupil);
  EXPECT_EQ(analysis.MaskAt(50, 5), clsAnalysis::kMaskOutside);
  EXPECT_TRUE(analysis.SetScalefactors(far));
  EXPECT_GT(analysis.xScale, 0);
}

std::string PolygonSection(const std::string& vertices, int count) {
  return "ShapeType, 3 \r\nNumVertices, " + std::to_string(count) + " \r\n" + vertices +
         "EndShape\r\n";
}

clsShape ReadShape(const std::string& section) {
  clsShape shape;
  shape.Init(clsShape::kAperture);
  StringLineSource file(section);
  clsParser parser;
  EXPECT_TRUE(shape.LoadFromFile(file, parser));
  return shape;
}

TEST(ShapeMask, ShapesWithoutAreaGiveNoMaskAndNoScale) {
  clsShape none;
  clsShape flatCircle = CircleShape(20, 20, 10);
  flatCircle.SetRadii(10, 0);
  const struct {
    const char* name;
    clsShape shape;
  } cases[] = {
      {"no shape", none},
      {"circle of no height", flatCircle},
      {"centre not a number", CircleShape(NAN, 20, 10)},
      {"ellipse of no width", EllipseShape(20, 20, 0, 5, 0.3)},
      {"two vertices", ReadShape(PolygonSection("Vertex, 1, 1\r\nVertex, 30, 9\r\n", 2))},
      {"vertices on one line", PolygonShape({{1, 1}, {11, 6}, {21, 11}, {31, 16}})},
      {"vertices on one row", PolygonShape({{1, 5}, {11, 5}, {21, 5}})},
      {"vertex beyond the fill's range", PolygonShape({{1, 1}, {30, 1}, {1, 3E+15}})},
  };
  for (const auto& c : cases) {
    clsAnalysis analysis;
    ASSERT_TRUE(analysis.CreateMask(40, 40));
    clsShape good = CircleShape(20, 20, 10);
    ASSERT_TRUE(analysis.SetScalefactors(good));
    clsShape shape = c.shape;
    EXPECT_FALSE(analysis.UpdateApertureMask(shape, false)) << c.name;
    EXPECT_FALSE(analysis.UpdateObstructionMask(shape, false)) << c.name;
    EXPECT_EQ(CountMask(analysis, clsAnalysis::kMaskOutside), 1600) << c.name;
    // The centre and scale of the earlier aperture do not live on.
    EXPECT_FALSE(analysis.SetScalefactors(shape)) << c.name;
    EXPECT_EQ(analysis.xCenter, 0) << c.name;
    EXPECT_EQ(analysis.yCenter, 0) << c.name;
    EXPECT_EQ(analysis.xScale, 0) << c.name;
    EXPECT_EQ(analysis.yScale, 0) << c.name;
    EXPECT_EQ(analysis.ApertureShapeType(), 0) << c.name;
  }
}

TEST(Scalefactors, FromEachShapeType) {
  clsAnalysis analysis;
  clsShape circle = CircleShape(20, 30, 10);
  circle.SetRadii(10, 8);
  ASSERT_TRUE(analysis.SetScalefactors(circle));
  EXPECT_EQ(analysis.xCenter, 20);
  EXPECT_EQ(analysis.yCenter, 30);
  EXPECT_EQ(analysis.xScale, 0.1);
  EXPECT_EQ(analysis.yScale, 0.125);
  EXPECT_EQ(analysis.ApertureShapeType(), clsShape::kCircle);

  clsShape ellipse = EllipseShape(40, 50, 10, 30, 0.5);
  ASSERT_TRUE(analysis.SetScalefactors(ellipse));
  EXPECT_EQ(analysis.xCenter, 40);
  EXPECT_EQ(analysis.xScale, 1.0 / 30);
  EXPECT_EQ(analysis.yScale, 1.0 / 30);
  EXPECT_EQ(analysis.ApertureShapeType(), clsShape::kEllipse);

  // A square: the circle through three corners holds the fourth. The polygon takes its
  // radius.
  clsShape square = PolygonShape({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {50, 20}});
  ASSERT_TRUE(analysis.SetScalefactors(square));
  EXPECT_NEAR(analysis.xCenter, 50, 1e-12);
  EXPECT_NEAR(analysis.yCenter, 50, 1e-12);
  EXPECT_NEAR(1 / analysis.xScale, std::sqrt(5000.0), 1e-12);
  EXPECT_EQ(analysis.xScale, analysis.yScale);
  double r1 = 0, r2 = 0;
  square.GetRadii(r1, r2);
  EXPECT_EQ(r1, 1 / analysis.xScale);
  EXPECT_EQ(r2, r1);
  EXPECT_EQ(analysis.ApertureShapeType(), clsShape::kPolygon);

  // An obtuse triangle: its circumcircle, not the smaller circle on its longest side.
  clsShape obtuse = PolygonShape({{0, 0}, {100, 0}, {50, 10}});
  ASSERT_TRUE(analysis.SetScalefactors(obtuse));
  EXPECT_NEAR(analysis.xCenter, 50, 1e-9);
  EXPECT_NEAR(analysis.yCenter, -120, 1e-9);  // (50^2 + 120^2) = 130^2
  EXPECT_NEAR(1 / analysis.xScale, 130, 1e-9);
}

class TrimMaskTest : public ::testing::Test {
 protected:
  // A 40 x 30 pupil block at columns 10..49 and rows 5..34 of a 60 x 40 mask, its
  // left edge pixel on row 20 an obstruction pixel.
  void SetUp() override {
    ASSERT_TRUE(analysis_.CreateMask(60, 40));
    auto bytes = analysis_.MaskBytes();
    for (int y = 5; y < 35; ++y)
      for (int x = 10; x < 50; ++x) bytes[y * 60 + x] = clsAnalysis::kMaskPupil;
    bytes[20 * 60 + 10] = clsAnalysis::kMaskObstruction;
  }
  clsAnalysis analysis_;
};

TEST_F(TrimMaskTest, PeelsThreePercentOfTheMeanRadiusFromEveryLine) {
  const struct {
    double xRadius, yRadius;
    int peeled;
  } cases[] = {{150, 150, 4}, {100, 100, 3}, {90, 110, 3}, {16, 16, 0}, {17, 17, 1}};
  for (const auto& c : cases) {
    SetUp();
    analysis_.xScale = 1 / c.xRadius;
    analysis_.yScale = 1 / c.yRadius;
    analysis_.TrimMask();
    EXPECT_TRUE(analysis_.MaskTrimmed);
    const int n = c.peeled;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x) {
        const bool kept = x >= 10 + n && x < 50 - n && y >= 5 + n && y < 35 - n;
        const std::uint8_t expected = !kept                  ? clsAnalysis::kMaskOutside
                                      : (x == 10 && y == 20) ? clsAnalysis::kMaskObstruction
                                                             : clsAnalysis::kMaskPupil;
        ASSERT_EQ(analysis_.MaskAt(x, y), expected)
            << "radius " << c.xRadius << " at " << x << "," << y;
      }
  }
}

TEST_F(TrimMaskTest, CountsOnlyNonzeroPixelsAndNeedsAMask) {
  // A gap in a row is skipped, not counted: the scan goes on past it.
  auto bytes = analysis_.MaskBytes();
  bytes[10 * 60 + 11] = clsAnalysis::kMaskOutside;
  analysis_.xScale = analysis_.yScale = 0.01;  // 3 pixels
  analysis_.TrimMask();
  EXPECT_EQ(analysis_.MaskAt(13, 10), clsAnalysis::kMaskOutside);
  EXPECT_EQ(analysis_.MaskAt(14, 10), clsAnalysis::kMaskPupil);

  // Without a pupil scale every line is trimmed whole rather than overflowing a count.
  SetUp();
  analysis_.xScale = analysis_.yScale = 0;
  analysis_.TrimMask();
  EXPECT_EQ(CountMask(analysis_, clsAnalysis::kMaskOutside), 60 * 40);

  clsAnalysis none;
  none.TrimMask();
  EXPECT_FALSE(none.MaskTrimmed);
}

}  // namespace
}  // namespace orvale
