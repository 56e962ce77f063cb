#include "app/plots/ResultDocumentViews.h"

#include <algorithm>

#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "app/plots/ResultViewFillers.h"
#include "app/plots/frmContourPlot.h"
#include "app/plots/frmLineProfile.h"
#include "app/plots/frmSFringe.h"
#include "app/plots/frmSurfacePlot.h"
#include "app/plots/frmText.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

std::unique_ptr<ResultViewModels> NewModels(double theta, double phi, std::int32_t angle,
                                            ResultViewWindows& windows) {
  auto models = std::make_unique<ResultViewModels>(RoundToInt32(theta), RoundToInt32(phi), angle);
  models->Windows = &windows;
  return models;
}

}  // namespace

ResultDocumentViews::ResultDocumentViews(MainFrame& frame, QMdiArea& area,
                                         SubWindowFactory imageWindow)
    : MdiDocumentViews(frame, area,
                       [this](MainFrame& f, clsDocument& doc, std::int32_t formType) {
                         return MakeSubWindow(f, doc, formType);
                       }),
      imageWindow_(std::move(imageWindow)),
      models_(NewModels(0, 0, 0, filled_)) {}

ResultDocumentViews::~ResultDocumentViews() {
  // The windows let go of their document (and so of the models) before the models go.
  UnloadOutputViews();
  UnloadImageView();
}

DocumentSubWindow* ResultDocumentViews::MakeSubWindow(MainFrame& frame, clsDocument& doc,
                                                      std::int32_t formType) {
  ResultViewModels& m = *models_;
  switch (formType) {
    case viewtype::kImage:
      return imageWindow_ ? imageWindow_(frame, doc, formType)
                          : new DocumentSubWindow(frame, doc, formType, new QWidget);
    case viewtype::kSurfacePlot:
      return new frmSurfacePlot(frame, doc, m.Surface);
    case viewtype::kContourPlot:
      return new frmContourPlot(frame, doc, m.Contour);
    case viewtype::kLineProfile:
      return new frmLineProfile(frame, doc, m.Line);
    case viewtype::kSFringe:
      return new frmSFringe(frame, doc, m.SFringe);
    default:
      if (TextViewModel* text = m.Text(formType)) return new frmText(frame, doc, *text);
      return nullptr;
  }
}

bool ResultDocumentViews::CreateOutputViews(clsDocument& doc, double surfaceTheta,
                                            double surfacePhi, std::int32_t lineAngle) {
  const bool made =
      std::any_of(kOutputViewKinds.begin(), kOutputViewKinds.end(),
                  [this](const OutputViewKind& kind) { return Window(kind.FormType); });
  if (!made) models_ = NewModels(surfaceTheta, surfacePhi, lineAngle, filled_);
  return MdiDocumentViews::CreateOutputViews(doc, surfaceTheta, surfacePhi, lineAngle);
}

// --- Windows ---

frmSurfacePlot* ResultDocumentViews::SurfacePlotView() const {
  return dynamic_cast<frmSurfacePlot*>(SubWindow(viewtype::kSurfacePlot));
}
frmContourPlot* ResultDocumentViews::ContourPlotView() const {
  return dynamic_cast<frmContourPlot*>(SubWindow(viewtype::kContourPlot));
}
frmLineProfile* ResultDocumentViews::LineProfileView() const {
  return dynamic_cast<frmLineProfile*>(SubWindow(viewtype::kLineProfile));
}
frmSFringe* ResultDocumentViews::SFringeView() const {
  return dynamic_cast<frmSFringe*>(SubWindow(viewtype::kSFringe));
}
frmText* ResultDocumentViews::TextView(std::int32_t formType) const {
  return dynamic_cast<frmText*>(SubWindow(formType));
}
PlotWindow* ResultDocumentViews::PlotView(std::int32_t formType) const {
  return dynamic_cast<PlotWindow*>(SubWindow(formType));
}

void ResultDocumentViews::FilledWindows::ResizeWindow(std::int32_t formType) {
  if (formType == viewtype::kSFringe) {
    // Filled means a new picture.
    if (frmSFringe* sfringe = views_.SFringeView()) {
      sfringe->RefreshBitmapFromData();
      sfringe->PaintImage();
    }
  } else if (PlotWindow* plot = views_.PlotView(formType)) {
    plot->UpdatePlot();
  }
}

void ResultDocumentViews::FilledWindows::UpdateTextBox(std::int32_t formType) {
  if (frmText* text = views_.TextView(formType)) text->UpdateTextBox();
}

// --- Results ---

void ResultDocumentViews::OutputViews_LoadData(clsDocument& doc, const AnalysisViewData& data) {
  orvale::OutputViews_LoadData(*models_, doc, data);
}

void ResultDocumentViews::LoadDataIntoLineProfile(clsDocument& doc,
                                                  std::span<const double> positions,
                                                  std::span<const double> values) {
  RefreshLineProfile(*models_, doc, positions, values);
}

void ResultDocumentViews::LoadDataIntoGridResults(clsDocument& doc) {
  orvale::LoadDataIntoGridResults(*models_, doc);
}

// --- What the main window drives ---

void ResultDocumentViews::SetViewZoom(std::int32_t formType, std::int32_t percent) {
  if (formType != viewtype::kSFringe) {
    MdiDocumentViews::SetViewZoom(formType, percent);
    return;
  }
  models_->SFringe.ZoomFactor = percent;
  if (frmSFringe* view = SFringeView()) view->UpdateImage();
}

std::int32_t ResultDocumentViews::ViewZoom(std::int32_t formType) const {
  return formType == viewtype::kSFringe ? models_->SFringe.ZoomFactor
                                        : MdiDocumentViews::ViewZoom(formType);
}

void ResultDocumentViews::SetMouseTool(std::int32_t formType, bool editMode) {
  if (formType != viewtype::kSFringe) {
    MdiDocumentViews::SetMouseTool(formType, editMode);
    return;
  }
  // The view only pans: either tool gives it the hand.
  if (frmSFringe* view = SFringeView()) view->ChangeMouseIcon(0);
}

void ResultDocumentViews::PrintView(std::int32_t formType, gdi::DeviceContext& dc,
                                    std::int32_t left, std::int32_t top, std::int32_t right,
                                    std::int32_t bottom) {
  if (PlotWindow* plot = PlotView(formType)) {
    plot->PrintPlot(dc, left, top, right, bottom);
  } else if (frmText* text = TextView(formType)) {
    text->PrintTextBox(dc, left, top, right, bottom);
  } else if (formType == viewtype::kSFringe) {
    if (frmSFringe* sfringe = SFringeView()) sfringe->PrintImage(dc, left, top, right, bottom);
  }
}

void ResultDocumentViews::FocusView(std::int32_t formType) {
  MdiDocumentViews::FocusView(formType);
  DocumentSubWindow* window = SubWindow(formType);
  if (window != nullptr && window->widget() != nullptr && !window->isHidden())
    window->widget()->setFocus();
}

std::string ResultDocumentViews::ViewText(std::int32_t formType) const {
  const frmText* view = TextView(formType);
  return view != nullptr ? view->Text() : std::string();
}

std::string ResultDocumentViews::ViewSelectedText(std::int32_t formType) const {
  const frmText* view = TextView(formType);
  return view != nullptr ? view->SelectedText() : std::string();
}

// --- View angles ---

std::int32_t ResultDocumentViews::ViewAngle() const { return models_->Line.ViewAngle; }

void ResultDocumentViews::SetViewAngle(std::int32_t degrees) {
  models_->Line.ViewAngle = degrees;
  if (frmLineProfile* view = LineProfileView()) view->ShowViewAngle();
}

double ResultDocumentViews::ViewTheta() const { return models_->Surface.ViewTheta; }

void ResultDocumentViews::SetViewTheta(double degrees) {
  models_->Surface.ViewTheta = degrees;
  ApplyViewPoint();
}

double ResultDocumentViews::ViewPhi() const { return models_->Surface.ViewPhi; }

void ResultDocumentViews::SetViewPhi(double degrees) {
  models_->Surface.ViewPhi = degrees;
  ApplyViewPoint();
}

void ResultDocumentViews::ApplyViewPoint() {
  SurfacePlotViewModel& surface = models_->Surface;
  bool recalc = false;
  surface.SurfacePlot.Chart.ChangeViewPoint(surface.ViewR, surface.ViewTheta, surface.ViewPhi,
                                            recalc);
  frmSurfacePlot* view = SurfacePlotView();
  if (view == nullptr) return;
  view->ShowViewAngles();
  if (recalc) view->UpdatePlot();
}

}  // namespace orvale
