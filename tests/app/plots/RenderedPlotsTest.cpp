// Renders a contour map and a profile of a synthetic wavefront, as the document fills
// the two plots, and writes them as pictures into the test's temporary folder for a
// person to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cmath>
#include <filesystem>
#include <set>
#include <vector>

#include "app/plots/clsContourPlot.h"
#include "app/plots/clsLineProfile.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/runtime/Markers.h"
#include "tests/app/plots/PlotTestSupport.h"

namespace orvale {
namespace {

// A mirror with some defocus, astigmatism and spherical aberration, in waves.
double Wavefront(double x, double y) {
  const double r2 = x * x + y * y;
  return 0.12 * (2 * r2 - 1) + 0.08 * (x * x - y * y) + 0.1 * (6 * r2 * r2 - 6 * r2 + 1);
}

std::filesystem::path PictureFolder() {
  const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "orvale-plots";
  std::filesystem::create_directories(dir);
  return dir;
}

int DistinctColours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

TEST(RenderedPlots, ContourMapOfAnObstructedMirror) {
  const int n = 101;
  const test::ShapeSpec obstruction = test::ShapeSpec::Circle(100, 100, 22);
  std::vector<double> z(n * n);
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      const double x = -1 + 2.0 * i / (n - 1), y = 1 - 2.0 * j / (n - 1);
      const bool usable = x * x + y * y <= 1 && !obstruction.Contains(100 + 100 * x, 100 - 100 * y);
      z[static_cast<std::size_t>(j * n + i)] = usable ? Wavefront(x, y) : kBlankValue;
    }
  }
  clsContourPlot plot;
  for (std::int32_t axis : {kAxisBottom, kAxisLeft}) {
    plot.Chart.SetAxisMinMax(axis, -1, 1, -1);
    plot.Chart.AutoScaleMajor(axis, -1, 1, 0);
    plot.Chart.AutoScaleMinor(axis);
    plot.Chart.CreateTickLabels(axis);
  }
  plot.ScaleLimit = 0.05;
  ASSERT_TRUE(plot.CreateMesh({}, {}, z, n, n, false));
  plot.AutoScale(2);
  ASSERT_TRUE(plot.SetNumberofContours(20));
  ASSERT_TRUE(plot.CalculateContours());
  double zmin = 0, zmax = 0;
  plot.GetZAxisMinMax(zmin, zmax);
  char title[64];
  std::snprintf(title, sizeof title, "%.3f Waves / contour", (zmax - zmin) / 20);
  plot.Chart.SetTitle(kChartTitleId, title);
  const clsShape aperture = test::ShapeSpec::Circle(100, 100, 100).Make(clsShape::kAperture);
  const clsShape obstructionShape = obstruction.Make(clsShape::kObstruction);
  plot.SetApertureClippingRegion(aperture, test::PupilOfRadius100());
  plot.SetObstructionClippingRegion(obstructionShape, test::PupilOfRadius100());

  gdi::ImageDeviceContext dc(500, 500);
  plot.Chart.CreateChartLimits(dc, 0, 0, 499, 499, true);
  plot.PlotRedraw(dc);
  const std::filesystem::path file = PictureFolder() / "contour.png";
  ASSERT_TRUE(dc.Image().save(QString::fromStdString(file.string())));
  EXPECT_GT(DistinctColours(dc.Image()), 15);
  // The obstruction's centre is white.
  std::int32_t left, top, width, height;
  plot.Chart.GetPlotLimits(left, top, width, height);
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
  const std::filesystem::path file = PictureFolder() / "profile.png";
  ASSERT_TRUE(dc.Image().save(QString::fromStdString(file.string())));
  EXPECT_GT(DistinctColours(dc.Image()), 1);
}

}  // namespace
}  // namespace orvale
