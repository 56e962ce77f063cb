#include "app/plots/clsContourPlot.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>

#include "app/analysis/AxisLimits.h"
#include "app/analysis/MathBasics.h"
#include "app/document/ColorRamps.h"
#include "app/plots/ConvexHull.h"
#include "app/plots/DataLimits.h"
#include "app/plots/TraceMapping.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/RunError.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

constexpr double kTwoPi = 6.28318530717958;
constexpr double kSmallestPositive = 4.94065645841247E-324;

bool IsOutlineShape(std::int32_t type) { return type == clsShape::kEllipse || type == clsShape::kPolygon; }

void ShowOutOfMemory() {
  ShowMessage(RunError::StandardDescription(errnum::kOutOfMemory), mb::kOk, "Error", kMainWindowOwner);
}

// Mesh coordinates to device pixels along both axes of the plot rectangle.
struct DeviceMap {
  double sx = 0, ox = 0, sy = 0, oy = 0;
  gdi::Point operator()(double x, double y) const {
    return {RoundToInt32(std::clamp(x * sx + ox, -kDeviceLimit, kDeviceLimit)),
            RoundToInt32(std::clamp(y * sy + oy, -kDeviceLimit, kDeviceLimit))};
  }
  gdi::Point operator()(const MeshPoint& p) const { return (*this)(p.x, p.y); }
};

// Log-axis copies: values of 0 or less become the smallest positive double, then the
// natural logarithm, held where they map within the device range.
void ToLogCoordinates(std::vector<double>& v, double s, double o) {
  const double lo = (-kDeviceLimit - o) / s;
  const double hi = (kDeviceLimit - o) / s;
  for (double& x : v) {
    if (x <= 0) x = kSmallestPositive;
    x = std::clamp(std::log(x), std::min(lo, hi), std::max(lo, hi));
  }
}

// Selects a region as the clip for the rest of a drawing and puts the caller's clip
// back at the end.
class ClipKeeper {
 public:
  explicit ClipKeeper(gdi::DeviceContext& dc) : dc_(dc), previous_(dc.State().clip) {}
  ~ClipKeeper() { Restore(); }
  void Restore() {
    if (!changed_) return;
    dc_.SelectClipRgn(previous_ ? &*previous_ : nullptr);
    changed_ = false;
  }
  // The region within the caller's clip.
  void Select(const gdi::Region& region) {
    dc_.SelectClipRgn(&region);
    if (previous_) dc_.ExtSelectClipRgn(&*previous_, gdi::RGN_AND);
    changed_ = true;
  }
  // Cuts a region out of the clip in effect; without one, out of the plot rectangle.
  void Cut(const gdi::Region& region, const gdi::Rect& plot) {
    if (!dc_.HasClip()) {
      const gdi::Region whole = gdi::Region::FromRect(plot);
      dc_.SelectClipRgn(&whole);
    }
    dc_.ExtSelectClipRgn(&region, gdi::RGN_DIFF);
    changed_ = true;
  }
  ClipKeeper(const ClipKeeper&) = delete;
  ClipKeeper& operator=(const ClipKeeper&) = delete;

 private:
  gdi::DeviceContext& dc_;
  std::optional<gdi::Region> previous_;
  bool changed_ = false;
};

}  // namespace

clsContourPlot::clsContourPlot() {
  ZAxis_.AutoMin = ZAxis_.AutoMax = ZAxis_.AutoMajor = ZAxis_.AutoMinor = ZAxis_.AutoCross = true;
  ZAxis_.Visible = true;
  ZAxis_.LogScale = false;
  ZAxis_.SFactorIdx = 8;
  ZAxis_.LabelDigits = 0;
}

void clsContourPlot::GetZAxisMinMax(double& Min, double& Max) const {
  Min = ZAxis_.Min;
  Max = ZAxis_.Max;
}

void clsContourPlot::SetZAxisMinMax(double Min, double Max) {
  ZAxis_.Min = Min;
  ZAxis_.Max = Max;
}

void clsContourPlot::SetOutline(ClipOutline& outline, const clsShape& shape, const PupilScale& s) {
  const auto toMesh = [&](double px, double py) {
    return MeshPoint{(px - s.xCenter) * s.xScale, (s.yCenter - py) * s.yScale};
  };
  outline.ShapeType = shape.GetShapeType();
  if (outline.ShapeType == clsShape::kEllipse) {
    double cx = 0, cy = 0, a = 0, b = 0;
    shape.GetCenter(cx, cy);
    shape.GetRadii(a, b);
    const double angle = shape.GetAngle();
    const double ca = std::cos(angle), sa = std::sin(angle);
    outline.Count = ClipOutline::kMaxPoints;
    for (std::int32_t i = 1; i <= ClipOutline::kMaxPoints; ++i) {
      const double t = (i - 1) * (kTwoPi / ClipOutline::kMaxPoints);
      const double px = cx + a * std::cos(t) * ca + b * std::sin(t) * sa;
      const double py = cy - a * std::cos(t) * sa + b * std::sin(t) * ca;
      outline.Points[static_cast<std::size_t>(i - 1)] = toMesh(px, py);
    }
  } else if (outline.ShapeType == clsShape::kPolygon) {
    // The mask fills a polygon to the hull of its vertices; the clip follows it.
    const std::int32_t n = std::clamp(shape.GetVertices(), 0, ClipOutline::kMaxPoints);
    std::vector<MeshPoint> vertices;
    for (std::int32_t i = 1; i <= n; ++i) {
      double px = 0, py = 0;
      shape.GetVertex(px, py, i);
      vertices.push_back(toMesh(px, py));
    }
    const std::vector<MeshPoint> hull = ConvexHull(vertices);
    outline.Count = static_cast<std::int32_t>(hull.size());
    std::copy(hull.begin(), hull.end(), outline.Points.begin());
  }
}

void clsContourPlot::SetApertureClippingRegion(const clsShape& pShape, const PupilScale& pAnalysis) {
  SetOutline(Aperture, pShape, pAnalysis);
  if (Aperture.ShapeType == clsShape::kCircle) {
    // The aperture is the unit circle of the mesh, so its box is the mesh extent.
    // Written as the mesh coordinates are made, so that the box meets them exactly.
    const double hy = (YSize_ - 1) / 2.0;
    const double hx = (XSize_ - 1) / 2.0;
    if (hx > 0 && hy > 0) {
      apclipminy = -hy * (1 / hy);
      apclipmaxy = (YSize_ - 1 - hy) * (1 / hy);
      apclipminx = -hx * (1 / hx);
      apclipmaxx = (XSize_ - 1 - hx) * (1 / hx);
    } else {
      apclipminx = apclipminy = -1;
      apclipmaxx = apclipmaxy = 1;
    }
  }
}

void clsContourPlot::SetObstructionClippingRegion(const clsShape& pShape, const PupilScale& s) {
  SetOutline(Obstruction, pShape, s);
  if (Obstruction.ShapeType == clsShape::kCircle) {
    double cx = 0, cy = 0, r1 = 0, r2 = 0;
    pShape.GetCenter(cx, cy);
    pShape.GetRadii(r1, r2);
    obclipminx = (cx - r1 - s.xCenter) * s.xScale;
    obclipmaxx = (cx + r1 - s.xCenter) * s.xScale;
    obclipminy = (s.yCenter - (cy + r2)) * s.yScale;
    obclipmaxy = (s.yCenter - (cy - r2)) * s.yScale;
  }
}

bool clsContourPlot::CreateMesh(std::span<const double> X, std::span<const double> Y,
                                std::span<const double> z, std::int32_t XSize, std::int32_t YSize,
                                bool UseXandYData) {
  const std::int64_t count = static_cast<std::int64_t>(XSize) * YSize;
  const auto enough = [count](std::span<const double> v) { return static_cast<std::int64_t>(v.size()) >= count; };
  if (XSize < 2 || YSize < 2 || !enough(z) || (UseXandYData && (!enough(X) || !enough(Y)))) {
    ShowMessage("Not enough data points to draw contour map", mb::kOk, "Warning", kMainWindowOwner);
    return false;
  }
  std::vector<double> xs, ys, zs;
  try {
    const auto n = static_cast<std::size_t>(count);
    if (UseXandYData) {
      xs.assign(X.begin(), X.begin() + static_cast<std::ptrdiff_t>(n));
      ys.assign(Y.begin(), Y.begin() + static_cast<std::ptrdiff_t>(n));
    } else {
      xs.resize(n);
      ys.resize(n);
      const double hx = (XSize - 1) / 2.0;
      const double hy = (YSize - 1) / 2.0;
      for (std::int32_t j = 0; j < YSize; ++j) {
        for (std::int32_t i = 0; i < XSize; ++i) {
          const std::size_t k = static_cast<std::size_t>(XSize) * static_cast<std::size_t>(j) + static_cast<std::size_t>(i);
          xs[k] = (i - hx) * (1 / hx);
          ys[k] = (hy - j) * (1 / hy);
        }
      }
    }
    zs.assign(z.begin(), z.begin() + static_cast<std::ptrdiff_t>(n));
  } catch (const std::bad_alloc&) {
    ShowOutOfMemory();
    return false;
  } catch (const std::length_error&) {
    ShowOutOfMemory();
    return false;
  }
  X_ = std::move(xs);
  Y_ = std::move(ys);
  Z_ = std::move(zs);
  XSize_ = XSize;
  YSize_ = YSize;
  UseXandYData_ = UseXandYData;
  return true;
}

bool clsContourPlot::SetNumberofContours(std::int32_t n) {
  if (n < 1) return false;
  try {
    std::vector<double> levels(static_cast<std::size_t>(n), 0.0);
    Levels = std::move(levels);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool clsContourPlot::CalculateContours() {
  const double zmin = ZAxis_.Min, zmax = ZAxis_.Max;
  const auto n = static_cast<std::int32_t>(Levels.size());
  if (!(zmin < zmax) || n < 1) return false;
  for (std::int32_t k = 0; k < n; ++k)
    Levels[static_cast<std::size_t>(k)] = (static_cast<double>(k) / n) * (zmax - zmin) + zmin;
  return true;
}

bool clsContourPlot::AutoScale(std::int32_t axisid) {
  if (axisid < 0 || axisid > 2) return false;
  double min = 0, max = 0, cross = 0;
  bool autoMin = false, autoMax = false, autoCross = false, logScale = false;
  if (axisid == 2) {
    min = ZAxis_.Min;
    max = ZAxis_.Max;
    autoMin = ZAxis_.AutoMin;
    autoMax = ZAxis_.AutoMax;
    logScale = ZAxis_.LogScale;
  } else {
    Chart.GetAxisMinMax(axisid, min, max, cross);
    Chart.GetAxisAutoMinMax(axisid, autoMin, autoMax, autoCross);
    logScale = Chart.GetAxisLog(axisid);
  }
  const double oldMin = min, oldMax = max;
  double tmin = autoMin ? 1E+308 : min;
  double tmax = autoMax ? -1E+308 : max;

  std::int32_t r;
  if (!autoMin && !autoMax) {
    r = GetRangeLeadingDigit(tmin, tmax);
  } else {
    bool found = false;
    if ((axisid == 0 || axisid == 1) && !X_.empty()) {
      // The coordinates grow with the mesh index: the first and last points bound them.
      const std::vector<double>& v = axisid == 0 ? X_ : Y_;
      if (autoMin) tmin = MinD(v.front(), tmin);
      if (autoMax) tmax = MaxD(v.back(), tmax);
      found = true;
    } else if (axisid == 2) {
      for (const double value : Z_) {
        if (value == kBlankValue || std::isnan(value)) continue;
        if (autoMax && value > tmax) tmax = value;
        if (autoMin && value < tmin) tmin = value;
        found = true;
      }
    }
    r = RoundDataLimits(tmin, tmax, found, logScale, autoMin, autoMax, ScaleLimit);
    if (autoMin) min = tmin;
    if (autoMax) max = tmax;
  }

  if (axisid == 2) {
    if (ZAxis_.AutoMajor) {
      double d = 5;
      if (r != 0 && r % 3 == 0)
        d = 6;
      else if (r != 0 && tmin == 0 && r % 2 == 0)
        d = 4;
      ZAxis_.Major = ZAxis_.LogScale ? 10 : std::abs(tmax - tmin) / d;
    }
    if (ZAxis_.AutoMinor) ZAxis_.Minor = ZAxis_.LogScale ? 10 : ZAxis_.Major / 5;
    ZAxis_.Min = min;
    ZAxis_.Max = max;
  } else {
    if (autoCross) cross = tmin;
    Chart.AutoScaleMajor(axisid, tmin, tmax, r);
    Chart.AutoScaleMinor(axisid);
    Chart.SetAxisMinMax(axisid, min, max, cross);
  }
  return !(min == oldMin && max == oldMax);
}

void clsContourPlot::PlotRedraw(gdi::DeviceContext& hDC) {
  Chart.ChartRedraw(hDC);
  DrawContour(hDC);
}

void clsContourPlot::DrawContour(gdi::DeviceContext& hDC) {
  const double zmin = ZAxis_.Min, zmax = ZAxis_.Max;
  const auto n = static_cast<std::int32_t>(Levels.size());
  if (XSize_ < 2 || YSize_ < 2 || !(zmin < zmax) || n < 1) return;
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  Chart.GetPlotLimits(left, top, width, height);
  if (width < 1 || height < 1) return;
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0, cross = 0;
  Chart.GetAxisMinMax(kAxisBottom, xmin, xmax, cross);
  Chart.GetAxisMinMax(kAxisLeft, ymin, ymax, cross);
  const bool xLog = Chart.GetAxisLog(kAxisBottom);
  const bool yLog = Chart.GetAxisLog(kAxisLeft);
  if (!(xmax > xmin) || !(ymax > ymin)) return;
  if ((xLog && !(xmin > 0)) || (yLog && !(ymin > 0))) return;

  DeviceMap map;
  if (xLog) {
    map.sx = (width - 1) / std::log(xmax / xmin);
    map.ox = left - map.sx * std::log(xmin);
  } else {
    map.sx = (width - 1) / (xmax - xmin);
    map.ox = left - map.sx * xmin;
  }
  if (yLog) {
    map.sy = (1 - height) / std::log(ymax / ymin);
    map.oy = top - map.sy * std::log(ymax);
  } else {
    map.sy = (1 - height) / (ymax - ymin);
    map.oy = top - map.sy * ymax;
  }

  // Log axes contour the logarithms of copies of the coordinates.
  std::vector<double> xLogCopy, yLogCopy;
  try {
    if (xLog) {
      xLogCopy = X_;
      ToLogCoordinates(xLogCopy, map.sx, map.ox);
    }
    if (yLog) {
      yLogCopy = Y_;
      ToLogCoordinates(yLogCopy, map.sy, map.oy);
    }
  } catch (const std::bad_alloc&) {
    ShowOutOfMemory();
    return;
  }
  const ContourMeshRef mesh{xLog ? xLogCopy : X_, yLog ? yLogCopy : Y_, Z_, XSize_, YSize_};

  // One pen per level, made once for the whole drawing and selected as the level changes.
  const bool monochrome = hDC.GetDeviceCaps(gdi::BITSPIXEL) <= 1;
  const double half = n >= 2 ? (Levels[1] - Levels[0]) / 2 : 0;
  std::vector<gdi::Color> colors(static_cast<std::size_t>(n), 0);
  std::vector<gdi::Pen> pens;
  if (!monochrome) {
    pens.reserve(static_cast<std::size_t>(n));
    for (std::int32_t k = 0; k < n; ++k) {
      double value = Levels[static_cast<std::size_t>(k)] + half;
      colors[static_cast<std::size_t>(k)] = RainbowColor(value, zmin, zmax);
      const auto pen = gdi::CreatePen(PenStyle, PenWidth, colors[static_cast<std::size_t>(k)]);
      if (!pen) {
        ShowMessage("Could not allocate enough pens", mb::kOk, "Error", kMainWindowOwner);
        return;
      }
      pens.push_back(*pen);
    }
  }
  const gdi::Pen firstPen = monochrome ? gdi::StockPen(gdi::BLACK_PEN) : pens.front();
  const gdi::Pen previousPen = hDC.SelectPen(firstPen);
  std::int32_t selected = 0;

  const auto box = [&](double minx, double miny, double maxx, double maxy) {
    const gdi::Point a = map(minx, maxy), b = map(maxx, miny);
    return gdi::Rect{a.x, a.y, b.x + 1, b.y + 1};
  };
  const auto devicePoints = [&](const ClipOutline& o) {
    std::vector<gdi::Point> pts;
    for (std::int32_t i = 0; i < o.Count; ++i) pts.push_back(map(o.Points[static_cast<std::size_t>(i)]));
    return pts;
  };
  const gdi::Rect plot{left, top, left + width, top + height};
  const gdi::Rect apertureBox = box(apclipminx, apclipminy, apclipmaxx, apclipmaxy);
  const gdi::Rect obstructionBox = box(obclipminx, obclipminy, obclipmaxx, obclipmaxy);

  ClipKeeper clip(hDC);
  if (Aperture.ShapeType == clsShape::kCircle) {
    hDC.Ellipse(apertureBox.left, apertureBox.top, apertureBox.right, apertureBox.bottom);
  } else if (IsOutlineShape(Aperture.ShapeType)) {
    const std::vector<gdi::Point> pts = devicePoints(Aperture);
    hDC.Polygon(pts);
    clip.Select(gdi::Region::FromPolygon(pts, gdi::WINDING));
  }
  if (Obstruction.ShapeType == clsShape::kCircle) {
    hDC.Ellipse(obstructionBox.left, obstructionBox.top, obstructionBox.right, obstructionBox.bottom);
  } else if (IsOutlineShape(Obstruction.ShapeType)) {
    const std::vector<gdi::Point> pts = devicePoints(Obstruction);
    hDC.Polygon(pts);
    clip.Cut(gdi::Region::FromPolygon(pts, gdi::WINDING), plot);
  }
  const bool polygonClip = IsOutlineShape(Aperture.ShapeType) || IsOutlineShape(Obstruction.ShapeType);

  // A circle aperture has no clip region: segments of cells at its edge (those with a
  // blank corner) are kept only inside the unit circle, whatever the obstruction is.
  ContourOptions options;
  options.unitCircleForBlankCells = !polygonClip || Aperture.ShapeType == clsShape::kCircle;
  std::vector<LevelSegment> row;
  for (std::int32_t j = YSize_ - 2; j >= 0; --j) {
    row.clear();
    ContourMeshRow(mesh, j, Levels, options, row);
    for (const LevelSegment& s : row) {
      if (!monochrome && s.level != selected) {
        hDC.SelectPen(pens[static_cast<std::size_t>(s.level)]);
        selected = s.level;
      }
      const gdi::Point p = map(s.segment.p);
      const gdi::Point q = map(s.segment.q);
      if (!(p == q)) {
        hDC.MoveTo(p.x, p.y);
        hDC.LineTo(q.x, q.y);
      }
      hDC.SetPixel(q.x, q.y, colors[static_cast<std::size_t>(s.level)]);
    }
  }

  clip.Restore();
  if (Obstruction.ShapeType == clsShape::kCircle) {
    // Paint the obstruction white over any lines, outlined in the first level's pen.
    hDC.SelectPen(firstPen);
    const gdi::Brush previousBrush = hDC.SelectBrush(gdi::StockBrush(gdi::WHITE_BRUSH));
    hDC.Ellipse(obstructionBox.left, obstructionBox.top, obstructionBox.right, obstructionBox.bottom);
    hDC.SelectBrush(previousBrush);
  }
  hDC.SelectPen(previousPen);
}

}  // namespace orvale
