// From shapes to coefficients: the mask and scale built from the user's shapes, fringe
// centres synthesised from known coefficients on that pupil, and the fit.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/app/analysis/ShapesGridTestSupport.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsShape.h"

namespace orvale {
namespace {

constexpr int kWidth = 240, kHeight = 220;
constexpr double kCx = 120, kCy = 110;

// Points on the pupil where the wavefront is a whole number of waves, found along every
// third row and column, with that number as their order.
struct FringeCentres {
  std::vector<double> X, Y, order;
};

FringeCentres SynthesiseFringeCentres(const clsAnalysis& analysis, const ZernikeVector& a) {
  auto wave = [&](double X, double Y) {
    return analysis.EvalZernike((X - analysis.xCenter) * analysis.xScale,
                                (Y - analysis.yCenter) * analysis.yScale, a);
  };
  FringeCentres centres;
  auto scan = [&](auto point, int length) {
    for (double t = 0; t + 0.5 <= length - 1; t += 0.5) {
      const double wa = wave(point(t).x, point(t).y), wb = wave(point(t + 0.5).x, point(t + 0.5).y);
      for (double k = std::ceil(std::min(wa, wb)); k <= std::max(wa, wb); ++k) {
        if (k == wb) continue;        // counted as the next step's start
        double lo = t, hi = t + 0.5;  // bisection on the sign of wave - k
        const bool rising = wb > wa;
        for (int i = 0; i < 60; ++i) {
          const double mid = (lo + hi) / 2;
          const PointD p = point(mid);
          ((wave(p.x, p.y) < k) == rising ? lo : hi) = mid;
        }
        const PointD p = point((lo + hi) / 2);
        const int column = static_cast<int>(std::nearbyint(p.x)),
                  row = static_cast<int>(std::nearbyint(p.y));
        if (analysis.MaskAt(column, row) != clsAnalysis::kMaskPupil) continue;
        centres.X.push_back(p.x);
        centres.Y.push_back(p.y);
        centres.order.push_back(k);
      }
    }
  };
  for (int row = 1; row < kHeight; row += 3)
    scan([row](double t) { return PointD{t, double(row)}; }, kWidth);
  for (int column = 1; column < kWidth; column += 3)
    scan([column](double t) { return PointD{double(column), t}; }, kHeight);
  return centres;
}

TEST(ShapeFit, RecoversKnownCoefficientsOnEachApertureShape) {
  const double pi = 3.141592653589793, tilt = 20 * pi / 180;
  clsShape obstruction = CircleShape(126, 104, 22);
  obstruction.Init(clsShape::kObstruction);
  std::vector<PointD> hexagon;
  for (int k = 0; k < 6; ++k)
    hexagon.push_back(
        {kCx + 100 * std::cos(k * pi / 3 + 0.1), kCy - 100 * std::sin(k * pi / 3 + 0.1)});
  const struct {
    const char* name;
    clsShape aperture;
    bool obstructed;
  } cases[] = {
      {"circle", SavedShape(clsShape::kCircle, {{kCx - 100, kCy - 100}, {kCx + 100, kCy + 100}}),
       false},
      {"ellipse",
       SavedShape(clsShape::kEllipse,
                  {{kCx + 100 * std::cos(tilt), kCy - 100 * std::sin(tilt)},
                   {kCx - 100 * std::cos(tilt), kCy + 100 * std::sin(tilt)},
                   {kCx + 70 * std::cos(tilt + pi / 2), kCy - 70 * std::sin(tilt + pi / 2)}}),
       false},
      {"polygon with an obstruction", SavedShape(clsShape::kPolygon, hexagon), true},
  };

  ZernikeVector truth{};
  const double values[] = {3,   -2,  4,     1.5,  -1,  0.8,  0.5, 1.2,
                           0.3, 0.2, -0.25, 0.15, 0.1, -0.1, 0.12};
  for (int k = 1; k <= 15; ++k) truth[k] = values[k - 1];

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clsShape aperture = c.aperture;
    clsAnalysis analysis;
    ASSERT_TRUE(analysis.CreateMask(kWidth, kHeight));
    ASSERT_TRUE(analysis.UpdateApertureMask(aperture, false));
    if (c.obstructed) {
      ASSERT_TRUE(analysis.UpdateObstructionMask(obstruction, false));
      EXPECT_EQ(analysis.MaskAt(126, 104), clsAnalysis::kMaskObstruction);
    }
    ASSERT_TRUE(analysis.SetScalefactors(aperture));
    EXPECT_NEAR(analysis.xCenter, kCx, 1e-9);
    EXPECT_NEAR(analysis.yCenter, kCy, 1e-9);
    EXPECT_NEAR(1 / analysis.xScale, 100, 1e-9);
    EXPECT_EQ(analysis.ApertureShapeType(), aperture.GetShapeType());

    const FringeCentres centres = SynthesiseFringeCentres(analysis, truth);
    ASSERT_GT(centres.X.size(), 500u);
    std::int32_t points = static_cast<std::int32_t>(centres.X.size());
    std::int32_t terms = 15;
    ZernikeVector fit;
    analysis.FitFringeCenters(points, centres.X, centres.Y, centres.order, terms, fit);
    ASSERT_EQ(terms, 15);
    EXPECT_EQ(points, static_cast<std::int32_t>(centres.X.size()));
    for (int k = 1; k <= 15; ++k) EXPECT_NEAR(fit[k], truth[k], 1e-9) << "coefficient " << k;
  }
}

}  // namespace
}  // namespace orvale
