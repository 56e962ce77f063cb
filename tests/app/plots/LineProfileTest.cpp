#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <vector>

#include "app/plots/clsLineProfile.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/Markers.h"
#include "tests/app/plots/PlotTestSupport.h"

namespace orvale {
namespace {

// A profile as the document loads it: x from -1 to 1, the bottom axis fixed at -1..1.
struct Profile {
  std::vector<double> x;
  std::vector<double> y;
  explicit Profile(int n) : x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n)) {
    for (int k = 0; k < n; ++k) {
      x[static_cast<std::size_t>(k)] = -1 + 2.0 * k / (n - 1);
      y[static_cast<std::size_t>(k)] = 0.5 * x[static_cast<std::size_t>(k)] * x[static_cast<std::size_t>(k)];
    }
  }
};

std::int32_t Load(clsLineProfile& plot, const Profile& p) {
  plot.Chart.SetAxisMinMax(kAxisBottom, -1, 1, -1);
  plot.Chart.AutoScaleMajor(kAxisBottom, -1, 1, 0);
  plot.Chart.AutoScaleMinor(kAxisBottom);
  const std::int32_t id = plot.CreateTrace(static_cast<std::int32_t>(p.x.size()), 0);
  plot.PopulateTrace(id, p.x, p.y, static_cast<std::int32_t>(p.x.size()), 0);
  return id;
}

// Lays the chart out in a recording context and returns the trace's polyline.
std::vector<gdi::Point> DrawnPolyline(clsLineProfile& plot, gdi::RecordingDeviceContext& dc) {
  plot.Chart.CreateTickLabels(kAxisBottom);
  plot.Chart.CreateTickLabels(kAxisLeft);
  plot.Chart.CreateChartLimits(dc, 0, 0, 499, 299, false);
  dc.ClearRecords();
  plot.PlotRedraw(dc);
  for (const gdi::DrawRecord& r : dc.Records())
    if (r.call == "Polyline" && r.points.size() > 5) return r.points;
  return {};
}

TEST(LineProfile, CreateTraceRefusesCountsBelowOne) {
  clsLineProfile plot;
  EXPECT_EQ(plot.CreateTrace(0, 0), 0);
  EXPECT_EQ(plot.CreateTrace(-5, 0), 0);
  EXPECT_EQ(plot.NumValues(), 0);
  EXPECT_EQ(plot.NumTraces(), 0);
  EXPECT_EQ(plot.CreateTrace(4, 0), 1);
  EXPECT_EQ(plot.CreateTrace(-3, 0), 0);  // would shrink the values of trace 1
  EXPECT_EQ(plot.NumValues(), 4);
  EXPECT_EQ(plot.CreateTrace(2147483647, 0), 0);
  EXPECT_EQ(plot.NumTraces(), 1);
}

TEST(LineProfile, PopulateCopiesUpToTheCapacity) {
  clsLineProfile plot;
  const std::int32_t id = plot.CreateTrace(3, 0);
  const std::vector<double> x = {9, 1, 2, 3, 4, 5};
  const std::vector<double> y = {9, 10, 20, 30, 40, 50};
  plot.PopulateTrace(id, x, y, 6, 1);  // one-based: starts at element 1
  EXPECT_EQ(plot.Trace(id)->NumPoints, 3);
  EXPECT_EQ(plot.Trace(id)->XStep, 1);
  EXPECT_EQ(std::vector<double>(plot.YValues().begin(), plot.YValues().end()), (std::vector<double>{10, 20, 30}));
  // One point: XStep stays.
  const std::int32_t one = plot.CreateTrace(5, 0);
  plot.PopulateTrace(one, x, y, 1, 0);
  EXPECT_EQ(plot.Trace(one)->NumPoints, 1);
  EXPECT_EQ(plot.Trace(one)->XStep, 0);
  // Arrays shorter than asked for are read only as far as they go.
  plot.PopulateTrace(one, std::vector<double>{1, 2}, std::vector<double>{3, 4}, 5, 0);
  EXPECT_EQ(plot.Trace(one)->NumPoints, 2);
}

TEST(LineProfile, DeleteTraceMovesTheLaterTracesDown) {
  clsLineProfile plot;
  const std::vector<double> a = {1, 2}, b = {3, 4, 5}, c = {6};
  plot.PopulateTrace(plot.CreateTrace(2, 0), a, a, 2, 0);
  plot.PopulateTrace(plot.CreateTrace(3, 0), b, b, 3, 0);
  plot.PopulateTrace(plot.CreateTrace(1, 0), c, c, 1, 0);
  plot.DeleteTrace(2);
  ASSERT_EQ(plot.NumTraces(), 2);
  EXPECT_EQ(plot.NumValues(), 3);
  EXPECT_EQ(plot.Trace(2)->Offset, 2);
  EXPECT_EQ(std::vector<double>(plot.XValues().begin(), plot.XValues().end()), (std::vector<double>{1, 2, 6}));
  plot.DeleteTrace(7);  // no such trace
  EXPECT_EQ(plot.NumTraces(), 2);
  plot.DeleteTrace(1);
  plot.DeleteTrace(1);
  EXPECT_EQ(plot.NumTraces(), 0);
  EXPECT_EQ(plot.NumValues(), 0);
}

TEST(LineProfile, AutoScaleIgnoresBlankValues) {
  clsLineProfile plot;
  EXPECT_FALSE(plot.AutoScale(kAxisLeft));  // no traces
  Profile p(21);
  p.y[3] = kBlankValue;
  p.y[10] = -0.2;
  Load(plot, p);
  EXPECT_TRUE(plot.AutoScale(kAxisLeft));
  double mn = 0, mx = 0;
  plot.GetYAxisMinMax(mn, mx);
  EXPECT_LE(mn, -0.2);
  EXPECT_GT(mn, -1);  // the blank value is not the minimum
  EXPECT_GE(mx, 0.5);
}

TEST(LineProfile, AutoScaleOfAnAllBlankTraceGivesADefinedRange) {
  clsLineProfile plot;
  Profile p(11);
  std::fill(p.y.begin(), p.y.end(), kBlankValue);
  Load(plot, p);
  plot.AutoScale(kAxisLeft);
  double mn = 0, mx = 0;
  plot.GetYAxisMinMax(mn, mx);
  EXPECT_EQ(mn, 0);
  EXPECT_EQ(mx, 1);
  // Only the minimum automatic: it comes to lie below the fixed maximum.
  plot.Chart.Axis(kAxisLeft).AutoMax = false;
  plot.SetYAxisMinMax(0, -4);
  plot.AutoScale(kAxisLeft);
  plot.GetYAxisMinMax(mn, mx);
  EXPECT_EQ(mx, -4);
  EXPECT_LT(mn, mx);
}

TEST(LineProfile, FixedRangeKeepsItsLimitsAndChecksTheBounds) {
  clsLineProfile plot;
  Profile p(11);
  p.y[5] = 1E6;
  const std::int32_t id = Load(plot, p);
  ChartAxis& y = plot.Chart.Axis(kAxisLeft);
  y.AutoMin = y.AutoMax = false;
  plot.SetYAxisMinMax(0, 1);
  gdi::RecordingDeviceContext dc;
  DrawnPolyline(plot, dc);  // gives the plot its rectangle
  EXPECT_FALSE(plot.AutoScale(kAxisLeft));
  double mn = 0, mx = 0;
  plot.GetYAxisMinMax(mn, mx);
  EXPECT_EQ(mn, 0);
  EXPECT_EQ(mx, 1);
  EXPECT_TRUE(plot.Trace(id)->ClampY);
}

TEST(LineProfile, BlankPointDropsToTheBottomEdge) {
  clsLineProfile plot;
  Profile p(21);
  p.y[10] = kBlankValue;
  Load(plot, p);
  plot.AutoScale(kAxisLeft);
  gdi::RecordingDeviceContext dc;
  const std::vector<gdi::Point> line = DrawnPolyline(plot, dc);
  ASSERT_EQ(line.size(), 21u);
  const auto [left, top, width, height] = test::LimitsOf(plot.Chart);
  EXPECT_EQ(line[10].y, top + height - 1);
  EXPECT_LT(line[9].y, top + height - 1);
  EXPECT_LT(line[11].y, top + height - 1);
  EXPECT_EQ(line.front().x, left);
  EXPECT_EQ(line.back().x, left + width - 1);
}

TEST(LineProfile, HugeValuesAreClampedOnEveryRange) {
  for (const bool automatic : {false, true}) {
    clsLineProfile plot;
    Profile p(11);
    p.y[4] = 1E30;
    p.y[6] = -1E30;
    Load(plot, p);
    if (automatic) {
      plot.AutoScale(kAxisLeft);
    } else {
      plot.SetYAxisMinMax(0, 1);
    }
    gdi::RecordingDeviceContext dc;
    const std::vector<gdi::Point> line = DrawnPolyline(plot, dc);
    ASSERT_EQ(line.size(), 11u);
    for (const gdi::Point& q : line) {
      EXPECT_LE(std::abs(q.x), 32000);
      EXPECT_LE(std::abs(q.y), 32000);
    }
    if (!automatic) {
      EXPECT_EQ(line[4].y, -32000);
      EXPECT_EQ(line[6].y, 32000);
    }
  }
}

TEST(LineProfile, WindowTooSmallForAPlotDrawsNothing) {
  clsLineProfile plot;
  const std::int32_t id = Load(plot, Profile(11));
  plot.AutoScale(kAxisLeft);
  gdi::RecordingDeviceContext dc;
  plot.Chart.CreateChartLimits(dc, 0, 0, 9, 9, false);  // the ticks alone take 7 pixels
  ASSERT_EQ(test::LimitsOf(plot.Chart).width, 0);
  dc.ClearRecords();
  plot.PlotRedraw(dc);
  plot.DrawTrace(dc, id);
  plot.DrawTraceSelected(dc, id);
  plot.DrawTraceStep(dc, id, 3);
  EXPECT_TRUE(dc.Records().empty()) << dc.Log();
}

TEST(LineProfile, NewColourNumbers) {
  clsLineProfile plot;
  EXPECT_EQ(plot.GetNewLineColor(), 0);
  for (gdi::Color c : {0u, 1u, 2u}) plot.Trace(plot.CreateTrace(1, 0))->LineColor = c;
  EXPECT_EQ(plot.GetNewLineColor(), 3);
  EXPECT_EQ(plot.GetNewMarkerColor(), 1);  // every marker colour is 0
  plot.DeleteAllTraces();
  for (gdi::Color c = 0; c <= 16; ++c)
    if (c != 15) plot.Trace(plot.CreateTrace(1, 0))->LineColor = c;
  EXPECT_EQ(plot.GetNewLineColor(), 0);  // 15 is never chosen
}

TEST(LineProfile, SelectionMarksDrawnTwiceLeaveThePictureUnchanged) {
  clsLineProfile plot;
  Profile p(201);
  const std::int32_t id = Load(plot, p);
  plot.AutoScale(kAxisLeft);
  plot.Chart.CreateTickLabels(kAxisBottom);
  plot.Chart.CreateTickLabels(kAxisLeft);
  gdi::ImageDeviceContext dc(400, 300);
  plot.Chart.CreateChartLimits(dc, 0, 0, 399, 299, false);
  plot.PlotRedraw(dc);
  const QImage before = dc.Image().copy();
  plot.DrawTraceSelected(dc, id);
  EXPECT_NE(dc.Image(), before);
  plot.DrawTraceSelected(dc, id);
  EXPECT_EQ(dc.Image(), before);
  EXPECT_FALSE(dc.HasClip());
}

TEST(LineProfile, GetCoordsInvertsTheMapping) {
  clsLineProfile plot;
  Profile p(11);
  const std::int32_t id = Load(plot, p);
  plot.SetYAxisMinMax(0, 0.5);
  gdi::RecordingDeviceContext dc;
  DrawnPolyline(plot, dc);
  const auto [left, top, width, height] = test::LimitsOf(plot.Chart);
  double xf = 7, yf = 7;
  plot.GetCoords(id, left, top + height - 1, xf, yf);
  EXPECT_DOUBLE_EQ(xf, -1);
  EXPECT_DOUBLE_EQ(yf, 0);
  plot.GetCoords(id, left + width - 1, top, xf, yf);
  EXPECT_DOUBLE_EQ(xf, 1);
  EXPECT_DOUBLE_EQ(yf, 0.5);
  // In the units of the labels.
  plot.Chart.Axis(kAxisLeft).SFactorIdx = clsChart2D::Exp2Idx(-3);
  plot.GetCoords(id, left + width - 1, top, xf, yf);
  EXPECT_DOUBLE_EQ(yf, 500);
}

TEST(LineProfile, TraceStepDrawsOnePieceAndItsMarker) {
  clsLineProfile plot;
  Profile p(11);
  const std::int32_t id = Load(plot, p);
  plot.SetYAxisMinMax(0, 0.5);
  plot.Trace(id)->MarkerStyle = kMarkerPixel;
  plot.Trace(id)->MarkerColor = 0x0000FF;
  gdi::RecordingDeviceContext dc;
  const std::vector<gdi::Point> line = DrawnPolyline(plot, dc);
  dc.ClearRecords();
  plot.DrawTraceStep(dc, id, 4);
  ASSERT_EQ(dc.Records().size(), 2u) << dc.Log();
  EXPECT_EQ(dc.Records()[0].points, (std::vector<gdi::Point>{line[3], line[4]}));
  EXPECT_EQ(dc.Records()[1].points, (std::vector<gdi::Point>{line[4]}));
  EXPECT_EQ(dc.Records()[1].color, 0x0000FFu);
  dc.ClearRecords();
  plot.DrawTraceStep(dc, id, 11);  // beyond the capacity
  plot.DrawTraceStep(dc, 5, 1);    // no such trace
  EXPECT_TRUE(dc.Records().empty());
}

TEST(LineProfile, MarkersLeaveTheirSurroundingsUnchanged) {
  clsLineProfile plot;
  Profile p(5);
  const std::int32_t id = Load(plot, p);
  plot.SetYAxisMinMax(0, 0.5);
  TraceRecord& t = *plot.Trace(id);
  t.LineStyle = kPenStyleNone;
  t.MarkerStyle = kMarkerSquare;
  t.MarkerSize = 6;
  t.MarkerColor = 0x0000FF;
  t.MarkerFillColor = 0x00FF00;
  t.MarkerFilled = true;
  plot.Chart.ShowFrame = false;
  gdi::ImageDeviceContext dc(300, 200, 0x808080);
  plot.Chart.CreateChartLimits(dc, 0, 0, 299, 199, false);
  plot.PlotRedraw(dc);
  const auto [left, top, width, height] = test::LimitsOf(plot.Chart);
  // The first point (-1, 0.5) sits at the plot's top-left corner: a 6-pixel square from
  // 3 left and above it, red outline, green inside, grey around.
  EXPECT_EQ(dc.GetPixel(left, top), 0x00FF00u);
  EXPECT_EQ(dc.GetPixel(left + 2, top + 2), 0x0000FFu);
  EXPECT_EQ(dc.GetPixel(left + 3, top + 3), 0x808080u);
}

}  // namespace
}  // namespace orvale
