#include <gtest/gtest.h>

#include <array>

#include "ResultViewTestSupport.h"
#include "app/plots/PlotPrinting.h"
#include "app/plots/ResultViewFillers.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/runtime/NumberText.h"

namespace orvale::testing {
namespace {

// A page about four times the screen's diagonal: printer tick lengths 29 and 17.
gdi::DeviceCaps PrinterCaps() {
  const gdi::DeviceCaps screen = gdi::ScreenDeviceCaps();
  gdi::DeviceCaps printer = screen;
  printer.technology = gdi::DT_RASPRINTER;
  printer.horzRes = printer.physicalWidth = RoundToInt32(screen.horzRes * 4.2);
  printer.vertRes = printer.physicalHeight = RoundToInt32(screen.vertRes * 4.2);
  printer.logPixelsX = printer.logPixelsY = 600;
  return printer;
}

std::array<std::int32_t, 4> PlotLimits(const clsChart2D& chart) {
  std::array<std::int32_t, 4> l{};
  chart.GetPlotLimits(l[0], l[1], l[2], l[3]);
  return l;
}

std::array<double, 4> ScaleFactors(const clsChart3D& chart) {
  std::array<double, 4> s{};
  chart.GetScaleFactors(s[0], s[1], s[2], s[3]);
  return s;
}

class PlotPrintingTest : public ResultViewTest {
 protected:
  PlotPrintingTest() {
    OutputViews_LoadData(views_, doc_, Data());
    LayOutForWindow(views_.Contour, screen_, 300, 300);
    LayOutForWindow(views_.Surface, screen_, 480, 230);
    LayOutForWindow(views_.Line, screen_, 300, 180);
  }
  static AnalysisViewData Data() {
    AnalysisViewData data;
    data.xSurfaceSize = data.ySurfaceSize = 30;
    data.SurfaceMap = BowlMap(30);
    for (int i = 0; i < 40; ++i) {
      data.ProfileX.push_back(-1 + 2.0 * i / 39);
      data.ProfileY.push_back(data.ProfileX.back() * data.ProfileX.back());
    }
    return data;
  }

  gdi::RecordingDeviceContext screen_{gdi::DisplayCaps(640, 480)};
  gdi::RecordingDeviceContext printer_{PrinterCaps()};
};

TEST_F(PlotPrintingTest, WindowLayoutsUseTheirKindsRectangles) {
  EXPECT_EQ(views_.Contour.WindowRect, (ChartWindowRect{0, 0, 299, 299}));
  EXPECT_EQ(views_.Surface.WindowRect, (ChartWindowRect{10, 10, 469, 219}));
  EXPECT_EQ(views_.Line.WindowRect, (ChartWindowRect{0, 0, 299, 180}));
  EXPECT_TRUE(views_.Surface.PolygonsStale);
  const auto square = PlotLimits(views_.Contour.ContourPlot.Chart);
  EXPECT_EQ(square[2], square[3]);

  // An empty client area lays nothing out and keeps the last layout.
  LayOutForWindow(views_.Line, screen_, 0, 180);
  LayOutForWindow(views_.Surface, screen_, 480, 0);
  EXPECT_EQ(views_.Line.WindowRect, (ChartWindowRect{0, 0, 299, 180}));
  EXPECT_EQ(views_.Surface.WindowRect, (ChartWindowRect{10, 10, 469, 219}));
}

TEST_F(PlotPrintingTest, TwoDimensionalPlotsPrintAndComeBackToTheScreenLayout) {
  struct Case {
    const char* name;
    clsChart2D& chart;
    void (*print)(ResultViewModels&, gdi::DeviceContext&, gdi::DeviceContext*);
  };
  const Case cases[] = {
      {"contour", views_.Contour.ContourPlot.Chart,
       [](ResultViewModels& v, gdi::DeviceContext& dc, gdi::DeviceContext* w) {
         PrintPlot(v.Contour, dc, 400, 300, 2399, 2299, w);
       }},
      {"line", views_.Line.LinePlot.Chart,
       [](ResultViewModels& v, gdi::DeviceContext& dc, gdi::DeviceContext* w) {
         PrintPlot(v.Line, dc, 400, 300, 2399, 1299, w);
       }},
  };
  for (const Case& c : cases) {
    const auto before = PlotLimits(c.chart);
    printer_.ClearRecords();
    c.print(views_, printer_, &screen_);
    EXPECT_FALSE(printer_.Records().empty()) << c.name;
    // Drawn on the page: well inside the pane, far from the window's origin.
    for (const gdi::DrawRecord& r : CallsNamed(printer_, "LineTo"))
      EXPECT_GE(r.points[0].x, 400) << c.name;
    EXPECT_EQ(c.chart.TICKMAJORLENGTH, 7) << c.name;
    EXPECT_EQ(c.chart.TICKMINORLENGTH, 4) << c.name;
    EXPECT_EQ(PlotLimits(c.chart), before) << c.name;
  }
}

TEST_F(PlotPrintingTest, TheSurfacePrintsWithPageCellsAndLeavesThemStale) {
  views_.Surface.PolygonsStale = false;
  const auto before = ScaleFactors(views_.Surface.SurfacePlot.Chart);
  PrintPlot(views_.Surface, printer_, 100, 100, 1099, 699, &screen_);
  EXPECT_FALSE(CallsNamed(printer_, "Polygon").empty());
  EXPECT_TRUE(views_.Surface.PolygonsStale);
  EXPECT_EQ(views_.Surface.SurfacePlot.Chart.TICKMAJORLENGTH, 7);
  EXPECT_EQ(views_.Surface.SurfacePlot.Chart.TICKMINORLENGTH, 4);
  EXPECT_EQ(ScaleFactors(views_.Surface.SurfacePlot.Chart), before);
}

TEST_F(PlotPrintingTest, APlotThatIsNotReadyPrintsNothing) {
  views_.Contour.PlotReady = false;
  views_.Surface.PlotReady = false;
  views_.Line.PlotReady = false;
  PrintPlot(views_.Contour, printer_, 0, 0, 999, 999, &screen_);
  PrintPlot(views_.Surface, printer_, 0, 0, 999, 999, &screen_);
  PrintPlot(views_.Line, printer_, 0, 0, 999, 999, &screen_);
  EXPECT_TRUE(printer_.Records().empty());
}

TEST_F(PlotPrintingTest, ASurfaceThatCannotBeProjectedForThePagePrintsNothingButIsRestored) {
  SurfacePlotViewModel empty;  // ready, but without a mesh to project
  empty.PlotReady = true;
  LayOutForWindow(empty, screen_, 200, 200);
  empty.SurfacePlot.Chart.SetTickMarkLengths(&printer_);
  const std::size_t screenCalls = screen_.Records().size();
  PrintPlot(empty, printer_, 0, 0, 999, 999, &screen_);
  EXPECT_TRUE(CallsNamed(printer_, "Polygon").empty());
  EXPECT_EQ(empty.SurfacePlot.Chart.TICKMAJORLENGTH, 7);
  EXPECT_TRUE(empty.PolygonsStale);
  EXPECT_EQ(screen_.Records().size(), screenCalls);  // layout measures, never draws
}

TEST_F(PlotPrintingTest, TinyAndInvertedPanesNeitherCrashNorLoseTheScreenLayout) {
  const auto before = PlotLimits(views_.Contour.ContourPlot.Chart);
  for (const auto& [l, t, r, b] : {std::array{0, 0, 0, 0}, std::array{500, 500, 10, 10},
                                   std::array{0, 0, 2, 1}}) {
    PrintPlot(views_.Contour, printer_, l, t, r, b, &screen_);
    PrintPlot(views_.Surface, printer_, l, t, r, b, &screen_);
    PrintPlot(views_.Line, printer_, l, t, r, b, &screen_);
  }
  EXPECT_EQ(PlotLimits(views_.Contour.ContourPlot.Chart), before);
}

}  // namespace
}  // namespace orvale::testing
