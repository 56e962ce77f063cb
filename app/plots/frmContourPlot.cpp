#include "app/plots/frmContourPlot.h"

#include "app/document/AreaFills.h"
#include "app/document/DocumentViews.h"

namespace orvale {

frmContourPlot::frmContourPlot(MainFrame& frame, clsDocument& doc, ContourPlotViewModel& view)
    : ViewModelPlotWindow(frame, doc, viewtype::kContourPlot, view) {}

void frmContourPlot::ResizeWindow() {
  if (parentDoc == nullptr) return;
  LayOutForWindow(View, Canvas().DC(), ClientWidth(), ClientHeight());
}

void frmContourPlot::PaintPlot() {
  if (parentDoc == nullptr || ClientWidth() < 1 || ClientHeight() < 1) return;
  gdi::ImageDeviceContext& dc = Canvas().DC();
  if (View.PlotReady) {
    FillRectWhite(dc, ClientWidth(), ClientHeight(), 0, 0);
    View.ContourPlot.PlotRedraw(dc);
  } else {
    FillRectWorkspace(dc, ClientWidth(), ClientHeight(), 0, 0);
  }
  ShowCanvas();
}

}  // namespace orvale
