#include "app/plots/frmContourPlot.h"

#include "app/document/AreaFills.h"
#include "app/document/DocumentViews.h"
#include "app/plots/PlotPrinting.h"

namespace orvale {

frmContourPlot::frmContourPlot(MainFrame& frame, clsDocument& doc, ContourPlotViewModel& view)
    : PlotWindow(frame, doc, viewtype::kContourPlot), View(view) {}

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

void frmContourPlot::PrintPlot(gdi::DeviceContext& DC, std::int32_t left, std::int32_t top,
                               std::int32_t right, std::int32_t bottom) {
  if (parentDoc == nullptr) return;
  orvale::PrintPlot(View, DC, left, top, right, bottom, &Canvas().DC());
}

}  // namespace orvale
