#pragma once
// The contour-plot window of a document (view code 4): the contour chart, kept square,
// over the whole client area.
#include "app/plots/PlotWindow.h"
#include "app/plots/ResultViewModels.h"

namespace orvale {

class frmContourPlot final : public ViewModelPlotWindow<ContourPlotViewModel> {
 public:
  // `view` holds the plot and outlives the window's use (the document's views own both).
  frmContourPlot(MainFrame& frame, clsDocument& doc, ContourPlotViewModel& view);

  void ResizeWindow() override;
  void PaintPlot() override;
};

}  // namespace orvale
