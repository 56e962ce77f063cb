#pragma once
// What the three plot windows (surface, contour, line profile) share: a resize lays the
// chart out again and repaints it; the document refreshes a plot through PaintPlot and,
// after filling it, UpdatePlot; the report prints it through PrintPlot.
#include <cstdint>

#include "app/plots/CanvasSubWindow.h"
#include "app/plots/PlotPrinting.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

class PlotWindow : public CanvasSubWindow {
 public:
  // Lays the chart (and the scroll bars) out for the client size.
  virtual void ResizeWindow() = 0;
  // Draws the plot, or the empty workspace while it is not ready, and shows it.
  virtual void PaintPlot() = 0;
  // Draws the plot into the rectangle (inclusive edges, device units) of `DC`, then puts
  // the screen layout back. A plot that is not ready prints nothing.
  virtual void PrintPlot(gdi::DeviceContext& DC, std::int32_t left, std::int32_t top,
                         std::int32_t right, std::int32_t bottom) = 0;
  void UpdatePlot();
  void RepaintView() override;

 protected:
  using CanvasSubWindow::CanvasSubWindow;

  void ClientResized() override { UpdatePlot(); }
  // An angle bar over 0..maximum degrees, steps 1 and 10.
  QScrollBar* MakeAngleBar(Qt::Orientation orientation, int maximum);
  // The value an angle bar shows for an angle: whole degrees within its range.
  static int BarValue(const QScrollBar& bar, double degrees);
};

// A plot window showing the plot of one view model (ContourPlotViewModel, ...), which
// the document's views own and which outlives the window's use.
template <class ViewModel>
class ViewModelPlotWindow : public PlotWindow {
 public:
  ViewModel& View;

  void PrintPlot(gdi::DeviceContext& DC, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) override {
    if (parentDoc != nullptr) orvale::PrintPlot(View, DC, left, top, right, bottom, &Canvas().DC());
  }

 protected:
  ViewModelPlotWindow(MainFrame& frame, clsDocument& doc, std::int32_t formType, ViewModel& view)
      : PlotWindow(frame, doc, formType), View(view) {}
};

}  // namespace orvale
