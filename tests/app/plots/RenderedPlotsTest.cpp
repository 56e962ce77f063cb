// Renders a contour map and a profile of a synthetic wavefront, as the document fills
// the two plots, and writes them as pictures into the test's temporary folder for a
// person to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/plots/clsContourPlot.h"
#include "app/plots/clsLineProfile.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/runtime/Markers.h"
#include "tests/app/plots/PlotPictures.h"
#include "tests/app/plots/PlotTestSupport.h"

namespace orvale {
namespace {

using test::DistinctColours;
using test::SavePicture;

// A mirror with some defocus, astigmatism and spherical aberration, in waves.
double Wavefront(double x, double y) {
  const double r2 = x * x + y * y;
  return 0.12 * (2 * r2 - 1) + 0.08 * (x * x - y * y) + 0.1 * (6 * r2 * r2 - 6 * r2 + 1);
}

TEST(RenderedPlots, ContourMapOfAnObstructedMirror) {
  test::ContourScene scene(test::ShapeSpec::Circle(100, 100, 100), test::ShapeSpec::Circle(100, 100, 22),
                           20, 101, Wavefront);
  double zmin = 0, zmax = 0;
  scene.plot.GetZAxisMinMax(zmin, zmax);
  char title[64];
  std::snprintf(title, sizeof title, "%.3f Waves / contour", (zmax - zmin) / 20);
  scene.plot.Chart.SetTitle(kChartTitleId, title);

  gdi::ImageDeviceContext dc(500, 500);
  scene.Draw(dc, 500);
  EXPECT_GT(SavePicture(dc, "contour.png"), 15);
  // The obstruction's centre is white.
  const auto [left, top, width, height] = test::LimitsOf(scene.plot.Chart);
  EXPECT_EQ(dc.GetPixel(left + width / 2, top + height / 2), 0xFFFFFFu);
}

TEST(RenderedPlots, ProfileAcrossTheMirror) {
  const int n = 201;
  std::vector<double> x(n), y(n);
  for (int k = 0; k < n; ++k) {
    x[static_cast<std::size_t>(k)] = -1 + 2.0 * k / (n - 1);
    const double r = std::abs(x[static_cast<std::size_t>(k)]);
    y[static_cast<std::size_t>(k)] = r < 0.22 ? kBlankValue : Wavefront(x[static_cast<std::size_t>(k)], 0);
  }
  clsLineProfile plot;
  plot.Chart.SetAxisMinMax(kAxisBottom, -1, 1, -1);
  plot.Chart.AutoScaleMajor(kAxisBottom, -1, 1, 0);
  plot.Chart.AutoScaleMinor(kAxisBottom);
  plot.ScaleLimit = 0.05;
  plot.DeleteAllTraces();
  const std::int32_t id = plot.CreateTrace(n, 0);
  ASSERT_NE(id, 0);
  plot.PopulateTrace(id, x, y, n, 0);
  plot.AutoScale(kAxisLeft);
  plot.Chart.SetTitle(kAxisBottom, "Profile along 0 degs");
  plot.Chart.SetTitle(kAxisLeft, "Waves");
  plot.Chart.CreateTickLabels(kAxisBottom);
  plot.Chart.CreateTickLabels(kAxisLeft);

  gdi::ImageDeviceContext dc(600, 300);
  plot.Chart.CreateChartLimits(dc, 0, 0, 599, 300, false);
  plot.PlotRedraw(dc);
  EXPECT_GT(SavePicture(dc, "profile.png"), 1);
}

}  // namespace
}  // namespace orvale
