// Renders a synthetic mirror wavefront as a filled and as a wire surface, as the
// document and the surface window draw it, and writes the pictures into the test's
// temporary folder for a person to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <filesystem>
#include <set>

#include "app/plots/clsSurfacePlot.h"
#include "app/document/FloatingHorizon.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "tests/app/plots/SurfaceTestSupport.h"

namespace orvale {
namespace {

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

// Lays out and paints the surface as the window does: a 10-pixel margin, the horizon
// as wide as the drawing.
void Paint(clsSurfacePlot& plot, gdi::ImageDeviceContext& dc, double theta, double phi) {
  const int w = dc.Image().width(), h = dc.Image().height();
  ASSERT_TRUE(test::ViewSurface(plot, dc, theta, phi, {10, 10, w - 11, h - 11}));
  HorizonWidth = w;
  plot.PlotRedraw(dc);
}

void SavePicture(const gdi::ImageDeviceContext& dc, const char* name) {
  const std::filesystem::path file = PictureFolder() / name;
  EXPECT_TRUE(dc.Image().save(QString::fromStdString(file.string()))) << file;
}

TEST(RenderedSurface, FilledAndWireSurfacesOfAMirror) {
  constexpr int n = 61;
  for (const bool filled : {true, false}) {
    clsSurfacePlot plot;
    ASSERT_TRUE(test::LoadSurface(plot, test::PupilMesh(n), n, n, 20));
    plot.FillPolygons = filled;
    plot.Chart.SetTitle(kChart3DTitleId, "Mirror");
    gdi::ImageDeviceContext dc(640, 480);
    Paint(plot, dc, 30, 55);
    SavePicture(dc, filled ? "surface-filled.png" : "surface-wire.png");
    // Many level colours, the box and its labels.
    EXPECT_GT(DistinctColours(dc.Image()), 10);
  }
}

}  // namespace
}  // namespace orvale
