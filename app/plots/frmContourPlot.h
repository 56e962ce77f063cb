#pragma once
// The contour-plot window of a document (view code 4): the contour chart, kept square,
// over the whole client area.
#include "app/plots/PlotWindow.h"
#include "app/plots/ResultViewModels.h"

namespace orvale {

class frmContourPlot final : public PlotWindow {
 public:
  // `view` holds the plot and outlives the window's use (the document's views own both).
  frmContourPlot(MainFrame& frame, clsDocument& doc, ContourPlotViewModel& view);

  ContourPlotViewModel& View;

  void ResizeWindow() override;
  void PaintPlot() override;
  void PrintPlot(gdi::DeviceContext& DC, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) override;
};

}  // namespace orvale
