#include "app/plots/frmSurfacePlot.h"

#include <QSignalBlocker>

#include "app/document/AreaFills.h"
#include "app/document/DocumentViews.h"
#include "app/document/FloatingHorizon.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

frmSurfacePlot::frmSurfacePlot(MainFrame& frame, clsDocument& doc, SurfacePlotViewModel& view)
    : ViewModelPlotWindow(frame, doc, viewtype::kSurfacePlot, view),
      hsbSurface(MakeAngleBar(Qt::Horizontal, 359)),
      vsbSurface(MakeAngleBar(Qt::Vertical, 90)) {
  ShowViewAngles();
  MeasurePlot();
  for (QScrollBar* bar : {hsbSurface, vsbSurface}) {
    // A move of the thumb draws the box alone; a release or any other change, the surface.
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int) { GuardHandler([&] { ViewPointFromBars(bar->isSliderDown()); }); });
    connect(bar, &QScrollBar::sliderReleased, this,
            [this] { GuardHandler([&] { ViewPointFromBars(false); }); });
  }
}

void frmSurfacePlot::ShowViewAngles() {
  const QSignalBlocker quietH(hsbSurface);
  const QSignalBlocker quietV(vsbSurface);
  hsbSurface->setValue(BarValue(*hsbSurface, View.ViewTheta));
  vsbSurface->setValue(BarValue(*vsbSurface, View.ViewPhi));
}

void frmSurfacePlot::MeasurePlot() {
  plotWidth_ = ClientWidth() - ScrollBarExtent();
  plotHeight_ = ClientHeight() - ScrollBarExtent();
}

void frmSurfacePlot::ResizeWindow() {
  if (parentDoc == nullptr) return;
  MeasurePlot();
  if (plotWidth_ < 1 || plotHeight_ < 1) return;
  vsbSurface->setGeometry(plotWidth_, 0, vsbSurface->width(), plotHeight_);
  hsbSurface->setGeometry(0, plotHeight_, plotWidth_, hsbSurface->height());
  LayOutForWindow(View, Canvas().DC(), plotWidth_, plotHeight_);
}

void frmSurfacePlot::PaintPlot() {
  if (parentDoc == nullptr || plotWidth_ < 1 || plotHeight_ < 1) return;
  gdi::ImageDeviceContext& dc = Canvas().DC();
  if (!View.PlotReady) {
    FillRectWorkspace(dc, ClientWidth(), ClientHeight(), 0, 0);
    ShowCanvas();
    return;
  }
  if (View.PolygonsStale) {
    if (!View.SurfacePlot.CreatePolygons()) {
      View.PlotReady = false;
      return;
    }
    View.PolygonsStale = false;
  }
  FillRectWhite(dc, plotWidth_, plotHeight_, 0, 0);
  HorizonWidth = plotWidth_;
  View.SurfacePlot.PlotRedraw(dc);
  ShowCanvas();
}

void frmSurfacePlot::ViewPointFromBars(bool dragging) {
  if (parentDoc == nullptr || !View.PlotReady) return;
  if (dragging && (plotWidth_ < 1 || plotHeight_ < 1)) return;
  const double theta = hsbSurface->value();
  const double phi = vsbSurface->value();
  bool recalc = false;
  // A view point the chart refuses leaves the old view.
  if (View.SurfacePlot.Chart.ChangeViewPoint(View.ViewR, theta, phi, recalc)) {
    View.ViewTheta = theta;
    View.ViewPhi = phi;
  }
  if (recalc) ResizeWindow();
  if (!dragging) {
    PaintPlot();
    return;
  }
  gdi::ImageDeviceContext& dc = Canvas().DC();
  FillRectWhite(dc, plotWidth_, plotHeight_, 0, 0);
  View.SurfacePlot.Chart.ChartRedraw(dc);
  ShowCanvas();
}

}  // namespace orvale
