#pragma once
// The line-profile window of a document (view code 5): the profile chart over the
// client width, above the scroll bar hsbLine that turns the profile's angle (0..359
// degrees); each new angle is evaluated by the document at once.
#include "app/plots/PlotWindow.h"
#include "app/plots/ResultViewModels.h"

namespace orvale {

class frmLineProfile final : public PlotWindow {
 public:
  // `view` holds the plot and its angle and outlives the window's use.
  frmLineProfile(MainFrame& frame, clsDocument& doc, LineProfileViewModel& view);

  LineProfileViewModel& View;
  QScrollBar* const hsbLine;

  void ResizeWindow() override;
  void PaintPlot() override;
  void PrintPlot(gdi::DeviceContext& DC, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) override;
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
