#pragma once
// The surface-plot window of a document (view code 3): the 3-D chart inside a margin of
// the plot area, turned by two scroll bars: hsbSurface the azimuth (0..359 degrees),
// vsbSurface the elevation (0..90). While a thumb is dragged only the chart's box
// follows; the surface is drawn when it is let go.
#include "app/plots/PlotWindow.h"
#include "app/plots/ResultViewModels.h"

namespace orvale {

class frmSurfacePlot final : public ViewModelPlotWindow<SurfacePlotViewModel> {
 public:
  // `view` holds the plot and its view point and outlives the window's use.
  frmSurfacePlot(MainFrame& frame, clsDocument& doc, SurfacePlotViewModel& view);

  QScrollBar* const hsbSurface;
  QScrollBar* const vsbSurface;

  void ResizeWindow() override;
  void PaintPlot() override;
  // The bars take the view angles the document gave the plot.
  void ShowViewAngles();

 private:
  // The plot area: the client less the scroll bars.
  void MeasurePlot();
  // Both bars become the view point; `dragging` draws the chart box alone.
  void ViewPointFromBars(bool dragging);

  std::int32_t plotWidth_ = 0;
  std::int32_t plotHeight_ = 0;
};

}  // namespace orvale
