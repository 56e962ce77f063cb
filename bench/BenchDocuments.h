#pragma once
// What the benchmarks of the result windows and the report share: the plot settings,
// an analysis whose fit is current, and a shown main window with an MDI area whose
// documents get real windows.
#include <QMdiArea>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale::bench {

// Plots of `mapSize` points a side, the default view angles, every report line shown.
inline GeneralSettings PlotSettings(std::int32_t mapSize) {
  GeneralSettings s;
  s.SurfaceLevels = 10;
  s.SurfaceGridSize = mapSize;
  s.SFringeSize = mapSize;
  s.LineSize = 100;
  s.DefaultFillPolygons = true;
  s.DefaultDrawMeshWithFill = false;
  s.LimitScale = true;
  s.DefaultSurfaceTheta = 60;
  s.DefaultSurfacePhi = 30;
  s.ScreenText.FaceName = "Arial";
  s.ScreenText.Size = 10;
  s.ReportShowFlags.fill(true);
  return s;
}

// Marks the document's fit current: defocus, astigmatism, coma and spherical aberration
// from `points` data points.
inline void SetKnownFit(clsDocument& doc, std::int32_t points) {
  ZernikeVector z{};
  z[3] = 2.0;
  z[4] = 0.4;
  z[6] = -0.3;
  z[8] = 0.35;
  doc.SetZernikes(z);
  doc.zscale = 1.0;
  doc.nDataPts = points;
  doc.AnalysisValid = true;
}

// A main window of 1400 x 1000 with an MDI area; its documents get the views `make` makes.
class MdiBenchHost : public MainFrame {
 public:
  using MakeViews = std::function<std::unique_ptr<DocumentViews>(MainFrame&, QMdiArea&)>;
  explicit MdiBenchHost(MakeViews make) : make_(std::move(make)), area_(new QMdiArea) {
    auto* layout = new QVBoxLayout(&window_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area_);
    window_.resize(1400, 1000);
    window_.show();
  }
  std::unique_ptr<DocumentViews> CreateDocumentViews(clsDocument& /*doc*/) override {
    return make_(*this, *area_);
  }

 private:
  MakeViews make_;
  QWidget window_;
  QMdiArea* area_;
};

}  // namespace orvale::bench
