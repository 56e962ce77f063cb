// Mesh, projection, traversal order, levels and automatic scaling of the surface plot.
// The drawing is in SurfaceDrawing.cpp.
#include "app/plots/clsSurfacePlot.h"

#include <algorithm>
#include <cmath>

#include "app/analysis/AxisLimits.h"
#include "app/analysis/ViewProjection.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// Order in which the mesh points are visited for a traversal angle q (0..359 degrees):
// rows from the first or the last, and within a row columns from the first or the last.
// Visiting toward the eye (painter's order) or away from it (horizon) is a choice of q.
struct Traversal {
  bool rowsFromLast;
  bool columnsFromLast;
};

Traversal TraversalFor(std::int32_t q) {
  if (q < 90) return {false, true};
  if (q < 180) return {false, false};
  if (q < 270) return {true, false};
  return {true, true};
}

}  // namespace

clsSurfacePlot::clsSurfacePlot() {
  ScaleLimit = kNotGivenDouble;
  ClosedSurface = false;
  FillPolygons = true;
  DrawMeshWithFill = true;
  SetPlotDefaults();
}

void clsSurfacePlot::SetPlotDefaults() {
  PenStyle = 0;
  PenWidth = 1;
}

bool clsSurfacePlot::CreateMesh(std::span<const double> X, std::span<const double> Y,
                                std::span<const double> z, std::int32_t XSize, std::int32_t YSize,
                                bool UseXYData) {
  const std::int64_t n = static_cast<std::int64_t>(XSize) * YSize;
  const auto tooShort = [n](std::span<const double> values) {
    return static_cast<std::int64_t>(values.size()) < n;
  };
  if (XSize < 2 || YSize < 2 || tooShort(z) || (UseXYData && (tooShort(X) || tooShort(Y)))) {
    ShowMessage("Not enough data points to draw surface", mb::kOk, "Warning", kMainWindowOwner);
    return false;
  }
  nx_ = XSize;
  ny_ = YSize;
  Mesh_.resize(static_cast<std::size_t>(n));
  const double halfX = (nx_ - 1) / 2.0, halfY = (ny_ - 1) / 2.0;
  for (std::int32_t j = 0; j < ny_; ++j) {
    for (std::int32_t i = 0; i < nx_; ++i) {
      const std::size_t k = static_cast<std::size_t>(j) * nx_ + i;
      if (UseXYData)
        Mesh_[k] = {X[k], Y[k], z[k]};
      else
        Mesh_[k] = {(i - halfX) / halfX, (halfY - j) / halfY, z[k]};
    }
  }
  // Polygons of an older mesh do not fit this one.
  Order_.clear();
  Screen_.clear();
  Level_.clear();
  return true;
}

bool clsSurfacePlot::CreatePolygons() {
  if (Mesh_.empty() || NumLevels < 1 || !Chart.ViewUsable()) return false;
  double zMin = 0, zMax = 0;
  Chart.GetAxisMinMax(kAxisZ, zMin, zMax);
  if (!(zMax > zMin)) return false;

  const std::size_t n = Mesh_.size();
  std::vector<Point3D> box(n);
  std::vector<double> value(n);
  for (std::size_t k = 0; k < n; ++k) {
    Point3D p = Mesh_[k];
    // A point without data counts as the floor for its colour.
    value[k] = std::clamp(p.z, zMin, zMax);
    Chart.MapWorldToScaled(p.x, p.y, p.z);
    box[k] = p;
  }
  double r = 0, theta = 0, phi = 0;
  Chart.GetViewPoint(r, theta, phi);
  std::vector<PointD> projected(n);
  RotatePoints3D(box, static_cast<std::int32_t>(n), r, theta, phi, projected, 0);

  // Filled cells go back to front so that near cells paint over far ones; the wire
  // mesh goes front to back so that the horizon hides what lies behind.
  Traversal traversal{false, false};
  if (!ClosedSurface) {
    const double angle = FillPolygons ? theta + 180 : theta;
    traversal = TraversalFor(((RoundToInt32(angle) % 360) + 360) % 360);
  }
  Order_.resize(n);
  Screen_.resize(n);
  std::size_t t = 0;
  for (std::int32_t row = 0; row < ny_; ++row) {
    const std::int32_t j = traversal.rowsFromLast ? ny_ - 1 - row : row;
    for (std::int32_t column = 0; column < nx_; ++column) {
      const std::int32_t i = traversal.columnsFromLast ? nx_ - 1 - column : column;
      const std::int32_t k = j * nx_ + i;
      Order_[t] = k;
      Screen_[t] = Chart.ProjectToScreen(projected[static_cast<std::size_t>(k)]);
      ++t;
    }
  }

  // The level of the cell that starts at each traversal position, by the mean of its
  // corners; along the last traversal row and column the cell is cut to what exists.
  Level_.resize(n);
  for (std::int32_t row = 0; row < ny_; ++row) {
    for (std::int32_t column = 0; column < nx_; ++column) {
      const std::size_t at = static_cast<std::size_t>(row) * nx_ + column;
      const bool lastRow = row == ny_ - 1, lastColumn = column == nx_ - 1;
      const auto v = [&](std::size_t position) { return value[static_cast<std::size_t>(Order_[position])]; };
      double cell;
      if (lastRow && lastColumn)
        cell = v(at);
      else if (lastColumn)
        cell = (v(at) + v(at + nx_)) / 2;
      else if (lastRow)
        cell = (v(at) + v(at + 1)) / 2;
      else
        cell = (v(at) + v(at + 1) + v(at + nx_) + v(at + nx_ + 1)) / 4;
      const double level = std::floor((cell - zMin) * NumLevels / (zMax - zMin));
      Level_[at] = level >= NumLevels ? NumLevels - 1 : level >= 0 ? static_cast<std::int32_t>(level) : 0;
    }
  }
  return true;
}

bool clsSurfacePlot::SetNumberofContours(std::int32_t n) {
  if (n < 1) return false;
  ReleaseGdiObjects();
  LevelValues_.assign(static_cast<std::size_t>(n), 0.0);
  NumLevels = n;
  return true;
}

bool clsSurfacePlot::CalculateContours() {
  double zMin = 0, zMax = 0;
  Chart.GetAxisMinMax(kAxisZ, zMin, zMax);
  if (!(zMin < zMax) || NumLevels < 1) return false;
  for (std::int32_t k = 0; k < NumLevels; ++k)
    LevelValues_[static_cast<std::size_t>(k)] = static_cast<double>(k) / NumLevels * (zMax - zMin) + zMin;
  return true;
}

bool clsSurfacePlot::AutoScale(std::int32_t axisid) {
  if (Mesh_.empty() || axisid < kAxisX || axisid > kAxisZ) return false;
  double Min = 0, Max = 0;
  Chart.GetAxisMinMax(axisid, Min, Max);
  bool autoMin = false, autoMax = false;
  Chart.GetAxisAutoMinMax(axisid, autoMin, autoMax);
  const bool logScale = Chart.GetAxisLog(axisid);
  const double oldMin = Min, oldMax = Max;

  double lo = autoMin ? kNotGivenDouble : Min;
  double hi = autoMax ? -kNotGivenDouble : Max;
  std::int32_t exponent;
  if (!autoMin && !autoMax) {
    exponent = GetRangeLeadingDigit(Min, Max);
  } else {
    double dataLo = kNotGivenDouble, dataHi = -kNotGivenDouble;
    if (axisid == kAxisZ) {
      for (const Point3D& p : Mesh_) {
        if (p.z != kBlankValue && p.z < dataLo) dataLo = p.z;
        if (p.z > dataHi) dataHi = p.z;
      }
      if (dataLo == kNotGivenDouble) {
        // No point has data: a unit range at the fixed end, or 0..1.
        dataLo = autoMax ? 0 : Max - 1;
        dataHi = autoMin ? 1 : Min + 1;
      }
    } else {
      // The mesh's first and last point along the axis, whichever way it runs.
      const Point3D& first = Mesh_.front();
      const Point3D& last = Mesh_[axisid == kAxisX ? static_cast<std::size_t>(nx_) - 1
                                                   : static_cast<std::size_t>(ny_ - 1) * nx_];
      const double a = axisid == kAxisX ? first.x : first.y;
      const double b = axisid == kAxisX ? last.x : last.y;
      dataLo = std::min(a, b);
      dataHi = std::max(a, b);
    }
    if (autoMin) lo = std::min(lo, dataLo);
    if (autoMax) hi = std::max(hi, dataHi);
    exponent = RoundAxisLimits(lo, hi, logScale, autoMin, autoMax, ScaleLimit);
    if (autoMin) Min = lo;
    if (autoMax) Max = hi;
  }
  Chart.AutoScaleMajor(axisid, lo, hi, exponent);
  Chart.AutoScaleMinor(axisid);
  Chart.SetAxisMinMax(axisid, Min, Max);
  return Min != oldMin || Max != oldMax;
}

void clsSurfacePlot::ReleaseGdiObjects() {
  Pens_.clear();
  Brushes_.clear();
}

}  // namespace orvale
