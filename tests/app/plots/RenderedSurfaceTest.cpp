// Renders a synthetic mirror wavefront as a filled and as a wire surface, as the
// document and the surface window draw it, and writes the pictures into the test's
// temporary folder for a person to look at.
#include <gtest/gtest.h>

#include "app/document/FloatingHorizon.h"
#include "app/plots/clsSurfacePlot.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "tests/app/plots/PlotPictures.h"
#include "tests/app/plots/SurfaceTestSupport.h"

namespace orvale {
namespace {

// Lays out and paints the surface as the window does: a 10-pixel margin, the horizon
// as wide as the drawing.
void Paint(clsSurfacePlot& plot, gdi::ImageDeviceContext& dc, double theta, double phi) {
  const int w = dc.Image().width(), h = dc.Image().height();
  ASSERT_TRUE(test::ViewSurface(plot, dc, theta, phi, {10, 10, w - 11, h - 11}));
  HorizonWidth = w;
  plot.PlotRedraw(dc);
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
    // Many level colours, the box and its labels.
    EXPECT_GT(test::SavePicture(dc, filled ? "surface-filled.png" : "surface-wire.png"), 10);
  }
}

}  // namespace
}  // namespace orvale
