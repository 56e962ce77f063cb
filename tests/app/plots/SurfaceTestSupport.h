#pragma once
// A surface plot filled the way the document fills it, and small helpers over the
// recording device context, for the 3-D chart and surface plot tests.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/plots/clsSurfacePlot.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/Markers.h"

namespace orvale::test {

inline std::vector<gdi::DrawRecord> RecordsNamed(const gdi::RecordingDeviceContext& dc,
                                                 const std::string& call) {
  std::vector<gdi::DrawRecord> out;
  for (const gdi::DrawRecord& r : dc.Records())
    if (r.call == call) out.push_back(r);
  return out;
}

// A mirror with defocus, astigmatism, coma and spherical aberration, in waves, over the
// unit pupil.
inline double MirrorWavefront(double x, double y) {
  const double r2 = x * x + y * y;
  return 0.15 * (2 * r2 - 1) + 0.1 * (x * x - y * y) + 0.06 * (3 * r2 - 2) * x +
         0.12 * (6 * r2 * r2 - 6 * r2 + 1);
}

// n x n heights over the square round the unit pupil, blank outside it, row 0 at the
// top (y = 1) as the evaluation lays them out.
inline std::vector<double> PupilMesh(int n, double (*wavefront)(double, double) = MirrorWavefront) {
  std::vector<double> z(static_cast<std::size_t>(n) * n);
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      const double x = -1 + 2.0 * i / (n - 1), y = 1 - 2.0 * j / (n - 1);
      z[static_cast<std::size_t>(j) * n + i] = x * x + y * y <= 1 ? wavefront(x, y) : kBlankValue;
    }
  }
  return z;
}

// Fills the plot as the document does: x and y from -1 to 1, z scaled to the data,
// `levels` colour levels.
inline bool LoadSurface(clsSurfacePlot& plot, const std::vector<double>& z, int nx, int ny,
                        std::int32_t levels = 20) {
  clsChart3D& chart = plot.Chart;
  for (const std::int32_t axis : {kAxisX, kAxisY}) {
    chart.SetAxisMinMax(axis, -1, 1);
    chart.AutoScaleMajor(axis, -1, 1, 0);
    chart.AutoScaleMinor(axis);
  }
  plot.ScaleLimit = 0.05;
  chart.SetTitle(kAxisZ, "Waves");
  chart.CreateTickLabels(kAxisX);
  chart.CreateTickLabels(kAxisY);
  if (!plot.CreateMesh({}, {}, z, nx, ny, false)) return false;
  plot.AutoScale(kAxisZ);
  chart.CreateTickLabels(kAxisZ);
  return plot.SetNumberofContours(levels) && plot.CalculateContours();
}

// Sets the view point, lays the chart out in the rectangle and builds the polygons, as
// the surface window does before it paints.
inline bool ViewSurface(clsSurfacePlot& plot, gdi::DeviceContext& dc, double theta, double phi,
                        gdi::Rect area, double r = 0) {
  bool recalc = false;
  if (!plot.Chart.ChangeViewPoint(r, theta, phi, recalc)) return false;
  plot.Chart.CreateChartLimits(dc, area.left, area.top, area.right, area.bottom);
  return plot.CreatePolygons();
}

}  // namespace orvale::test
