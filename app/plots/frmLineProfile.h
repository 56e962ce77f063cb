#pragma once
// The line-profile window of a document (view code 5): the profile chart over the
// client width, above the scroll bar hsbLine that turns the profile's angle (0..359
// degrees); each new angle is evaluated by the document at once.
#include "app/plots/PlotWindow.h"
#include "app/plots/ResultViewModels.h"

namespace orvale {

class frmLineProfile final : public ViewModelPlotWindow<LineProfileViewModel> {
 public:
  // `view` holds the plot and its angle and outlives the window's use.
  frmLineProfile(MainFrame& frame, clsDocument& doc, LineProfileViewModel& view);

  QScrollBar* const hsbLine;

  void ResizeWindow() override;
  void PaintPlot() override;
  // The bar takes the angle the document gave the view.
  void ShowViewAngle();

 protected:
  // With shared window places, the place the user gave the window is kept as the
  // line profile's layout entry.
  void Deactivated() override;

 private:
  void MeasurePlot();
  void AngleFromBar();

  std::int32_t plotHeight_ = 0;
};

}  // namespace orvale
