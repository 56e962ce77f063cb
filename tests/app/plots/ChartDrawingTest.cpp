#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <string>
#include <vector>

#include "app/plots/clsChart2D.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/NumberText.h"
#include "tests/app/plots/PlotTestSupport.h"

namespace orvale {
namespace {

using gdi::DrawRecord;

using test::CallsNamed;

// A vertical tick of the bottom axis: a LineTo from (x, y0) to (x, y0 + length).
int CountVerticalLinesOfLength(const std::vector<DrawRecord>& lines, int length) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const DrawRecord& r) {
    return r.points.size() == 2 && r.points[0].x == r.points[1].x && r.points[1].y - r.points[0].y == length;
  }));
}

// A chart as the profile filler leaves it: bottom -1..1 and left axis 0..10 labelled.
void LabelAxes(clsChart2D& chart) {
  chart.SetAxisMinMax(kAxisBottom, 0, 10, 0);
  chart.AutoScaleMajor(kAxisBottom, 0, 10, 0);
  chart.AutoScaleMinor(kAxisBottom);
  chart.SetAxisMinMax(kAxisLeft, -1, 1, -1);
  chart.AutoScaleMajor(kAxisLeft, -1, 1, 0);
  chart.AutoScaleMinor(kAxisLeft);
  chart.CreateTickLabels(kAxisBottom);
  chart.CreateTickLabels(kAxisLeft);
}

// A labelled chart laid out in a window from (0, 0) to (wright, wbottom) and drawn
// into a recording context.
class LabelledChart : public testing::Test {
 protected:
  LabelledChart() { LabelAxes(chart); }
  test::PlotLimits LayOutAndDraw(int wright, int wbottom) {
    chart.CreateChartLimits(dc, 0, 0, wright, wbottom, false);
    dc.ClearRecords();
    chart.ChartRedraw(dc);
    return test::LimitsOf(chart);
  }
  clsChart2D chart;
  gdi::RecordingDeviceContext dc;
};

TEST(ChartLayout, PrinterTickLengthsFollowThePageToScreenDiagonal) {
  clsChart2D chart;
  const gdi::DeviceCaps screen = gdi::ScreenDeviceCaps();
  gdi::DeviceCaps printer = screen;
  printer.technology = gdi::DT_RASPRINTER;
  printer.physicalWidth = RoundToInt32(screen.horzRes * 4.2);
  printer.physicalHeight = RoundToInt32(screen.vertRes * 4.2);
  gdi::RecordingDeviceContext big(printer);
  chart.SetTickMarkLengths(&big);
  EXPECT_EQ(chart.TICKMAJORLENGTH, 29);  // round(29.4)
  EXPECT_EQ(chart.TICKMINORLENGTH, 17);  // round(16.8)

  printer.physicalWidth = screen.horzRes / 2;
  printer.physicalHeight = screen.vertRes / 2;
  gdi::RecordingDeviceContext small(printer);
  chart.SetTickMarkLengths(&small);
  EXPECT_EQ(chart.TICKMAJORLENGTH, 7);
  EXPECT_EQ(chart.TICKMINORLENGTH, 4);

  chart.SetTickMarkLengths(&big);
  chart.SetTickMarkLengths(nullptr);  // back to the screen
  EXPECT_EQ(chart.TICKMAJORLENGTH, 7);
  EXPECT_EQ(chart.TICKMINORLENGTH, 4);
}

TEST(ChartLayout, NewChartDrawsNothingThenOnlyItsFrame) {
  clsChart2D chart;
  gdi::RecordingDeviceContext dc;
  chart.ChartRedraw(dc);
  EXPECT_TRUE(dc.Records().empty()) << dc.Log();

  chart.CreateChartLimits(dc, 0, 0, 399, 299, false);
  dc.ClearRecords();
  chart.ChartRedraw(dc);
  ASSERT_EQ(dc.Records().size(), 1u) << dc.Log();
  const DrawRecord& frame = dc.Records()[0];
  const auto [left, top, width, height] = test::LimitsOf(chart);
  ASSERT_EQ(frame.points.size(), 5u);
  EXPECT_EQ(frame.points[0], (gdi::Point{left, top}));
  EXPECT_EQ(frame.points[2], (gdi::Point{left + width - 1, top + height - 1}));
  EXPECT_EQ(frame.points[4], frame.points[0]);
  EXPECT_EQ(frame.state.pen, gdi::StockPen(gdi::BLACK_PEN));
}

TEST(ChartLayout, KeepSquareOnAWideWindowCentresASquarePlot) {
  clsChart2D chart;
  gdi::RecordingDeviceContext dc;
  chart.CreateChartLimits(dc, 0, 0, 799, 299, true);
  const auto [left, top, width, height] = test::LimitsOf(chart);
  // No labels or titles: the bottom and left axes take their tick length, 7.
  const int leftMargin = 7 + 2;
  const int spaceRight = 799 - 1;  // the right axis is hidden
  EXPECT_EQ(width, height);
  EXPECT_EQ(height, 299 - 2 - 7 - 1);
  EXPECT_EQ(top, 2);
  EXPECT_EQ(left - leftMargin, spaceRight - (left + width));
  // Without KeepSquare the plot takes the whole width.
  chart.CreateChartLimits(dc, 0, 0, 799, 299, false);
  const test::PlotLimits wide = test::LimitsOf(chart);
  EXPECT_EQ(wide.left, leftMargin);
  EXPECT_EQ(wide.width, 799 - leftMargin - 1);
}

TEST_F(LabelledChart, TicksAndLabelsOfTwoLinearAxes) {
  const auto [left, top, width, height] = LayOutAndDraw(599, 399);

  const auto lines = CallsNamed(dc, "LineTo");
  // Bottom axis: 6 major ticks 7 long and 20 minor ticks 4 long (every fifth of the 26
  // minor marks stands under a major one and is left out), plus the axis line.
  EXPECT_EQ(CountVerticalLinesOfLength(lines, 7), 6);
  EXPECT_EQ(CountVerticalLinesOfLength(lines, 4), 20);

  const auto texts = CallsNamed(dc, "TextOut");
  ASSERT_EQ(texts.size(), 12u) << dc.Log();
  const char* bottom[] = {"0", "2", "4", "6", "8", "10"};
  for (int i = 0; i < 6; ++i) {
    const DrawRecord& t = texts[static_cast<std::size_t>(i)];
    EXPECT_EQ(t.text, bottom[i]);
    EXPECT_EQ(t.state.textAlign, gdi::TA_CENTER | gdi::TA_TOP);
    ASSERT_EQ(t.points.size(), 1u);
    EXPECT_EQ(t.points[0].x, left + RoundToInt32(i * (width - 1) / 5.0))
        << t.ToString();
  }
  const DrawRecord& minusOne = texts[6];
  EXPECT_EQ(minusOne.text, "-1");
  EXPECT_EQ(minusOne.state.textAlign, gdi::TA_RIGHT | gdi::TA_BOTTOM);
}

TEST_F(LabelledChart, NarrowPlotDrawsOnlyTheEndTicks) {
  // The left axis takes about 35 pixels for its labels and ticks.
  const int width = LayOutAndDraw(54, 300).width;
  ASSERT_GE(width, 2);
  ASSERT_LE((width - 1) / 5.0, chart.TICKMINORLENGTH);
  const auto lines = CallsNamed(dc, "LineTo");
  EXPECT_EQ(CountVerticalLinesOfLength(lines, 7), 2);
  EXPECT_EQ(CountVerticalLinesOfLength(lines, 4), 0);
}

TEST(ChartLayout, MinorMarksWithFewMajorMarksDivideByNothing) {
  clsChart2D chart;
  chart.SetAxisMinMax(kAxisBottom, 0, 10, 0);
  ChartAxis& a = chart.Axis(kAxisBottom);
  gdi::RecordingDeviceContext dc;
  // One label only: no minor marks can stand between major ones.
  a.Major = 20;
  a.Minor = 4;
  chart.CreateTickLabels(kAxisBottom);
  ASSERT_EQ(a.NumLabels, 1);
  chart.CreateChartLimits(dc, 0, 0, 399, 299, false);
  dc.ClearRecords();
  chart.ChartRedraw(dc);
  EXPECT_EQ(CountVerticalLinesOfLength(CallsNamed(dc, "LineTo"), 4), 0);
  // More major marks than minor ones.
  a.Major = 2;
  a.Minor = 30;
  chart.CreateTickLabels(kAxisBottom);
  dc.ClearRecords();
  chart.ChartRedraw(dc);
  EXPECT_EQ(CountVerticalLinesOfLength(CallsNamed(dc, "LineTo"), 7), 6);
  // A minor spacing far below a pixel draws no minor marks and does not loop on them.
  a.Minor = 1E-12;
  chart.GridPens[2] = {0, 1, 0};
  dc.ClearRecords();
  chart.ChartRedraw(dc);
  EXPECT_EQ(CountVerticalLinesOfLength(CallsNamed(dc, "LineTo"), 4), 0);
}

TEST_F(LabelledChart, WindowTooSmallForAPlotDrawsNothing) {
  const test::PlotLimits plot = LayOutAndDraw(20, 15);
  EXPECT_EQ(plot.width, 0);
  EXPECT_EQ(plot.height, 0);
  EXPECT_TRUE(dc.Records().empty()) << dc.Log();
  // A degenerate window rectangle changes nothing.
  chart.CreateChartLimits(dc, 50, 50, 50, 80, false);
  EXPECT_EQ(test::LimitsOf(chart).width, 0);
}

TEST_F(LabelledChart, AxisTitlesAndChartTitleStandWhereTheLayoutPutThem) {
  chart.SetTitle(kChartTitleId, "0.125 Waves / contour");
  chart.SetTitle(kAxisBottom, "Profile along 45 degs");
  chart.SetTitle(kAxisLeft, "Waves");
  const test::PlotLimits plot = LayOutAndDraw(599, 399);
  const auto texts = CallsNamed(dc, "TextOut");
  const auto find = [&](const std::string& s) {
    return std::find_if(texts.begin(), texts.end(), [&](const DrawRecord& r) { return r.text == s; });
  };
  const auto title = find("0.125 Waves / contour");
  const auto yTitle = find("Waves");
  ASSERT_NE(title, texts.end());
  ASSERT_NE(yTitle, texts.end());
  EXPECT_EQ(title->state.textAlign, gdi::TA_LEFT | gdi::TA_TOP);
  EXPECT_EQ(yTitle->state.textAlign, gdi::TA_RIGHT | gdi::TA_TOP);  // turned 90 degrees
  EXPECT_EQ(yTitle->state.font.lfEscapement, 900);
  const auto place = chart.AxisTitlePlace(kAxisLeft);
  EXPECT_EQ(place.x, 0);
  EXPECT_GT(place.height, place.width);  // the turned title is taller than wide
  EXPECT_GT(plot.left, place.width);  // the plot leaves room for the title and the labels
  EXPECT_EQ(chart.TitlePlace().y, 0);
  EXPECT_GT(plot.top, chart.TitlePlace().height);
}

TEST(ChartLayout, InvertingLineAndZoomBoxDrawnTwiceLeaveThePictureUnchanged) {
  clsChart2D chart;
  gdi::ImageDeviceContext dc(120, 90);
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x) dc.SetPixel(x, y, gdi::RGB(x * 2, y * 2, (x + y) % 256));
  const QImage before = dc.Image().copy();
  chart.DrawZoomBox(dc, 10, 12, 70, 60);
  EXPECT_NE(dc.Image(), before);
  chart.DrawZoomBox(dc, 10, 12, 70, 60);
  EXPECT_EQ(dc.Image(), before);
  chart.DrawXORLine(dc, 5, 80, 110, 3);
  EXPECT_NE(dc.Image(), before);
  chart.DrawXORLine(dc, 5, 80, 110, 3);
  EXPECT_EQ(dc.Image(), before);
  EXPECT_EQ(dc.GetROP2(), gdi::R2_COPYPEN);
}

TEST(ChartLayout, DrawRectangleWithAStockObject) {
  clsChart2D chart;
  gdi::RecordingDeviceContext dc;
  chart.DrawRectangle(dc, 1, 2, 30, 40, gdi::WHITE_PEN);
  ASSERT_EQ(dc.Records().size(), 1u);
  EXPECT_EQ(dc.Records()[0].state.pen, gdi::StockPen(gdi::WHITE_PEN));
  EXPECT_EQ(dc.CurrentPen(), gdi::StockPen(gdi::BLACK_PEN));  // restored
  chart.DrawRectangle(dc, 1, 2, 30, 40, 99);  // no such stock object
  EXPECT_EQ(dc.Records().size(), 1u);
}

}  // namespace
}  // namespace orvale
