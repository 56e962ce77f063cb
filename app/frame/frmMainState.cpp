// The main window's enable, check and pressed states, the zoom list, the status bar
// and the pointers: the rules are FrameStateRules; this applies them.
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

#include "app/frame/FrameContext.h"
#include "app/imageview/ImageViewWindows.h"
#include "app/frame/MouseIcons.h"
#include "app/frame/ToolBarButtons.h"
#include "app/dialogs/frmAnalyze.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/StoreWindowLayout.h"
#include "app/frame/frmMain.h"
#include "app/plots/DocumentSubWindow.h"
#include "platform/registry/ResultWindowLayout.h"

namespace orvale {

namespace {

bool AskHasSetupDlg(const GrabberState& grabber) {
  bool value = false;
  // A plug-in that fails to answer offers no setup dialog.
  return grabber.Grabber != nullptr && !grabber.Grabber->get_HasSetupDlg(value).Failed() && value;
}

}  // namespace

clsDocument* frmMain::ActiveDocument() const { return app_.Documents->ActiveDocument(); }

QAction* frmMain::RuledItem(RuledMenuItem item) const {
  return ruled_[static_cast<std::size_t>(item)];
}

QAction* frmMain::ViewItem(ViewMenuItem item) const {
  return viewItems_[static_cast<std::size_t>(item)];
}

FrameStateInput frmMain::GatherState(bool ForceOff) const {
  FrameStateInput in;
  in.NumDocuments = app_.Documents->NumDocuments;
  in.ForceOff = ForceOff;
  if (clsDocument* doc = ActiveDocument()) {
    in.HasActiveDocument = true;
    in.OutputViewsExist = doc->OutputViewsExist;
    in.ImageViewExist = doc->ImageViewExist;
    in.ActiveView = doc->ActiveView;
    for (int kind = 0; kind < kResultWindowCount; ++kind)
      in.OutputViewFlags[static_cast<std::size_t>(kind)] = doc->*kOutputViewKinds[static_cast<std::size_t>(kind)].Visible;
  }
  const GrabberState& grabber = app_.Grabber;
  in.PluginExists = grabber.Grabber != nullptr;
  in.GrabberCreated = grabber.GrabberCreated;
  in.GrabberReady = grabber.GrabberReady;
  in.HasSetupDlg = GrabberMayShowSetup(in) && AskHasSetupDlg(grabber);
  return in;
}

void frmMain::SetMenuItems(bool ForceOff) {
  const FrameStates states = ComputeFrameStates(GatherState(ForceOff));
  for (int k = 0; k < kRuledMenuItemCount; ++k)
    ruled_[static_cast<std::size_t>(k)]->setEnabled(states.MenuEnabled[static_cast<std::size_t>(k)]);
  for (int kind = 0; kind < kResultWindowCount; ++kind)
    RuledItem(OutputViewMenuItem(kind))->setChecked(states.OutputViewChecked[static_cast<std::size_t>(kind)]);
  // The analysis options follow whether a document is open.
  if (app_.Tools.Analyze != nullptr) app_.Tools.Analyze->SetControls(ForceOff);
}

void frmMain::SetToolBarItems(bool ForceOff) {
  const FrameStates states = ComputeFrameStates(GatherState(ForceOff));
  for (int index = 1; index <= kToolBarButtonCount; ++index) {
    const ButtonStyle style = kToolBarButtons[static_cast<std::size_t>(index)].Style;
    if (style == ButtonStyle::Separator || style == ButtonStyle::Placeholder) continue;
    if (index == toolbutton::kZoomIn || index == toolbutton::kZoomOut) continue;
    buttons_[static_cast<std::size_t>(index)]->setEnabled(states.ButtonEnabled[static_cast<std::size_t>(index)]);
  }
  SetToolBarZoomItems(ForceOff);
}

void frmMain::SetToolBarZoomItems(bool ForceOff) {
  const bool enabled = ComputeFrameStates(GatherState(ForceOff)).ZoomEnabled;
  buttons_[toolbutton::kZoomIn]->setEnabled(enabled);
  buttons_[toolbutton::kZoomOut]->setEnabled(enabled);
  cboZoom_->setEnabled(enabled);
}

void frmMain::UpdateToolBar() {
  ViewItemMarks marks;
  for (int k = 0; k < kToolWindowCount; ++k)
    marks.ToolWindowChecked[static_cast<std::size_t>(k)] =
        ViewItem(ViewItemOf(static_cast<ToolWindowKind>(k)))->isChecked();
  for (int kind = 0; kind < kResultWindowCount; ++kind) {
    const QAction* item = RuledItem(OutputViewMenuItem(kind));
    marks.OutputViewChecked[static_cast<std::size_t>(kind)] = item->isChecked();
    marks.OutputViewEnabled[static_cast<std::size_t>(kind)] = item->isEnabled();
  }
  const auto pressed = ToolBarPressed(marks);
  for (int k = 0; k < kToolWindowCount; ++k) {
    const auto index = static_cast<std::size_t>(toolbutton::kFirstToolWindow + k);
    buttons_[index]->setChecked(pressed[index]);
  }
  for (int kind = 0; kind < kResultWindowCount; ++kind) {
    const auto index = static_cast<std::size_t>(toolbutton::kFirstOutputView + kind);
    buttons_[index]->setChecked(pressed[index]);
  }
}

void frmMain::UpdateMainFrame(std::int32_t WindowType, double ScaleFactor, bool EditMode) {
  const MainFrameUpdatePlan plan =
      PlanMainFrameUpdate(WindowType, ScaleFactor, EditMode, app_.Settings.HogWindows);
  if (plan.RefreshMenusAndToolBar) {
    SetMenuItems(false);
    SetToolBarItems(false);
    UpdateToolBar();
  } else if (plan.ZoomItemsOnly) {
    SetToolBarZoomItems(false);
  }
  QAction* hand = buttons_[toolbutton::kHandTool];
  QAction* edit = buttons_[toolbutton::kEditTool];
  if (plan.EditToolPressed) {
    SetEditToolPressed(*plan.EditToolPressed);
    hand->setEnabled(true);
    edit->setEnabled(true);
  }
  if (plan.ToolsReleasedAndDisabled) {
    hand->setChecked(false);
    edit->setChecked(false);
    hand->setEnabled(false);
    edit->setEnabled(false);
  }
  if (plan.ZoomPercent) ShowZoomPercent(*plan.ZoomPercent);
  SetStatusBar();
}

void frmMain::StoreWindowLayout(clsDocument& doc) { orvale::StoreWindowLayout(*app_.Documents, doc); }

void frmMain::SaveWindowLayout() {
  orvale::SaveWindowLayout(app_.Settings.ResultWindowVisible, app_.Settings.ResultWindowLayout);
}

bool frmMain::ViewItemChecked(ViewMenuItem item) const { return ViewItem(item)->isChecked(); }

void frmMain::SetViewItemChecked(ViewMenuItem item, bool checked) { ViewItem(item)->setChecked(checked); }

void frmMain::SetEditToolPressed(bool edit) {
  buttons_[toolbutton::kEditTool]->setChecked(edit);
  buttons_[toolbutton::kHandTool]->setChecked(!edit);
}

bool frmMain::EditToolPressed() const { return buttons_[toolbutton::kEditTool]->isChecked(); }

bool frmMain::ImageViewStartsInEditMode() const {
  return !ViewItemChecked(ViewMenuItem::Toolbar) || EditToolPressed();
}

// --- Zoom list ---

void frmMain::SetZoomCombo(std::int32_t zf) { cboZoom_->setCurrentIndex(ZoomIndexOf(zf)); }

std::int32_t frmMain::ZoomListCount() const { return cboZoom_->count(); }
std::int32_t frmMain::ZoomListIndex() const { return cboZoom_->currentIndex(); }

std::int32_t frmMain::ZoomListItemData(std::int32_t index) const {
  return index >= 0 && index < cboZoom_->count() ? cboZoom_->itemData(index).toInt() : 0;
}

void frmMain::SelectZoomListIndex(std::int32_t index) {
  if (index >= 0 && index < cboZoom_->count()) cboZoom_->setCurrentIndex(index);
}

void frmMain::ShowZoomPercent(std::int32_t percent) {
  ZoomComboMsgLockOut = true;
  SetZoomCombo(percent);
  ZoomComboMsgLockOut = false;
}

void frmMain::StepZoom(int step) {
  const int index = cboZoom_->currentIndex() + step;
  if (index >= 0 && index < cboZoom_->count()) cboZoom_->setCurrentIndex(index);
}

void frmMain::ZoomComboChanged(int index) {
  if (ZoomComboMsgLockOut || index < 0) return;
  clsDocument* doc = ActiveDocument();
  if (doc == nullptr) return;
  const std::int32_t percent = cboZoom_->itemData(index).toInt();
  if (doc->ActiveView == viewtype::kSFringe && doc->OutputViewsExist) {
    doc->Views().SetViewZoom(viewtype::kSFringe, percent);
  } else if (doc->ImageViewExist) {
    doc->Views().SetViewZoom(viewtype::kImage, percent);
  }
}

// --- Status bar ---

void frmMain::SetStatusBar() {
  clsDocument* doc = ActiveDocument();
  if (doc == nullptr) {
    SetStatusPanelText(statuspanel::kSize, "");
  } else {
    if (doc->ActiveView != viewtype::kImage) SetStatusPanelText(statuspanel::kStatus, "");
    std::int32_t width = 0;
    std::int32_t height = 0;
    doc->GetBufferSize(width, height);
    SetStatusPanelText(statuspanel::kSize, std::to_string(width) + "x" + std::to_string(height));
  }
  SetStatusPanelText(statuspanel::kCoords, "");
  SetStatusPanelText(statuspanel::kIntensity, "");
}

void frmMain::SetStatusPanelText(std::int32_t panel, const std::string& text) {
  if (QLabel* label = StatusPanel(panel)) label->setText(QString::fromStdString(text));
}

// --- Pointers and metrics ---

QCursor frmMain::MouseIcon(std::string_view key) const { return MouseIconCursor(key); }

void frmMain::SetScreenPointer(std::string_view key) {
  screenPointer_ = std::string(key);
  ApplyPointer();
}

void frmMain::SetBusyPointer(bool busy) {
  busy_ = busy;
  ApplyPointer();
}

void frmMain::ApplyPointer() {
  while (overrideCursors_ > 0) {
    QApplication::restoreOverrideCursor();
    --overrideCursors_;
  }
  if (busy_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++overrideCursors_;
  } else if (!screenPointer_.empty()) {
    QApplication::setOverrideCursor(MouseIconCursor(screenPointer_));
    ++overrideCursors_;
  }
}

std::unique_ptr<DocumentViews> frmMain::CreateDocumentViews(clsDocument& /*doc*/) {
  return std::make_unique<ImageViewWindows>(*this, *mdi_, toolbox_);
}

WindowFrameMetrics frmMain::FrameMetrics() const {
  WindowFrameMetrics m = MdiWindowFrameMetrics(*style());
  m.ScrollBarWidth = app_.ScrollBarWidth;
  m.ScrollBarHeight = app_.ScrollBarHeight;
  return m;
}

// --- Fringe pop-up ---

void frmMain::ShowFringePopup(const FringePopupRequest& request) {
  if (!request.AddApertureCaption.empty())
    popupAddAperture_->setText(QString::fromStdString(request.AddApertureCaption));
  if (!request.AddObstructionCaption.empty())
    popupAddObstruction_->setText(QString::fromStdString(request.AddObstructionCaption));
  popupDeleteCenter_->setVisible(request.DeleteCenterVisible);
  popupAddAperture_->setVisible(request.AddApertureVisible);
  popupClearAperture_->setVisible(request.ClearApertureVisible);
  popupAddObstruction_->setVisible(request.AddObstructionVisible);
  popupClearObstruction_->setVisible(request.ClearObstructionVisible);
  mnuPopupFringe_->exec(QPoint(request.ScreenX, request.ScreenY));
}

}  // namespace orvale
