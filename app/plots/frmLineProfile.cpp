#include "app/plots/frmLineProfile.h"

#include <QSignalBlocker>

#include "app/document/AreaFills.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

frmLineProfile::frmLineProfile(MainFrame& frame, clsDocument& doc, LineProfileViewModel& view)
    : ViewModelPlotWindow(frame, doc, viewtype::kLineProfile, view),
      hsbLine(MakeAngleBar(Qt::Horizontal, 359)) {
  ShowViewAngle();
  MeasurePlot();
  // Dragging the thumb follows the angle as closely as a click does.
  connect(hsbLine, &QScrollBar::valueChanged, this,
          [this](int) { GuardHandler([this] { AngleFromBar(); }); });
}

void frmLineProfile::ShowViewAngle() {
  const QSignalBlocker quiet(hsbLine);
  hsbLine->setValue(BarValue(*hsbLine, View.ViewAngle));
}

void frmLineProfile::MeasurePlot() { plotHeight_ = ClientHeight() - ScrollBarExtent(); }

void frmLineProfile::ResizeWindow() {
  if (parentDoc == nullptr) return;
  MeasurePlot();
  if (ClientWidth() < 1 || plotHeight_ < 1) return;
  hsbLine->setGeometry(0, plotHeight_, ClientWidth(), hsbLine->height());
  LayOutForWindow(View, Canvas().DC(), ClientWidth(), plotHeight_);
}

void frmLineProfile::PaintPlot() {
  if (parentDoc == nullptr || ClientWidth() < 1 || plotHeight_ < 1) return;
  gdi::ImageDeviceContext& dc = Canvas().DC();
  if (View.PlotReady) {
    FillRectWhite(dc, ClientWidth(), plotHeight_, 0, 0);
    View.LinePlot.PlotRedraw(dc);
  } else {
    FillRectWorkspace(dc, ClientWidth(), plotHeight_, 0, 0);
  }
  ShowCanvas();
}

void frmLineProfile::AngleFromBar() {
  if (parentDoc == nullptr || plotHeight_ < 1 || !View.PlotReady) return;
  View.ViewAngle = hsbLine->value();
  parentDoc->RefreshLineViewData();
  LayOutForWindow(View, Canvas().DC(), ClientWidth(), plotHeight_);
  PaintPlot();
}

void frmLineProfile::Deactivated() {
  if (parentDoc == nullptr || ShowState() != WindowShowState::Normal) return;
  GeneralSettings& settings = parentDoc->Settings();
  if (!settings.HogWindows) return;
  const QRect place = geometry();
  settings.ResultWindowLayout[FindOutputViewKind(FormType)->LayoutIndex] = {
      place.x(), place.y(), place.width(), place.height()};
}

}  // namespace orvale
