// The Zernike least-squares fit of the fringe centres.
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/analysis/MathConstants.h"
#include "app/analysis/ZernikeNormalEquations.h"
#include "app/analysis/clsAnalysis.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr std::int32_t kPolygonShape = 3;

// How many terms a number of points can carry when the caller leaves it open.
int TermCountForPoints(std::int64_t points) {
  if (points > 70) return 36;
  if (points > 40) return 24;
  if (points > 25) return 15;
  if (points > 4) return 8;
  return 2;
}

// A pixel index from an image coordinate, or -1 when the coordinate does not round to
// a pixel inside [0, size) (the 1E+308 marker, infinities and NaN included).
std::int64_t PixelIndex(double coordinate, std::int32_t size) {
  const double pixel = RoundHalfEven(coordinate);
  if (!(pixel >= 0.0 && pixel < static_cast<double>(size))) return -1;
  return static_cast<std::int64_t>(pixel);
}

}  // namespace

void clsAnalysis::FitFringeCenters(std::int32_t& NumDataPts, std::span<const double> X,
                                   std::span<const double> Y, std::span<const double> z,
                                   std::int32_t& NumZerToFit, ZernikeVector& ZCoeff) const {
  // A fit that cannot be made leaves no coefficients behind that could pass for one.
  ZCoeff.fill(0.0);
  const std::int64_t given = std::min<std::int64_t>(
      {NumDataPts, static_cast<std::int64_t>(X.size()), static_cast<std::int64_t>(Y.size()),
       static_cast<std::int64_t>(z.size())});
  if (given <= 3 || !MaskAllocated || maskWidth_ <= 1 || maskHeight_ <= 1) {
    NumZerToFit = 0;
    return;
  }

  int terms = NumZerToFit > 0 ? NumZerToFit : TermCountForPoints(given);
  terms = std::min(terms, kZernikeTermCount);
  if (apertureShapeType_ == kPolygonShape) {
    // A polygon that fills its enclosing circle poorly cannot carry the high orders.
    const auto pupil = std::count(mask_.begin(), mask_.end(), kMaskPupil);
    const double circleArea = RoundHalfEven(kPi / (xScale * xScale));
    const double fill = static_cast<double>(pupil) / circleArea;
    if (fill < 0.2)
      terms = std::min(terms, 8);
    else if (fill < 0.4)
      terms = std::min(terms, 15);
    else if (fill < 0.6)
      terms = std::min(terms, 24);
  }

  auto equations = std::make_unique<ZernikeNormalEquations>();
  for (std::int64_t i = 0; i < given; ++i) {
    const std::int64_t column = PixelIndex(X[i], maskWidth_);
    const std::int64_t row = PixelIndex(Y[i], maskHeight_);
    if (column < 0 || row < 0) continue;
    if (mask_[row * maskWidth_ + column] != kMaskPupil) continue;
    const double x = (X[i] - xCenter) * xScale;
    const double y = (Y[i] - yCenter) * yScale;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z[i])) continue;
    equations->Add(x, y, z[i]);
  }

  NumDataPts = equations->PointCount();
  equations->Solve();
  NumZerToFit = equations->Coefficients(terms, ZCoeff) ? terms : 0;
}

}  // namespace orvale
