#include "app/document/DocumentViews.h"

#include "app/document/DocumentHost.h"
#include "app/document/OutputViewCaptions.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

namespace {

using viewtype::kAberrations;
using viewtype::kContourPlot;
using viewtype::kGridResults;
using viewtype::kImage;
using viewtype::kLineProfile;
using viewtype::kSFringe;
using viewtype::kSurfacePlot;
using viewtype::kZernikes;

// The orders in which the rules walk the output views. They decide which window ends up
// active and on top, so each member keeps its own.
constexpr std::array<std::int32_t, 7> kVisibilityOrder = {
    kZernikes, kGridResults, kAberrations, kSFringe, kLineProfile, kContourPlot, kSurfacePlot};
constexpr std::array<std::int32_t, 7> kShowHideOrder = {
    kZernikes, kAberrations, kSFringe, kLineProfile, kContourPlot, kSurfacePlot, kGridResults};
constexpr std::array<std::int32_t, 7> kLoadOrder = {
    kZernikes, kAberrations, kGridResults, kSFringe, kLineProfile, kContourPlot, kSurfacePlot};

bool IsViewSlot(std::int32_t formType, std::size_t slots) {
  return formType >= 0 && static_cast<std::size_t>(formType) < slots;
}

}  // namespace

DocumentViews::~DocumentViews() {
  // Whatever the close routine left over is unloaded in its order.
  for (const auto& kind : kOutputViewKinds) Release(kind.FormType);
  Release(kImage);
}

// --- Creating and releasing ---

DocumentWindow* DocumentViews::Window(std::int32_t formType) const {
  if (!IsViewSlot(formType, kViewSlots)) return nullptr;
  return windows_[static_cast<std::size_t>(formType)].get();
}

std::unique_ptr<DocumentWindow> DocumentViews::MakeWindow(clsDocument& /*doc*/,
                                                          std::int32_t formType) {
  return std::make_unique<RecordingDocumentWindow>(formType, windowCalls_);
}

bool DocumentViews::Adopt(clsDocument& doc, std::int32_t formType) {
  std::unique_ptr<DocumentWindow> window = MakeWindow(doc, formType);
  if (!window) return false;
  const auto slot = static_cast<std::size_t>(formType);
  if (keptPlacements_[slot] != WindowPlacement{}) window->SetPlacement(keptPlacements_[slot]);
  if (!keptCaptions_[slot].empty()) window->SetCaption(keptCaptions_[slot]);
  windows_[slot] = std::move(window);
  return true;
}

void DocumentViews::Release(std::int32_t formType) {
  auto& window = windows_[static_cast<std::size_t>(formType)];
  if (!window) return;
  // What the window kept stays readable after it is gone.
  keptPlacements_[static_cast<std::size_t>(formType)] = window->Placement();
  keptCaptions_[static_cast<std::size_t>(formType)] = window->Caption();
  window.reset();
}

bool DocumentViews::CreateImageView(clsDocument& doc) {
  Attach(doc);
  if (Window(kImage) != nullptr) return true;
  if (!Adopt(doc, kImage)) return false;
  SetMouseTool(kImage, doc.Host().ImageViewStartsInEditMode());
  return true;
}

bool DocumentViews::CreateOutputViews(clsDocument& doc, double surfaceTheta, double surfacePhi,
                                      std::int32_t lineAngle) {
  Attach(doc);
  std::vector<std::int32_t> made;
  bool complete = false;
  // A set made halfway is released again: windows nobody unloads must not be left
  // holding the document.
  struct Rollback {
    DocumentViews& views;
    const std::vector<std::int32_t>& made;
    const bool& complete;
    ~Rollback() {
      if (complete) return;
      for (const std::int32_t formType : made) views.windows_[static_cast<std::size_t>(formType)].reset();
    }
  } rollback{*this, made, complete};

  for (const auto& kind : kOutputViewKinds) {
    if (Window(kind.FormType) != nullptr) continue;
    if (!Adopt(doc, kind.FormType)) return false;
    made.push_back(kind.FormType);
  }
  complete = true;
  if (made.empty()) return true;  // the set exists already and keeps its state
  SetViewTheta(surfaceTheta);
  SetViewPhi(surfacePhi);
  SetViewAngle(lineAngle);
  return true;
}

void DocumentViews::UnloadImageView() { Release(kImage); }

void DocumentViews::UnloadOutputViews() {
  for (const auto& kind : kOutputViewKinds) Release(kind.FormType);
}

// --- Image view ---

void DocumentViews::ShowImageCaptionAndPicture(clsDocument& doc) {
  SetCaption(kImage, DocumentDisplayName(doc));
  std::int32_t width = 0;
  std::int32_t height = 0;
  doc.GetImageSize(width, height);
  if (doc.BlankImage)
    RefreshBlankImage(width, height);
  else
    RefreshBitmapFromData(doc.ImageData(), width, height);
  SetImageReady(true);
}

void DocumentViews::ImageView_Init(clsDocument& doc) {
  Attach(doc);
  DocumentWindow* window = Window(kImage);
  if (window == nullptr) return;
  BusyPointer busy(doc.Host());
  WindowPlacement placement = window->Placement();
  // Unless the document file placed it, the window takes the size made for its image.
  if ((placement.Width < 1 || placement.Height < 1) && doc.InitWindowWidth > 0 &&
      doc.InitWindowHeight > 0) {
    placement.Width = doc.InitWindowWidth;
    placement.Height = doc.InitWindowHeight;
  }
  window->Load(placement);
  SetImageReady(false);
  ShowImageCaptionAndPicture(doc);
}

void DocumentViews::ImageView_Refresh(clsDocument& doc) {
  // The image may change before its window is made (a grab refreshes first).
  if (Window(kImage) == nullptr) return;
  BusyPointer busy(doc.Host());
  ShowImageCaptionAndPicture(doc);
  UpdateImage();
}

void DocumentViews::RefreshBitmapFromData(std::span<const std::uint8_t> /*data*/,
                                          std::int32_t width, std::int32_t height) {
  windowCalls_.Calls.push_back("Bitmap 1 " + std::to_string(width) + " " +
                               std::to_string(height));
}

void DocumentViews::UpdateImage() {
  if (DocumentWindow* window = Window(kImage)) window->Repaint();
}

void DocumentViews::PaintImage() {
  if (DocumentWindow* window = Window(kImage)) window->Repaint();
}

void DocumentViews::ShowImageView() {
  if (DocumentWindow* window = LoadedWindow(kImage)) window->Show(true, true);
}

void DocumentViews::SetMouseTool(std::int32_t formType, bool editMode) {
  if (formType == kImage) mouseEditMode_ = editMode;
}

// --- Output views ---

clsDocument* DocumentViews::DocumentWithOutputViews() const {
  return doc_ != nullptr && doc_->OutputViewsExist ? doc_ : nullptr;
}

bool DocumentViews::ViewFlag(std::int32_t formType) const {
  const OutputViewKind* kind = FindOutputViewKind(formType);
  return kind != nullptr && doc_ != nullptr && doc_->*kind->Visible;
}

DocumentWindow* DocumentViews::LoadedWindow(std::int32_t formType) {
  DocumentWindow* window = Window(formType);
  if (window == nullptr || window->IsLoaded()) return window;
  const OutputViewKind* kind = FindOutputViewKind(formType);
  if (kind != nullptr && doc_ != nullptr) {
    window->Load(doc_->Settings().ResultWindowLayout[kind->LayoutIndex]);
  } else {
    window->Load(window->Placement());
  }
  return window;
}

void DocumentViews::OutputViews_Load(clsDocument& doc, bool TileViews) {
  Attach(doc);
  if (!doc.OutputViewsExist) return;
  ResultWindowPlacements& layout = doc.Settings().ResultWindowLayout;
  if (TileViews) {
    const WindowFrameMetrics frame = doc.Host().FrameMetrics();
    for (WindowPlacement& place : layout) {
      place.Left += frame.FrameWidth;
      place.Top += frame.FrameWidth + frame.CaptionHeight;
    }
  }
  for (const std::int32_t formType : kLoadOrder) {
    DocumentWindow* window = Window(formType);
    if (window != nullptr && !window->IsLoaded())
      window->Load(layout[FindOutputViewKind(formType)->LayoutIndex]);
  }
}

void DocumentViews::OutputViews_UpdateVisibility(clsDocument& doc, bool Activate) {
  Attach(doc);
  if (!doc.OutputViewsExist) return;
  for (const std::int32_t formType : kVisibilityOrder) {
    if (ViewFlag(formType)) {
      if (DocumentWindow* window = LoadedWindow(formType)) window->Show(Activate, false);
    } else if (DocumentWindow* window = Window(formType); window != nullptr && window->IsLoaded()) {
      window->Hide();
    }
  }
}

void DocumentViews::OutputViews_ShowNoActivate(clsDocument& doc, bool TopUp) {
  Attach(doc);
  if (!doc.OutputViewsExist) return;
  const GeneralSettings& settings = doc.Settings();
  for (const std::int32_t formType : kShowHideOrder) {
    if (!ViewFlag(formType)) continue;
    DocumentWindow* window = LoadedWindow(formType);
    if (window == nullptr) continue;
    // With shared windows every document shows its views at the one common layout.
    if (settings.HogWindows)
      window->SetPlacement(settings.ResultWindowLayout[FindOutputViewKind(formType)->LayoutIndex]);
    window->Show(false, TopUp);
  }
}

void DocumentViews::OutputViews_Select(std::int32_t view) {
  if (view != kImage && !ViewFlag(view)) return;
  if (DocumentWindow* window = Window(view)) window->BringToTop(true);
}

void DocumentViews::OutputViews_HideAll() {
  if (DocumentWithOutputViews() == nullptr) return;
  for (const std::int32_t formType : kShowHideOrder) {
    if (!ViewFlag(formType)) continue;
    if (DocumentWindow* window = Window(formType); window != nullptr && window->IsLoaded())
      window->Hide();
  }
}

void DocumentViews::OutputViews_Refresh() {
  if (DocumentWithOutputViews() == nullptr) return;
  for (const std::int32_t formType : kLoadOrder) {
    if (!ViewFlag(formType)) continue;
    if (DocumentWindow* window = Window(formType); window != nullptr && window->IsLoaded())
      window->Repaint();
  }
}

void DocumentViews::OutputViews_Offset(std::int32_t dxpix, std::int32_t dypix, bool NoShow) {
  if (DocumentWithOutputViews() == nullptr) return;
  for (const std::int32_t formType : kLoadOrder) {
    if (!ViewFlag(formType)) continue;
    DocumentWindow* window = LoadedWindow(formType);
    if (window == nullptr) continue;
    const WindowPlacement place = window->Placement();
    window->Move(place.Left + dxpix, place.Top + dypix);
    if (!NoShow) window->Show(false, false);
  }
}

void DocumentViews::OutputViews_UpdateGlobals(clsDocument& doc, bool SaveToGlobals) {
  Attach(doc);
  if (!doc.OutputViewsExist) return;
  GeneralSettings& settings = doc.Settings();
  for (const auto& kind : kOutputViewKinds) {
    bool& global = settings.ResultWindowVisible[kind.LayoutIndex];
    if (SaveToGlobals) {
      global = doc.*kind.Visible;
    } else {
      doc.*kind.Visible = global;
    }
  }
  if (!SaveToGlobals || !settings.HogWindows) return;
  for (const auto& kind : kOutputViewKinds) {
    const DocumentWindow* window = Window(kind.FormType);
    // A minimised or maximised window keeps the place it had in normal state.
    if (window == nullptr || !window->IsLoaded() || window->State() != WindowShowState::Normal)
      continue;
    settings.ResultWindowLayout[kind.LayoutIndex] = window->Placement();
  }
}

// --- Results ---

void DocumentViews::OutputViews_LoadData(clsDocument& /*doc*/, const AnalysisViewData& data) {
  lastData_ = data;
  ++dataLoads_;
}

void DocumentViews::LoadDataIntoLineProfile(clsDocument& /*doc*/,
                                            std::span<const double> positions,
                                            std::span<const double> values) {
  lastData_.ProfileX.assign(positions.begin(), positions.end());
  lastData_.ProfileY.assign(values.begin(), values.end());
}

// --- What the main window drives and the windows keep ---

void DocumentViews::FocusView(std::int32_t formType) {
  if (DocumentWindow* window = Window(formType)) window->BringToTop(true);
}

WindowPlacement DocumentViews::GetViewPlacement(std::int32_t formType) const {
  if (!IsViewSlot(formType, kViewSlots)) return {};
  if (const DocumentWindow* window = Window(formType)) return window->Placement();
  return keptPlacements_[static_cast<std::size_t>(formType)];
}

void DocumentViews::SetViewPlacement(std::int32_t formType, const WindowPlacement& placement) {
  if (!IsViewSlot(formType, kViewSlots)) return;
  if (DocumentWindow* window = Window(formType)) {
    window->SetPlacement(placement);
  } else {
    keptPlacements_[static_cast<std::size_t>(formType)] = placement;
  }
}

WindowShowState DocumentViews::ViewShowState(std::int32_t formType) const {
  const DocumentWindow* window = Window(formType);
  return window != nullptr ? window->State() : WindowShowState::Normal;
}

void DocumentViews::ShowViewNormal(std::int32_t formType) {
  if (DocumentWindow* window = Window(formType)) window->ShowNormal();
}

void DocumentViews::SetViewZoom(std::int32_t formType, std::int32_t percent) {
  if (IsViewSlot(formType, kViewSlots)) zooms_[static_cast<std::size_t>(formType)] = percent;
}

std::int32_t DocumentViews::ViewZoom(std::int32_t formType) const {
  constexpr std::int32_t kUnzoomed = 100;
  if (!IsViewSlot(formType, kViewSlots)) return kUnzoomed;
  const std::int32_t zoom = zooms_[static_cast<std::size_t>(formType)];
  return zoom > 0 ? zoom : kUnzoomed;
}

std::string DocumentViews::Caption(std::int32_t formType) const {
  if (!IsViewSlot(formType, kViewSlots)) return {};
  if (const DocumentWindow* window = Window(formType)) return window->Caption();
  return keptCaptions_[static_cast<std::size_t>(formType)];
}

void DocumentViews::SetCaption(std::int32_t formType, const std::string& caption) {
  if (!IsViewSlot(formType, kViewSlots)) return;
  if (DocumentWindow* window = Window(formType)) {
    window->SetCaption(caption);
  } else {
    keptCaptions_[static_cast<std::size_t>(formType)] = caption;
  }
}

}  // namespace orvale
