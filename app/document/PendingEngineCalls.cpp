#include "app/document/PendingEngineCalls.h"

#include <algorithm>

#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"
#include "app/analysis/clsGrid.h"
#include "app/analysis/clsShape.h"

namespace orvale {

namespace {

// Stand-in rasteriser: axis-aligned ellipses (shape type 1) only.
void FillCircle(clsAnalysis& analysis, const clsShape& shape, std::uint8_t value, bool inclusive,
                bool doubleSize) {
  if (shape.GetShapeType() != clsShape::kCircle) return;
  const double factor = doubleSize ? 2.0 : 1.0;
  double cx = 0, cy = 0, r1 = 0, r2 = 0;
  shape.GetCenter(cx, cy);
  shape.GetRadii(r1, r2);
  cx *= factor;
  cy *= factor;
  r1 *= factor;
  r2 *= factor;
  const std::int32_t width = analysis.MaskWidth();
  const std::int32_t height = analysis.MaskHeight();
  std::span<std::uint8_t> mask = analysis.MaskBytes();
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const double dx = (x - cx) / r1;
      const double dy = (y - cy) / r2;
      const double d = dx * dx + dy * dy;
      if (inclusive ? d <= 1.0 : d < 1.0) {
        mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
             static_cast<std::size_t>(x)] = value;
      }
    }
  }
}

}  // namespace

void ApplyShapesToMask(clsAnalysis& analysis, clsShape& aperture, const clsShape& obstruction,
                       bool doubleSize) {
  if (!analysis.MaskAllocated || doubleSize != analysis.MaskDoubleSize) return;
  FillCircle(analysis, aperture, clsAnalysis::kMaskPupil, true, doubleSize);
  FillCircle(analysis, obstruction, clsAnalysis::kMaskObstruction, false, doubleSize);
  const std::int32_t type = aperture.GetShapeType();
  if (type == clsShape::kCircle || type == clsShape::kEllipse) {
    double cx = 0, cy = 0, r1 = 0, r2 = 0;
    aperture.GetCenter(cx, cy);
    aperture.GetRadii(r1, r2);
    if (type == clsShape::kEllipse) r1 = r2 = std::max(r1, r2);
    analysis.xCenter = cx;
    analysis.yCenter = cy;
    analysis.xScale = 1.0 / r1;
    analysis.yScale = 1.0 / r2;
  }
  analysis.SetApertureShapeType(type);
}

void TrimPupilMask(clsAnalysis& analysis) { analysis.MaskTrimmed = true; }

void EvaluateGrid(const clsAnalysis& /*analysis*/, const ZernikeVector& /*coefficients*/,
                  clsGrid& /*grid*/) {}

void TraceFringes(clsAnalysis& /*analysis*/, clsFringes& /*fringes*/,
                  std::span<const std::uint8_t> /*image*/, std::int32_t /*width*/,
                  std::int32_t /*height*/, std::int32_t /*direction*/,
                  std::int32_t /*density*/) {}

}  // namespace orvale
