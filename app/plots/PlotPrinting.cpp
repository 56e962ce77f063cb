#include "app/plots/PlotPrinting.h"

#include <utility>

#include "app/document/FloatingHorizon.h"

namespace orvale {

namespace {

// Runs its action when the scope ends, on every path out of it.
template <class Action>
class AtScopeEnd {
 public:
  explicit AtScopeEnd(Action action) : action_(std::move(action)) {}
  ~AtScopeEnd() { action_(); }
  AtScopeEnd(const AtScopeEnd&) = delete;
  AtScopeEnd& operator=(const AtScopeEnd&) = delete;

 private:
  Action action_;
};

void LayOut(ContourPlotViewModel& view, gdi::DeviceContext& dc, const ChartWindowRect& r) {
  view.ContourPlot.Chart.CreateChartLimits(dc, r.left, r.top, r.right, r.bottom, true);
  view.WindowRect = r;
}

void LayOut(SurfacePlotViewModel& view, gdi::DeviceContext& dc, const ChartWindowRect& r) {
  view.SurfacePlot.Chart.CreateChartLimits(dc, r.left, r.top, r.right, r.bottom);
  view.WindowRect = r;
  view.PolygonsStale = true;
}

void LayOut(LineProfileViewModel& view, gdi::DeviceContext& dc, const ChartWindowRect& r) {
  view.LinePlot.Chart.CreateChartLimits(dc, r.left, r.top, r.right, r.bottom, false);
  view.WindowRect = r;
}

// Printer tick lengths for the print, then the screen's and the window layout again.
template <class View, class Chart>
auto ScreenRestorer(View& view, Chart& chart, gdi::DeviceContext& dc, gdi::DeviceContext* windowDC) {
  chart.SetTickMarkLengths(&dc);
  return AtScopeEnd([&view, &chart, windowDC] {
    chart.SetTickMarkLengths(nullptr);
    if (windowDC && view.WindowRect) LayOut(view, *windowDC, *view.WindowRect);
  });
}

// The contour plot and the line profile print alike on their 2-D charts.
template <class View, class Plot>
void PrintOn2DChart(View& view, Plot& plot, bool keepSquare, gdi::DeviceContext& dc,
                    const ChartWindowRect& page, gdi::DeviceContext* windowDC) {
  if (!view.PlotReady) return;
  const auto restore = ScreenRestorer(view, plot.Chart, dc, windowDC);
  plot.Chart.CreateChartLimits(dc, page.left, page.top, page.right, page.bottom, keepSquare);
  plot.PlotRedraw(dc);
}

}  // namespace

void LayOutForWindow(ContourPlotViewModel& view, gdi::DeviceContext& windowDC,
                     std::int32_t clientWidth, std::int32_t clientHeight) {
  if (clientWidth < 1 || clientHeight < 1) return;
  LayOut(view, windowDC, {0, 0, clientWidth - 1, clientHeight - 1});
}

void LayOutForWindow(SurfacePlotViewModel& view, gdi::DeviceContext& windowDC,
                     std::int32_t plotWidth, std::int32_t plotHeight) {
  if (plotWidth < 1 || plotHeight < 1) return;
  const std::int32_t m = view.WindowMargin;
  LayOut(view, windowDC, {m, m, plotWidth - m - 1, plotHeight - m - 1});
}

void LayOutForWindow(LineProfileViewModel& view, gdi::DeviceContext& windowDC,
                     std::int32_t clientWidth, std::int32_t plotHeight) {
  if (clientWidth < 1 || plotHeight < 1) return;
  LayOut(view, windowDC, {0, 0, clientWidth - 1, plotHeight});
}

void PrintPlot(ContourPlotViewModel& view, gdi::DeviceContext& dc, std::int32_t left,
               std::int32_t top, std::int32_t right, std::int32_t bottom,
               gdi::DeviceContext* windowDC) {
  PrintOn2DChart(view, view.ContourPlot, true, dc, {left, top, right, bottom}, windowDC);
}

void PrintPlot(SurfacePlotViewModel& view, gdi::DeviceContext& dc, std::int32_t left,
               std::int32_t top, std::int32_t right, std::int32_t bottom,
               gdi::DeviceContext* windowDC) {
  if (!view.PlotReady) return;
  clsChart3D& chart = view.SurfacePlot.Chart;
  const auto restore = ScreenRestorer(view, chart, dc, windowDC);
  // The cells are projected for the page now and no longer fit the window.
  view.PolygonsStale = true;
  chart.CreateChartLimits(dc, left, top, right, bottom);
  if (!view.SurfacePlot.CreatePolygons()) return;
  HorizonWidth = right;
  view.SurfacePlot.PlotRedraw(dc);
}

void PrintPlot(LineProfileViewModel& view, gdi::DeviceContext& dc, std::int32_t left,
               std::int32_t top, std::int32_t right, std::int32_t bottom,
               gdi::DeviceContext* windowDC) {
  PrintOn2DChart(view, view.LinePlot, false, dc, {left, top, right, bottom}, windowDC);
}

}  // namespace orvale
