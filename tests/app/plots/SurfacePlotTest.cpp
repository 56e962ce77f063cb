#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "app/document/ColorRamps.h"
#include "app/document/FloatingHorizon.h"
#include "app/plots/clsSurfacePlot.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/Markers.h"
#include "platform/ui/MessageService.h"
#include "tests/app/plots/SurfaceTestSupport.h"

namespace orvale {
namespace {

using test::RecordsNamed;

// A plot over a fixed z range with `levels` levels and the given mesh, laid out for a
// parallel view in a 400 x 400 window.
struct SmallPlot {
  clsSurfacePlot plot;
  gdi::RecordingDeviceContext dc;

  SmallPlot(const std::vector<double>& z, int nx, int ny, double zMin, double zMax,
            std::int32_t levels, const gdi::DeviceCaps& caps = gdi::DisplayCaps(400, 400))
      : dc(caps) {
    for (const std::int32_t axis : {kAxisX, kAxisY}) plot.Chart.SetAxisMinMax(axis, -1, 1);
    plot.Chart.SetAxisMinMax(kAxisZ, zMin, zMax);
    EXPECT_TRUE(plot.CreateMesh({}, {}, z, nx, ny, false));
    EXPECT_TRUE(plot.SetNumberofContours(levels));
    EXPECT_TRUE(plot.CalculateContours());
  }
  bool View(double theta, double phi = 30) {
    return test::ViewSurface(plot, dc, theta, phi, {10, 10, 390, 390});
  }
};

TEST(SurfaceMesh, TooFewPointsAreRefusedAndTheOldMeshStays) {
  ScriptedMessageService messages;
  ScopedMessageService scope(messages);
  clsSurfacePlot plot;
  const std::vector<double> z(12, 0.5);
  ASSERT_TRUE(plot.CreateMesh({}, {}, z, 4, 3, false));
  struct Case {
    std::int32_t nx, ny;
    std::size_t values;
  };
  for (const Case c : {Case{1, 5, 12}, Case{5, 1, 12}, Case{0, 0, 12}, Case{4, 4, 12}}) {
    const std::vector<double> values(c.values, 0.5);
    EXPECT_FALSE(plot.CreateMesh({}, {}, values, c.nx, c.ny, false)) << c.nx << "x" << c.ny;
  }
  const std::vector<double> xy(12, 0);
  EXPECT_FALSE(plot.CreateMesh(xy, {}, z, 4, 3, true));  // no y values
  ASSERT_EQ(messages.Messages().size(), 5u);
  EXPECT_EQ(messages.Messages()[0].text, "Not enough data points to draw surface");
  EXPECT_EQ(messages.Messages()[0].title, "Warning");
  EXPECT_EQ(plot.MeshColumns(), 4);
  EXPECT_EQ(plot.MeshRows(), 3);
}

TEST(SurfaceLevels, LevelsNeedAtLeastOneAndSpreadOverTheZRange) {
  clsSurfacePlot plot;
  EXPECT_FALSE(plot.SetNumberofContours(0));
  EXPECT_FALSE(plot.SetNumberofContours(-3));
  EXPECT_EQ(plot.GetNumberofContours(), 0);
  ASSERT_TRUE(plot.SetNumberofContours(4));
  EXPECT_FALSE(plot.CalculateContours());  // no z range yet
  plot.Chart.SetAxisMinMax(kAxisZ, -1, 1);
  ASSERT_TRUE(plot.CalculateContours());
  EXPECT_EQ(std::vector<double>(plot.LevelValues().begin(), plot.LevelValues().end()),
            (std::vector<double>{-1, -0.5, 0, 0.5}));
}

// Ten levels over 0..1: a cell's level is its mean height's band, the top one included.
TEST(SurfaceLevels, ACellTakesTheBandOfItsMeanHeight) {
  struct Case {
    std::vector<double> corners;
    std::int32_t level;
  };
  const Case cases[] = {
      {{1, 1, 1, 1}, 9},
      {{0.95, 0.95, 0.95, 0.95}, 9},
      {{0.05, 0.05, 0.05, 0.05}, 0},
      {{0.2, 0.3, 0.4, 0.5}, 3},  // the mean of the four corners, 0.35
      {{7, 7, 7, 7}, 9},          // above the range
      {{kBlankValue, 0.4, 0.4, 0.4}, 3},  // a blank corner counts as the floor: 0.3
  };
  for (const Case& c : cases) {
    SmallPlot s(c.corners, 2, 2, 0, 1, 10);
    ASSERT_TRUE(s.View(30));
    EXPECT_EQ(s.plot.LevelIndex()[0], c.level) << c.corners[0] << " " << c.corners[1];
  }
}

TEST(SurfaceLevels, ABlankPointSitsOnTheFloor) {
  SmallPlot s({kBlankValue, 0.4, 0.4, 0.4}, 2, 2, 0, 1, 10);
  ASSERT_TRUE(s.View(30));
  const auto order = s.plot.TraversalOrder();
  const std::size_t at = static_cast<std::size_t>(std::find(order.begin(), order.end(), 0) - order.begin());
  // Mesh point 0 is x = -1, y = 1 on the floor of the box.
  EXPECT_EQ(s.plot.ScreenPoints()[at], s.plot.Chart.ProjectToScreen(s.plot.Chart.Project({-1, 1, -1})));
}

// The cells are visited back to front when filled, front to back for the wire mesh.
// Mesh points of a 4 x 3 mesh are numbered row by row from row 0.
TEST(SurfaceTraversal, TheAzimuthAndTheModeChooseTheOrder) {
  struct Case {
    bool filled;
    double theta;
    std::vector<std::int32_t> visits;  // the mesh points at traversal positions 0, 1 and 4
  };
  const Case cases[] = {
      {true, 30, {8, 9, 4}},      // q = 210: rows from the last, columns from the first
      {false, 30, {3, 2, 7}},     // q = 30: rows from the first, columns from the last
      {false, 10, {3, 2, 7}},     // the four quarters of q
      {false, 100, {0, 1, 4}},
      {false, 190, {8, 9, 4}},
      {false, 280, {11, 10, 7}},
      {false, 359.6, {3, 2, 7}},  // rounds to 360, which is 0
      {true, 350, {0, 1, 4}},     // q = 530 modulo 360 = 170
  };
  for (const Case& c : cases) {
    SmallPlot s(std::vector<double>(12, 0.5), 4, 3, 0, 1, 5);
    s.plot.FillPolygons = c.filled;
    ASSERT_TRUE(s.View(c.theta));
    const auto order = s.plot.TraversalOrder();
    EXPECT_EQ((std::vector<std::int32_t>{order[0], order[1], order[4]}), c.visits)
        << (c.filled ? "filled " : "wire ") << c.theta;
  }
}

TEST(SurfaceTraversal, AClosedSurfaceKeepsTheMeshOrder) {
  SmallPlot s({0.1, 0.2, 0.3, 0.4, 0.6, 0.6}, 3, 2, 0, 1, 10);
  s.plot.ClosedSurface = true;
  ASSERT_TRUE(s.View(30));
  const auto order = s.plot.TraversalOrder();
  EXPECT_EQ(std::vector<std::int32_t>(order.begin(), order.end()), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(s.plot.LevelIndex()[0], 3);  // (0.1 + 0.2 + 0.4 + 0.6) / 4
  EXPECT_EQ(s.plot.ScreenPoints()[5], s.plot.Chart.ProjectToScreen(s.plot.Chart.Project({1, -1, 0.2})));
}

TEST(SurfacePolygons, NeedAMeshLevelsAViewPointAndAZRange) {
  clsSurfacePlot plot;
  EXPECT_FALSE(plot.CreatePolygons());  // no mesh
  const std::vector<double> z(4, 0.5);
  plot.CreateMesh({}, {}, z, 2, 2, false);
  plot.Chart.SetAxisMinMax(kAxisZ, 0, 1);
  EXPECT_FALSE(plot.CreatePolygons());  // no levels
  plot.SetNumberofContours(3);
  EXPECT_FALSE(plot.CreatePolygons());  // view point not set
  bool recalc = false;
  plot.Chart.ChangeViewPoint(0, 30, 30, recalc);
  EXPECT_TRUE(plot.CreatePolygons());
  plot.Chart.SetCubeStretch(1, 1);
  ASSERT_TRUE(plot.Chart.ChangeViewPoint(2.5, 30, 30, recalc));
  EXPECT_TRUE(plot.CreatePolygons());
  plot.Chart.SetCubeStretch(3, 3);  // now the eye is inside the box
  EXPECT_FALSE(plot.CreatePolygons());
  EXPECT_EQ(plot.ScreenPoints().size(), 4u);  // the old polygons stay
}

TEST(SurfaceDrawing, FilledCellsGoBackToFrontInTheirLevelColours) {
  // 5 x 2 mesh rising from -1 to 1 along x: four cells, one per level.
  const std::vector<double> z = {-1, -0.5, 0, 0.5, 1, -1, -0.5, 0, 0.5, 1};
  SmallPlot s(z, 5, 2, -1, 1, 4);
  ASSERT_TRUE(s.View(30));
  s.dc.ClearRecords();
  s.plot.DrawMatrix(s.dc);
  const auto cells = RecordsNamed(s.dc, "Polygon");
  ASSERT_EQ(cells.size(), 4u);
  std::map<gdi::Color, int> colours;
  for (const gdi::DrawRecord& r : cells) {
    ++colours[r.state.brush.color];
    EXPECT_EQ(r.state.pen, gdi::StockPen(gdi::BLACK_PEN));
    EXPECT_EQ(r.state.polyFillMode, gdi::WINDING);
  }
  // The band middles -0.75, -0.25, 0.25 and 0.75 on the rainbow.
  for (double middle : {-0.75, -0.25, 0.25, 0.75}) EXPECT_EQ(colours[RainbowColor(middle, -1, 1)], 1) << middle;
  // The device's pen, brush and fill mode are back.
  EXPECT_EQ(s.dc.CurrentPen(), gdi::StockPen(gdi::BLACK_PEN));
  EXPECT_EQ(s.dc.CurrentBrush(), gdi::StockBrush(gdi::WHITE_BRUSH));
  EXPECT_EQ(s.dc.State().polyFillMode, gdi::ALTERNATE);

  s.plot.DrawMeshWithFill = false;
  s.dc.ClearRecords();
  s.plot.DrawMatrix(s.dc);
  for (const gdi::DrawRecord& r : RecordsNamed(s.dc, "Polygon")) EXPECT_TRUE(r.state.pen.IsNull());
}

TEST(SurfaceDrawing, AOneBitDeviceGetsGreyCellsAndABlackWireMesh) {
  gdi::DeviceCaps caps = gdi::DisplayCaps(400, 400);
  caps.bitsPixel = 1;
  const std::vector<double> z = {-1, -0.5, 0, 0.5, 1, -1, -0.5, 0, 0.5, 1};
  SmallPlot s(z, 5, 2, -1, 1, 4, caps);
  ASSERT_TRUE(s.View(30));
  s.dc.ClearRecords();
  s.plot.DrawMatrix(s.dc);
  for (const gdi::DrawRecord& r : RecordsNamed(s.dc, "Polygon")) {
    const gdi::Color c = r.state.brush.color;
    EXPECT_TRUE(gdi::GetRValue(c) == gdi::GetGValue(c) && gdi::GetGValue(c) == gdi::GetBValue(c)) << c;
  }
  s.plot.FillPolygons = false;
  ASSERT_TRUE(s.plot.CreatePolygons());
  s.dc.ClearRecords();
  s.plot.PlotRedraw(s.dc);
  std::size_t pixels = 0;
  for (const gdi::DrawRecord& r : RecordsNamed(s.dc, "SetPixels")) {
    pixels += r.points.size();
    EXPECT_EQ(r.color, 0u);
  }
  EXPECT_GT(pixels, 0u);
  for (const gdi::DrawRecord& r : RecordsNamed(s.dc, "LineTo")) EXPECT_EQ(r.state.pen.color, 0u);
}

TEST(SurfaceDrawing, APenThatCannotBeMadeDrawsNoWireMesh) {
  ScriptedMessageService messages;
  ScopedMessageService scope(messages);
  SmallPlot s(std::vector<double>(9, 0.5), 3, 3, 0, 1, 4);
  s.plot.FillPolygons = false;
  s.plot.PenStyle = 42;
  ASSERT_TRUE(s.View(30));
  s.dc.ClearRecords();
  ResetHorizon(400);
  s.plot.DrawMatrix(s.dc);
  ResetHorizon(0);
  EXPECT_TRUE(s.dc.Records().empty());
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].text, "Could not allocate enough pens");
  EXPECT_EQ(messages.Messages()[0].title, "Error");
}

// Under a horizon already standing at one height in every column, the wire mesh shows
// only above it, and each shown point raises its column to itself.
TEST(SurfaceDrawing, TheWireMeshShowsOnlyAboveTheHorizonAndRaisesIt) {
  SmallPlot s(test::PupilMesh(15), 15, 15, -0.3, 0.3, 10);
  s.plot.FillPolygons = false;
  ASSERT_TRUE(s.View(30, 50));
  constexpr std::int32_t kLevel = 200;
  ResetHorizon(399);
  std::fill(Horizon.begin(), Horizon.end(), kLevel);
  s.dc.ClearRecords();
  s.plot.DrawMatrix(s.dc);
  std::vector<std::int32_t> highest(400, kLevel);
  std::size_t shown = 0;
  for (const gdi::DrawRecord& r : s.dc.Records()) {
    if (r.call != "SetPixels" && r.call != "SetPixel") continue;
    for (const gdi::Point& p : r.points) {
      EXPECT_LT(p.y, highest[static_cast<std::size_t>(p.x)]) << "drawn at or below the horizon";
      highest[static_cast<std::size_t>(p.x)] = p.y;
      ++shown;
    }
  }
  EXPECT_GT(shown, 100u);
  EXPECT_EQ(Horizon, highest);
  ResetHorizon(0);
}

// The window's drawing width may exceed what the device has; the horizon never does.
TEST(SurfaceDrawing, TheHorizonNeverReachesPastTheDevice) {
  for (const std::int32_t asked : {0, 120, 1000000}) {
    SmallPlot s(test::PupilMesh(21), 21, 21, -0.3, 0.3, 10, gdi::DisplayCaps(200, 200));
    s.plot.FillPolygons = false;
    ASSERT_TRUE(test::ViewSurface(s.plot, s.dc, 30, 40, {-100, 10, 300, 190}));
    HorizonWidth = asked;
    s.dc.ClearRecords();
    s.plot.PlotRedraw(s.dc);
    EXPECT_EQ(HorizonWidth, 0);
    EXPECT_TRUE(Horizon.empty());
    EXPECT_EQ(HorizonDC, nullptr);
    const std::int32_t lastColumn = asked == 120 ? 120 : 200;
    std::size_t shown = 0;
    for (const gdi::DrawRecord& r : RecordsNamed(s.dc, "SetPixels")) {
      for (const gdi::Point& p : r.points) {
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.x, lastColumn);
        ++shown;
      }
    }
    EXPECT_GT(shown, 100u) << asked;
  }
}

TEST(SurfaceAutoScale, ZFollowsTheDataAndAnAllBlankMeshGetsAUnitRange) {
  clsSurfacePlot plot;
  EXPECT_FALSE(plot.AutoScale(kAxisZ));  // no mesh
  const std::vector<double> data = {kBlankValue, 0.12, -0.31, 0.44};
  ASSERT_TRUE(plot.CreateMesh({}, {}, data, 2, 2, false));
  EXPECT_TRUE(plot.AutoScale(kAxisZ));
  double lo = 0, hi = 0;
  plot.Chart.GetAxisMinMax(kAxisZ, lo, hi);
  EXPECT_LE(lo, -0.31);
  EXPECT_GE(hi, 0.44);
  EXPECT_GT(lo, -1);
  EXPECT_LT(hi, 1);
  EXPECT_FALSE(plot.AutoScale(kAxisZ));  // the same data, the same range

  const std::vector<double> blank(4, kBlankValue);
  clsSurfacePlot empty;
  ASSERT_TRUE(empty.CreateMesh({}, {}, blank, 2, 2, false));
  EXPECT_TRUE(empty.AutoScale(kAxisZ));
  empty.Chart.GetAxisMinMax(kAxisZ, lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 1);
  EXPECT_DOUBLE_EQ(empty.Chart.Axis(kAxisZ).Major, 0.2);
}

TEST(SurfaceAutoScale, XAndYCoverTheMeshWhicheverWayItRuns) {
  clsSurfacePlot plot;
  ASSERT_TRUE(plot.CreateMesh({}, {}, std::vector<double>(9, 0), 3, 3, false));
  for (const std::int32_t axis : {kAxisX, kAxisY}) {
    plot.AutoScale(axis);
    double lo = 0, hi = 0;
    plot.Chart.GetAxisMinMax(axis, lo, hi);
    EXPECT_EQ(lo, -1) << axis;  // y runs from 1 at row 0 down to -1
    EXPECT_EQ(hi, 1) << axis;
  }
}

}  // namespace
}  // namespace orvale
