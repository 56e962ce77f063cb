#include "app/plots/PlotWindow.h"

#include <algorithm>

#include "platform/runtime/NumberText.h"

namespace orvale {

void PlotWindow::UpdatePlot() {
  ResizeWindow();
  PaintPlot();
}

void PlotWindow::RepaintView() { PaintPlot(); }

QScrollBar* PlotWindow::MakeAngleBar(Qt::Orientation orientation, int maximum) {
  QScrollBar* bar = MakeScrollBar(orientation, 0, maximum);
  bar->setSingleStep(1);
  bar->setPageStep(10);
  return bar;
}

int PlotWindow::BarValue(const QScrollBar& bar, double degrees) {
  // A stored 359.5 rounds to 360, beyond the bar: the bar is held, the angle is not.
  return std::clamp(RoundToInt32(degrees), bar.minimum(), bar.maximum());
}

}  // namespace orvale
