#pragma once
// Shapes, a synthetic wavefront and pixel counts for the contour plot tests.
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/analysis/Points.h"
#include "app/analysis/clsShape.h"
#include "app/plots/ConvexHull.h"
#include "app/plots/clsContourPlot.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/Markers.h"

namespace orvale::test {

inline std::vector<gdi::DrawRecord> CallsNamed(const gdi::RecordingDeviceContext& dc,
                                               const std::string& call) {
  std::vector<gdi::DrawRecord> out;
  for (const gdi::DrawRecord& r : dc.Records())
    if (r.call == call) out.push_back(r);
  return out;
}

// The plot rectangle of a chart's last layout.
struct PlotLimits {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

inline PlotLimits LimitsOf(const clsChart2D& chart) {
  PlotLimits p;
  chart.GetPlotLimits(p.left, p.top, p.width, p.height);
  return p;
}

// Image pixel (100, 100) is the pupil centre and the pupil radius is 100 pixels.
inline PupilScale PupilOfRadius100() { return PupilScale{100, 100, 0.01, 0.01}; }

// A shape in image pixels that can make a clsShape and tell whether a point lies inside.
struct ShapeSpec {
  std::int32_t type = clsShape::kNone;
  double cx = 0, cy = 0, r1 = 0, r2 = 0, angle = 0;
  std::vector<PointD> vertices;

  static ShapeSpec None() { return {}; }
  static ShapeSpec Circle(double x, double y, double r) { return {clsShape::kCircle, x, y, r, r, 0, {}}; }
  static ShapeSpec Ellipse(double x, double y, double a, double b, double angle) {
    return {clsShape::kEllipse, x, y, a, b, angle, {}};
  }
  static ShapeSpec Polygon(std::vector<PointD> v) { return {clsShape::kPolygon, 0, 0, 0, 0, 0, std::move(v)}; }

  std::string Name() const {
    const char* names[] = {"none", "circle", "ellipse", "polygon"};
    return names[type];
  }

  clsShape Make(std::int32_t kind) const {
    clsShape s;
    s.Init(kind);
    if (type == clsShape::kPolygon) {
      std::vector<double> xs = {0}, ys = {0};  // element 0 unused
      for (const PointD& p : vertices) {
        xs.push_back(p.x);
        ys.push_back(p.y);
      }
      s.Save(clsShape::kPolygon, static_cast<std::int32_t>(vertices.size()), xs, ys);
      return s;
    }
    s.SetShapeType(type);
    s.SetCenter(cx, cy);
    s.SetRadii(r1, r2);
    s.SetAngle(angle);
    return s;
  }

  // Inside in image pixels; a polygon counts by its convex hull, as the mask fills it.
  bool Contains(double px, double py) const {
    const double dx = px - cx, dy = py - cy;
    switch (type) {
      case clsShape::kCircle: return (dx / r1) * (dx / r1) + (dy / r2) * (dy / r2) <= 1;
      case clsShape::kEllipse: {
        const double u = dx * std::cos(angle) - dy * std::sin(angle);
        const double v = dx * std::sin(angle) + dy * std::cos(angle);
        return (u / r1) * (u / r1) + (v / r2) * (v / r2) <= 1;
      }
      case clsShape::kPolygon: {
        std::vector<MeshPoint> pts;
        for (const PointD& p : vertices) pts.push_back({p.x, p.y});
        const std::vector<MeshPoint> hull = ConvexHull(pts);
        for (std::size_t i = 0; i < hull.size(); ++i) {
          const MeshPoint& a = hull[i];
          const MeshPoint& b = hull[(i + 1) % hull.size()];
          if ((b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x) < 0) return false;
        }
        return hull.size() >= 3;
      }
      default: return false;
    }
  }
};

struct PixelCounts {
  int insideObstruction = 0;  // drawn pixels well inside the obstruction
  int outsideAperture = 0;    // drawn pixels well outside the aperture
  int inPupil = 0;            // drawn pixels well inside the usable pupil
};

// A contour plot filled as the document fills it, with a wavefront of defocus,
// astigmatism, coma and tilt over the pupil and blank values elsewhere.
struct ContourScene {
  ShapeSpec aperture;
  ShapeSpec obstruction;
  clsContourPlot plot;

  // A mesh of n x n points over the pupil's box.
  ContourScene(ShapeSpec ap, ShapeSpec ob, std::int32_t levels, int n = 121,
               const std::function<double(double, double)>& wavefront = Wavefront)
      : aperture(std::move(ap)), obstruction(std::move(ob)) {
    std::vector<double> z(static_cast<std::size_t>(n * n));
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < n; ++i) {
        const double x = -1 + 2.0 * i / (n - 1), y = 1 - 2.0 * j / (n - 1);
        z[static_cast<std::size_t>(j * n + i)] = Usable(x, y) ? wavefront(x, y) : kBlankValue;
      }
    }
    clsChart2D& chart = plot.Chart;
    for (std::int32_t axis : {kAxisBottom, kAxisLeft}) {
      chart.SetAxisMinMax(axis, -1, 1, -1);
      chart.AutoScaleMajor(axis, -1, 1, 0);
      chart.AutoScaleMinor(axis);
      chart.CreateTickLabels(axis);
    }
    plot.ScaleLimit = 0.05;
    plot.CreateMesh({}, {}, z, n, n, false);
    plot.AutoScale(2);
    plot.SetNumberofContours(levels);
    plot.CalculateContours();
    const clsShape a = aperture.Make(clsShape::kAperture);
    const clsShape o = obstruction.Make(clsShape::kObstruction);
    plot.SetApertureClippingRegion(a, PupilOfRadius100());
    plot.SetObstructionClippingRegion(o, PupilOfRadius100());
  }

  static double Wavefront(double x, double y) {
    const double r2 = x * x + y * y;
    return 0.8 * (2 * r2 - 1) + 0.35 * (x * x - y * y) + 0.25 * (3 * r2 - 2) * x + 0.1 * y;
  }
  static PointD ToImage(double x, double y) { return {100 + 100 * x, 100 - 100 * y}; }
  bool Usable(double x, double y) const {
    const PointD p = ToImage(x, y);
    return aperture.Contains(p.x, p.y) && !obstruction.Contains(p.x, p.y);
  }

  // Lays the chart out square in a window of size x size.
  void Layout(gdi::DeviceContext& dc, int size = 400) {
    plot.Chart.CreateChartLimits(dc, 0, 0, size - 1, size - 1, true);
  }
  // Lays out and draws chart and contours.
  void Draw(gdi::DeviceContext& dc, int size = 400) {
    Layout(dc, size);
    plot.PlotRedraw(dc);
  }
  // Lays out and draws only the contours.
  void DrawContours(gdi::DeviceContext& dc, int size = 400) {
    Layout(dc, size);
    plot.DrawContour(dc);
  }

  gdi::Rect PlotRect() const {
    const PlotLimits p = LimitsOf(plot.Chart);
    return {p.left, p.top, p.left + p.width, p.top + p.height};
  }

  // The image point at a device pixel of the plot.
  PointD ImageAt(double dx, double dy) const {
    const gdi::Rect r = PlotRect();
    const double sx = (r.Width() - 1) / 2.0, sy = (r.Height() - 1) / 2.0;
    return ToImage((dx - r.left) / sx - 1, 1 - (dy - r.top) / sy);
  }

  // True when the shape holds (or, with `inside` false, misses) every point 3 pixels
  // round the device pixel.
  bool Clearly(const ShapeSpec& s, int dx, int dy, bool inside) const {
    for (int k = 0; k < 8; ++k) {
      const double a = k * 0.7853981633974483;
      const PointD p = ImageAt(dx + 3 * std::cos(a), dy + 3 * std::sin(a));
      if (s.Contains(p.x, p.y) != inside) return false;
    }
    return true;
  }

  // Drawn (non-white) pixels inside the plot, within its frame.
  template <class Each>
  void ForEachDrawnPixel(const gdi::ImageDeviceContext& dc, Each&& each) const {
    const gdi::Rect r = PlotRect();
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
      for (int x = r.left + 1; x < r.right - 1; ++x)
        if (dc.GetPixel(x, y) != 0xFFFFFFu) each(x, y);
  }

  PixelCounts CountPixels(const gdi::ImageDeviceContext& dc) const {
    PixelCounts c;
    ForEachDrawnPixel(dc, [&](int x, int y) {
      if (obstruction.type != clsShape::kNone && Clearly(obstruction, x, y, true)) ++c.insideObstruction;
      if (Clearly(aperture, x, y, false)) ++c.outsideAperture;
      if (Clearly(aperture, x, y, true) &&
          (obstruction.type == clsShape::kNone || Clearly(obstruction, x, y, false)))
        ++c.inPupil;
    });
    return c;
  }

  int CountPixelsWhere(const gdi::ImageDeviceContext& dc,
                       const std::function<bool(double, double)>& where) const {
    int n = 0;
    ForEachDrawnPixel(dc, [&](int x, int y) {
      const PointD p = ImageAt(x, y);
      if (where(p.x, p.y)) ++n;
    });
    return n;
  }
};

}  // namespace orvale::test
