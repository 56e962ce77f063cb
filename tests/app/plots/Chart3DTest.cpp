#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "app/document/FloatingHorizon.h"
#include "app/plots/clsChart3D.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/Markers.h"
#include "platform/ui/MessageService.h"
#include "tests/app/plots/SurfaceTestSupport.h"

namespace orvale {
namespace {

using test::RecordsNamed;

// A chart with the document's x and y axes and a z axis from `zMin` to `zMax`, labelled.
void PrepareChart(clsChart3D& chart, double zMin = 0, double zMax = 1) {
  for (const std::int32_t axis : {kAxisX, kAxisY}) {
    chart.SetAxisMinMax(axis, -1, 1);
    chart.AutoScaleMajor(axis, -1, 1, 0);
    chart.AutoScaleMinor(axis);
    chart.CreateTickLabels(axis);
  }
  chart.SetAxisMinMax(kAxisZ, zMin, zMax);
  chart.AutoScaleMajor(kAxisZ, zMin, zMax, 0);
  chart.AutoScaleMinor(kAxisZ);
  chart.CreateTickLabels(kAxisZ);
}

TEST(Chart3DViewPoint, AcceptsOnlyViewPointsInRange) {
  struct Case {
    double r, theta, phi;
    bool accepted;
  };
  const Case cases[] = {
      {0, 360, 90, true},   {0, 0, 0, true},      {0, 360.5, 30, false}, {-1, 30, 30, false},
      {0, 30, 91, false},   {0, -0.5, 30, false}, {0, 30, -1, false},    {10, 30, 30, true},
      // A perspective eye inside the box, or on its surface, sees no picture of it.
      {1, 30, 30, false},   {1, 0, 90, false},    {0.5, 200, 10, false},
  };
  for (const Case& c : cases) {
    clsChart3D chart;
    bool recalc = false;
    EXPECT_EQ(chart.ChangeViewPoint(c.r, c.theta, c.phi, recalc), c.accepted)
        << c.r << ", " << c.theta << ", " << c.phi;
    EXPECT_EQ(recalc, c.accepted);
    double r = 0, theta = 0, phi = 0;
    chart.GetViewPoint(r, theta, phi);
    if (c.accepted) {
      EXPECT_EQ(r, c.r);
      EXPECT_EQ(theta, c.theta);
      EXPECT_EQ(phi, c.phi);
    } else {
      EXPECT_EQ(theta, -1);  // still not set
      EXPECT_EQ(phi, -1);
    }
  }
}

TEST(Chart3DViewPoint, RepeatingTheViewPointNeedsNoRecalculation) {
  clsChart3D chart;
  bool recalc = false;
  EXPECT_TRUE(chart.ChangeViewPoint(0, 30, 30, recalc));
  EXPECT_TRUE(recalc);
  EXPECT_TRUE(chart.ChangeViewPoint(0, 30, 30, recalc));
  EXPECT_FALSE(recalc);
  EXPECT_TRUE(chart.ChangeViewPoint(0, 31, 30, recalc));
  EXPECT_TRUE(recalc);
  recalc = true;
  EXPECT_FALSE(chart.ChangeViewPoint(0, 400, 30, recalc));
  EXPECT_TRUE(recalc);  // a refused view point leaves Recalc alone
}

TEST(Chart3DViewPoint, AnUnsetViewPointLaysOutAndDrawsNothing) {
  ScriptedMessageService messages;
  ScopedMessageService scope(messages);
  clsChart3D chart;
  PrepareChart(chart);
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 300));
  chart.CreateChartLimits(dc, 10, 10, 390, 290);
  chart.ChartRedraw(dc);
  EXPECT_TRUE(dc.Records().empty());
  EXPECT_TRUE(chart.LabelBoxes(kAxisX).empty());
  EXPECT_TRUE(messages.Messages().empty());
}

TEST(Chart3DViewPoint, ABoxStretchedRoundThePerspectiveEyeDrawsNothing) {
  clsChart3D chart;
  PrepareChart(chart);
  bool recalc = false;
  ASSERT_TRUE(chart.ChangeViewPoint(3, 30, 60, recalc));
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 300));
  chart.CreateChartLimits(dc, 10, 10, 390, 290);
  EXPECT_TRUE(chart.ViewUsable());
  chart.SetCubeStretch(4, 4);  // the eye is now inside the box
  EXPECT_FALSE(chart.ViewUsable());
  dc.ClearRecords();
  chart.CreateChartLimits(dc, 10, 10, 390, 290);
  chart.ChartRedraw(dc);
  EXPECT_TRUE(dc.Records().empty());
}

// Azimuth octants: which corner carries the z axis and on which side it stands.
TEST(Chart3DLayout, TheAzimuthRoundsIntoItsOctant) {
  struct Case {
    double theta;
    bool zOnLeft;
    bool labelSide;
    Point3D zFoot;  // the z axis's lower end
  };
  const Case cases[] = {
      {44.4, true, false, {1, -1, -1}},   {44.6, false, false, {-1, 1, -1}},
      {100, true, true, {1, 1, -1}},      {150, false, true, {-1, -1, -1}},
      {200, true, false, {-1, 1, -1}},    {250, false, false, {1, -1, -1}},
      {300, true, true, {-1, -1, -1}},    {359.6, true, false, {1, -1, -1}},
  };
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 300));
  for (const Case& c : cases) {
    clsChart3D chart;
    PrepareChart(chart);
    bool recalc = false;
    ASSERT_TRUE(chart.ChangeViewPoint(0, c.theta, 30, recalc));
    chart.CreateChartLimits(dc, 10, 10, 390, 290);
    EXPECT_EQ(chart.ZAxisOnLeft(), c.zOnLeft) << c.theta;
    EXPECT_EQ(chart.LabelSide(), c.labelSide) << c.theta;
    EXPECT_EQ(chart.AxisStartPixel(kAxisZ), chart.ProjectToScreen(chart.Project(c.zFoot))) << c.theta;
    // The z axis stands at the left or right edge of the projected box.
    const gdi::Point foot = chart.AxisStartPixel(kAxisZ);
    const gdi::Point other = chart.ProjectToScreen(chart.Project({-c.zFoot.x, -c.zFoot.y, -1}));
    EXPECT_EQ(foot.x < other.x, c.zOnLeft) << c.theta;
  }
}

TEST(Chart3DLayout, TheZTitleTurnsToReadAlongItsSide) {
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 300));
  clsChart3D chart;
  PrepareChart(chart);
  bool recalc = false;
  EXPECT_EQ(chart.Axis(kAxisZ).TitleFont.Escapement, kText90Degrees);
  chart.ChangeViewPoint(0, 60, 30, recalc);  // z axis on the right
  chart.CreateChartLimits(dc, 10, 10, 390, 290);
  EXPECT_EQ(chart.Axis(kAxisZ).TitleFont.Escapement, kText270Degrees);
  chart.ChangeViewPoint(0, 30, 30, recalc);  // back on the left
  chart.CreateChartLimits(dc, 10, 10, 390, 290);
  EXPECT_EQ(chart.Axis(kAxisZ).TitleFont.Escapement, kText90Degrees);
}

bool Inside(const clsChart3D::TextBox& b, const gdi::Rect& r) {
  return b.left >= r.left && b.top >= r.top && b.right() <= r.right && b.bottom() <= r.bottom;
}

// From every side and height the box, its labels and titles stay inside the rectangle.
TEST(Chart3DLayout, LabelsAndTitlesFitTheRectangleFromEveryViewPoint) {
  gdi::ImageDeviceContext dc(500, 400);
  const gdi::Rect area{10, 10, 489, 389};
  for (double phi : {15.0, 45.0, 80.0}) {
    for (double theta = 0; theta < 360; theta += 20) {
      clsChart3D chart;
      PrepareChart(chart, -0.25, 0.35);
      chart.SetTitle(kChart3DTitleId, "Wavefront");
      bool recalc = false;
      ASSERT_TRUE(chart.ChangeViewPoint(0, theta, phi, recalc));
      chart.CreateChartLimits(dc, area.left, area.top, area.right, area.bottom);
      SCOPED_TRACE(testing::Message() << "theta " << theta << " phi " << phi);
      for (const std::int32_t axis : {kAxisX, kAxisY, kAxisZ}) {
        EXPECT_EQ(chart.LabelBoxes(axis).size(), 6u);
        for (const auto& box : chart.LabelBoxes(axis)) EXPECT_TRUE(Inside(box, area)) << axis;
        EXPECT_FALSE(chart.AxisTitleBox(axis).empty());
        EXPECT_TRUE(Inside(chart.AxisTitleBox(axis), area)) << axis;
        EXPECT_TRUE(Inside(chart.ChartTitleBox(), area));
      }
      // No x or y label lies over its axis line: the line runs outside every box.
      for (const std::int32_t axis : {kAxisX, kAxisY}) {
        const gdi::Point s = chart.AxisStartPixel(axis), e = chart.AxisEndPixel(axis);
        for (int k = 0; k <= 50; ++k) {
          const int x = s.x + (e.x - s.x) * k / 50, y = s.y + (e.y - s.y) * k / 50;
          for (const auto& box : chart.LabelBoxes(axis))
            EXPECT_FALSE(x >= box.left && x <= box.right() && y >= box.top && y <= box.bottom())
                << "axis " << axis << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(Chart3DLayout, LookingStraightDownTheZAxisShowsOneLabel) {
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 400));
  clsChart3D chart;
  PrepareChart(chart, 100, 200);  // labels 100, 120 ... 200: none shared with x and y
  bool recalc = false;
  ASSERT_TRUE(chart.ChangeViewPoint(0, 30, 0, recalc));
  chart.CreateChartLimits(dc, 10, 10, 390, 390);
  dc.ClearRecords();
  chart.ChartRedraw(dc);
  const std::set<std::string> zLabels = {"100", "120", "140", "160", "180", "200"};
  int shown = 0;
  for (const gdi::DrawRecord& r : RecordsNamed(dc, "TextOut")) shown += zLabels.count(r.text);
  EXPECT_EQ(shown, 1);
}

TEST(Chart3DMapping, DataMapsOntoTheBoxAndClampsToIt) {
  clsChart3D chart;
  chart.SetCubeStretch(0.5, 0.25);
  chart.SetAxisMinMax(kAxisX, 0, 10);
  chart.SetAxisMinMax(kAxisY, -2, 2);
  chart.SetAxisMinMax(kAxisZ, 1, 3);
  chart.SetAxisMinMax(kAxisZ, 5, 5);  // an empty range is ignored
  double x = 5, y = 2, z = 2;
  chart.MapWorldToScaled(x, y, z);
  EXPECT_DOUBLE_EQ(x, 0);
  EXPECT_DOUBLE_EQ(y, 0.5);
  EXPECT_DOUBLE_EQ(z, 0);
  for (const double below : {0.0, kBlankValue}) {
    x = 20, y = -9, z = below;
    chart.MapWorldToScaled(x, y, z);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, -0.5);
    EXPECT_EQ(z, -0.25);  // on the floor
  }
}

TEST(Chart3DMapping, AParallelViewFillsTheRectangleUnlessTheBoxKeepsItsShape) {
  clsChart3D chart;
  bool recalc = false;
  chart.ChangeViewPoint(0, 30, 50, recalc);
  const auto span = [&chart] {
    int minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30, maxY = -(1 << 30);
    for (double x : {-1.0, 1.0})
      for (double y : {-1.0, 1.0})
        for (double z : {-1.0, 1.0}) {
          const gdi::Point p = chart.ProjectToScreen(chart.Project({x, y, z}));
          minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
          minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    return gdi::Rect{minX, minY, maxX, maxY};
  };
  chart.CalcScaleFactors(0, 0, 400, 200);
  EXPECT_EQ(span(), (gdi::Rect{0, 0, 400, 200}));
  chart.FitAspectRatio = false;
  chart.CalcScaleFactors(0, 0, 400, 200);
  double xs = 0, ys = 0, xo = 0, yo = 0;
  chart.GetScaleFactors(xs, ys, xo, yo);
  EXPECT_EQ(xs, ys);
  EXPECT_EQ(span().top, 0);
  EXPECT_EQ(span().bottom, 200);
  EXPECT_LT(span().Width(), 400);
}

TEST(Chart3DMapping, AFlatProjectedBoxIsReportedAndFallsBackToUnitScales) {
  ScriptedMessageService messages;
  ScopedMessageService scope(messages);
  clsChart3D chart;
  bool recalc = false;
  chart.ChangeViewPoint(0, 0, 90, recalc);  // the x direction points at the eye
  chart.SetCubeStretch(0, 1);
  chart.CalcScaleFactors(0, 0, 400, 300);
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].text, "Internal Application Error");
  EXPECT_EQ(messages.Messages()[0].title, "Error");
  double xs = 0, ys = 0, xo = 9, yo = 9;
  chart.GetScaleFactors(xs, ys, xo, yo);
  EXPECT_EQ(xs, 1);
  EXPECT_EQ(ys, 1);
  EXPECT_EQ(xo, 0);
  EXPECT_EQ(yo, 0);
}

TEST(Chart3DAxes, DefaultsAndTitles) {
  clsChart3D chart;
  EXPECT_EQ(chart.Axis(kAxisX).TitleFont.Caption, "X");
  EXPECT_EQ(chart.Axis(kAxisY).TitleFont.Caption, "Y");
  EXPECT_EQ(chart.Axis(kAxisZ).TitleFont.Caption, "Z Axis");
  EXPECT_EQ(chart.Axis(kAxisZ).LabelDigits, 3);
  EXPECT_FALSE(chart.Axis(kAxisX).AutoCross);
  chart.SetTitle(kChart3DTitleId, "Surface");
  chart.SetTitle(kAxisZ, "Waves");
  EXPECT_EQ(chart.ChartTitle().Caption, "Surface");
  EXPECT_EQ(chart.Axis(kAxisZ).TitleFont.Caption, "Waves");
  chart.SetChartDefaults();
  EXPECT_EQ(chart.ChartTitle().Caption, "");
  EXPECT_EQ(chart.Axis(kAxisZ).TitleFont.Caption, "Z Axis");
}

// The frame's members reach the shared axis scaling with its own label digits.
TEST(Chart3DAxes, AutomaticSpacingAndLabels) {
  clsChart3D chart;
  chart.SetAxisMinMax(kAxisZ, 0, 1);
  chart.AutoScaleMajor(kAxisZ, 0, 1, 0);
  chart.AutoScaleMinor(kAxisZ);
  chart.CreateTickLabels(kAxisZ);
  EXPECT_DOUBLE_EQ(chart.Axis(kAxisZ).Major, 0.2);
  EXPECT_DOUBLE_EQ(chart.Axis(kAxisZ).Minor, 0.04);
  EXPECT_EQ(chart.Axis(kAxisZ).NumLabels, 6);
  EXPECT_EQ(chart.Axis(kAxisZ).LabelFont.Caption, "0|0.2|0.4|0.6|0.8|1|");
  EXPECT_EQ(chart.GetSFExponent(kAxisZ), 0);
  EXPECT_EQ(clsChart3D::Exp2Idx(-3), 11);
}

TEST(Chart3DDrawing, BackWallsAreAnOutlineAndTheirSharedEdge) {
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 400));
  clsChart3D chart;
  PrepareChart(chart);
  bool recalc = false;
  chart.ChangeViewPoint(0, 30, 30, recalc);
  chart.CreateChartLimits(dc, 10, 10, 390, 390);
  dc.ClearRecords();
  chart.ChartRedraw(dc);
  const auto polylines = RecordsNamed(dc, "Polyline");
  ASSERT_EQ(polylines.size(), 1u);
  const std::vector<gdi::Point>& wall = polylines[0].points;
  ASSERT_EQ(wall.size(), 6u);
  // At azimuth 30 the walls stand at x = -1 and y = -1, away from the eye.
  EXPECT_EQ(wall[1], chart.ProjectToScreen(chart.Project({-1, -1, 1})));
  EXPECT_EQ(wall[4], chart.ProjectToScreen(chart.Project({-1, -1, -1})));
  const auto lines = RecordsNamed(dc, "LineTo");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().points, (std::vector<gdi::Point>{wall[1], wall[4]}));
  EXPECT_TRUE(RecordsNamed(dc, "Polygon").empty());  // no floor by default
  chart.DrawFloor = true;
  dc.ClearRecords();
  chart.ChartRedraw(dc);
  const auto floor = RecordsNamed(dc, "Polygon");
  ASSERT_EQ(floor.size(), 1u);
  EXPECT_EQ(floor[0].state.brush.color, 0x888888u);
}

// Behind a wire surface the walls show only above the horizon and never raise it.
TEST(Chart3DDrawing, BackWallsBehindAHorizonShowOnlyAboveIt) {
  gdi::RecordingDeviceContext dc(gdi::DisplayCaps(400, 400));
  clsChart3D chart;
  PrepareChart(chart);
  chart.WallPen = {0, 0, gdi::RGB(0, 128, 0)};
  bool recalc = false;
  chart.ChangeViewPoint(0, 30, 30, recalc);
  chart.CreateChartLimits(dc, 10, 10, 390, 390);
  dc.ClearRecords();
  constexpr std::int32_t kLevel = 150;
  ResetHorizon(399);
  std::fill(Horizon.begin(), Horizon.end(), kLevel);
  chart.ChartRedraw(dc);
  const std::vector<std::int32_t> after = Horizon;
  ResetHorizon(0);
  EXPECT_TRUE(RecordsNamed(dc, "Polyline").empty());
  int shown = 0;
  for (const gdi::DrawRecord& r : RecordsNamed(dc, "SetPixels")) {
    EXPECT_EQ(r.color, gdi::RGB(0, 128, 0));
    for (const gdi::Point& p : r.points) {
      EXPECT_LT(p.y, kLevel);
      ++shown;
    }
  }
  EXPECT_GT(shown, 100);
  EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](std::int32_t y) { return y == kLevel; }));
}

}  // namespace
}  // namespace orvale
