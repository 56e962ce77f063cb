#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/plots/ConvexHull.h"
#include "app/plots/clsContourPlot.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/Markers.h"
#include "platform/ui/MessageService.h"
#include "tests/app/plots/PlotTestSupport.h"

namespace orvale {
namespace {

using test::PupilOfRadius100;
using test::ShapeSpec;

TEST(ContourPlot, MeshTooSmallIsRefusedWithAWarning) {
  ScriptedMessageService messages;
  ScopedMessageService scope(messages);
  clsContourPlot plot;
  const std::vector<double> z = {1, 2, 3, 4};
  ASSERT_TRUE(plot.CreateMesh({}, {}, z, 2, 2, false));
  EXPECT_FALSE(plot.CreateMesh({}, {}, z, 1, 4, false));
  EXPECT_FALSE(plot.CreateMesh({}, {}, z, 3, 3, false));  // fewer values than points
  ASSERT_EQ(messages.Messages().size(), 2u);
  EXPECT_EQ(messages.Messages()[0].text, "Not enough data points to draw contour map");
  EXPECT_EQ(messages.Messages()[0].title, "Warning");
  EXPECT_EQ(plot.MeshXSize(), 2);  // the previous mesh stays
}

TEST(ContourPlot, GeneratedCoordinatesRunFromMinusOneToOneWithYUp) {
  clsContourPlot plot;
  const std::vector<double> z(5 * 3, 0.0);
  ASSERT_TRUE(plot.CreateMesh({}, {}, z, 5, 3, false));
  plot.SetZAxisMinMax(0, 1);
  ASSERT_TRUE(plot.AutoScale(kAxisBottom));
  double mn = 0, mx = 0, cross = 0;
  plot.Chart.GetAxisMinMax(kAxisBottom, mn, mx, cross);
  EXPECT_EQ(mn, -1);  // the first mesh x
  EXPECT_EQ(mx, 1);   // the last mesh x
  // y falls from +1 at the top row to -1 at the bottom: the first and last values give
  // no rising range, and the axis gets the unit range instead of inverted limits.
  plot.AutoScale(kAxisLeft);
  plot.Chart.GetAxisMinMax(kAxisLeft, mn, mx, cross);
  EXPECT_EQ(mn, 0);
  EXPECT_EQ(mx, 1);
}

TEST(ContourPlot, LevelsSpreadFromTheMinimumUpToTheMaximum) {
  clsContourPlot plot;
  EXPECT_FALSE(plot.SetNumberofContours(0));
  EXPECT_FALSE(plot.CalculateContours());  // no levels
  ASSERT_TRUE(plot.SetNumberofContours(4));
  plot.SetZAxisMinMax(-1, 1);
  ASSERT_TRUE(plot.CalculateContours());
  EXPECT_EQ(std::vector<double>(plot.ContourLevels().begin(), plot.ContourLevels().end()),
            (std::vector<double>{-1, -0.5, 0, 0.5}));
  plot.SetZAxisMinMax(2, 2);
  EXPECT_FALSE(plot.CalculateContours());
  EXPECT_EQ(plot.ContourLevels()[1], -0.5);  // kept
}

TEST(ContourPlot, AutoScaleOfZSkipsBlankValues) {
  clsContourPlot plot;
  std::vector<double> z = {kBlankValue, 0.1, 0.7, kBlankValue, 0.3, 0.9};
  ASSERT_TRUE(plot.CreateMesh({}, {}, z, 3, 2, false));
  EXPECT_TRUE(plot.AutoScale(2));
  double mn = 0, mx = 0;
  plot.GetZAxisMinMax(mn, mx);
  EXPECT_EQ(mn, 0.1);  // a span of 0.8 is already round
  EXPECT_EQ(mx, 0.9);
  EXPECT_GT(plot.ZAxis().Major, 0);
  // An all-blank mesh gets a defined range too.
  std::fill(z.begin(), z.end(), kBlankValue);
  ASSERT_TRUE(plot.CreateMesh({}, {}, z, 3, 2, false));
  plot.SetZAxisMinMax(5, 7);
  plot.AutoScale(2);
  plot.GetZAxisMinMax(mn, mx);
  EXPECT_EQ(mn, 0);
  EXPECT_EQ(mx, 1);
  ASSERT_TRUE(plot.SetNumberofContours(10));
  EXPECT_TRUE(plot.CalculateContours());
}

TEST(ContourPlot, OneLevelIsDrawnInTheColourOfTheMinimum) {
  test::ContourScene scene(ShapeSpec::Circle(100, 100, 100), ShapeSpec::None(), 1);
  scene.plot.SetZAxisMinMax(0, 1);  // the one level, 0, crosses the wavefront
  ASSERT_TRUE(scene.plot.CalculateContours());
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 400));
  scene.DrawContours(dc);
  const auto lines = test::CallsNamed(dc, "LineTo");
  ASSERT_FALSE(lines.empty());
  for (const auto& r : lines) EXPECT_EQ(r.state.pen.color, 0xFF0000u);  // blue
}

TEST(ContourPlot, MonochromeDeviceDrawsEveryLevelInBlack) {
  test::ContourScene scene(ShapeSpec::Circle(100, 100, 100), ShapeSpec::None(), 12);
  gdi::DeviceCaps caps = gdi::DisplayCaps(400, 400);
  caps.bitsPixel = 1;
  gdi::RecordingDeviceContext dc(caps);
  scene.DrawContours(dc);
  const auto lines = test::CallsNamed(dc, "LineTo");
  ASSERT_GT(lines.size(), 100u);
  for (const auto& r : lines) EXPECT_EQ(r.state.pen, gdi::StockPen(gdi::BLACK_PEN));
  for (const auto& r : test::CallsNamed(dc, "SetPixel")) EXPECT_EQ(r.color, 0u);
}

TEST(ContourPlot, CircleObstructionIsPaintedWhiteAfterTheLines) {
  test::ContourScene scene(ShapeSpec::Circle(100, 100, 100), ShapeSpec::Circle(100, 100, 25), 12);
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 400));
  scene.Draw(dc);
  const auto& records = dc.Records();
  ASSERT_FALSE(records.empty());
  const gdi::DrawRecord& last = records.back();
  EXPECT_EQ(last.call, "Ellipse");
  EXPECT_EQ(last.state.brush, gdi::StockBrush(gdi::WHITE_BRUSH));
  // Over the obstruction's box, a quarter of the pupil's.
  const gdi::Rect plot = scene.PlotRect();
  EXPECT_NEAR(last.rect.Width(), plot.Width() / 4.0, 2);
  EXPECT_NEAR((last.rect.left + last.rect.right) / 2.0, (plot.left + plot.right) / 2.0, 1.5);
  int lineCount = 0;
  for (const auto& r : records) lineCount += r.call == "LineTo";
  EXPECT_GT(lineCount, 100);
  EXPECT_FALSE(dc.HasClip());
}

// Every aperture and obstruction type: no contour line is left inside the obstruction
// or outside the aperture, and the pupil between them is contoured.
TEST(ContourPlot, ClippingHoldsForEveryApertureAndObstructionPair) {
  const ShapeSpec apertures[] = {
      ShapeSpec::Circle(100, 100, 100),
      ShapeSpec::Ellipse(100, 100, 100, 70, 0.4),
      ShapeSpec::Polygon({{40, 30}, {160, 30}, {165, 160}, {100, 110}, {35, 160}}),
  };
  const ShapeSpec obstructions[] = {
      ShapeSpec::Circle(100, 100, 25),
      ShapeSpec::Ellipse(105, 95, 30, 18, -0.5),
      ShapeSpec::Polygon({{80, 80}, {125, 85}, {115, 120}, {85, 115}}),
  };
  for (const ShapeSpec& ap : apertures) {
    for (const ShapeSpec& ob : obstructions) {
      SCOPED_TRACE("aperture " + ap.Name() + ", obstruction " + ob.Name());
      // A coarse mesh: the cells at the pupil's edges reach well beyond it.
      test::ContourScene scene(ap, ob, 16, 31);
      gdi::ImageDeviceContext dc(400, 400);
      scene.Draw(dc);
      const test::PixelCounts counts = scene.CountPixels(dc);
      EXPECT_EQ(counts.insideObstruction, 0);
      EXPECT_EQ(counts.outsideAperture, 0);
      EXPECT_GT(counts.inPupil, 300);
    }
  }
}

TEST(ContourPlot, ConcavePolygonIsContouredOverItsHull) {
  // The mask fills a concave polygon to its hull; the notch holds data and lines.
  const ShapeSpec notched = ShapeSpec::Polygon({{40, 30}, {160, 30}, {165, 160}, {100, 60}, {35, 160}});
  test::ContourScene scene(notched, ShapeSpec::None(), 16);
  ASSERT_EQ(scene.plot.ApertureOutline().Count, 4);
  gdi::ImageDeviceContext dc(400, 400);
  scene.Draw(dc);
  EXPECT_GT(scene.CountPixelsWhere(dc, [](double px, double py) {
    // Inside the notch: below the notch vertex, between its two edges.
    return py > 100 && py < 150 && std::abs(px - 100) < 0.3 * (py - 60);
  }), 20);
}

TEST(ContourPlot, OutlinesHoldAtMostFiftyPoints) {
  clsContourPlot plot;
  clsShape ellipse = ShapeSpec::Ellipse(100, 100, 90, 60, 0.2).Make(clsShape::kAperture);
  plot.SetApertureClippingRegion(ellipse, PupilOfRadius100());
  EXPECT_EQ(plot.ApertureOutline().Count, 50);
  std::vector<PointD> many;
  for (int i = 0; i < 50; ++i) {
    const double t = i * 6.283185307179586 / 50;
    many.push_back({100 + 90 * std::cos(t), 100 + 90 * std::sin(t)});
  }
  clsShape polygon = ShapeSpec::Polygon(many).Make(clsShape::kObstruction);
  plot.SetObstructionClippingRegion(polygon, PupilOfRadius100());
  EXPECT_EQ(plot.ObstructionOutline().Count, 50);
  EXPECT_NEAR(plot.ObstructionOutline().Points[0].x * plot.ObstructionOutline().Points[0].x +
                  plot.ObstructionOutline().Points[0].y * plot.ObstructionOutline().Points[0].y,
              0.81, 1e-9);
}

TEST(ContourPlot, EndsOnOneDevicePointGiveOnePixelAndNoLine) {
  // A fine mesh drawn into a tiny plot: many segments shrink to a single pixel.
  test::ContourScene scene(ShapeSpec::Circle(100, 100, 100), ShapeSpec::None(), 8);
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(60, 60));
  scene.DrawContours(dc, 60);
  const auto pixels = test::CallsNamed(dc, "SetPixel");
  const auto lines = test::CallsNamed(dc, "LineTo");
  ASSERT_FALSE(pixels.empty());
  EXPECT_LT(lines.size(), pixels.size() - 10);
  // The pixel of a segment is its end point, in the level's colour.
  for (const auto& p : pixels) EXPECT_NE(p.color, 0xFFFFFFu);
}

TEST(ContourPlot, NothingIsDrawnWithoutAUsableRange) {
  test::ContourScene scene(ShapeSpec::Circle(100, 100, 100), ShapeSpec::None(), 8);
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 400));
  scene.plot.SetZAxisMinMax(1, 1);
  scene.DrawContours(dc);
  EXPECT_TRUE(test::CallsNamed(dc, "LineTo").empty());
  // A window too small for a plot.
  test::ContourScene tiny(ShapeSpec::Circle(100, 100, 100), ShapeSpec::None(), 8);
  gdi::RecordingDeviceContext small(gdi::DisplayCaps(400, 400));
  tiny.DrawContours(small, 12);
  EXPECT_TRUE(small.Records().empty()) << small.Log();
}

}  // namespace
}  // namespace orvale
