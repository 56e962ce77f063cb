// The main window's load, close and unload, file drops and the recent-file entries.
#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "app/frame/FrameContext.h"
#include "app/frame/FramePlacement.h"
#include "app/document/OpenFiles.h"
#include "app/document/clsDocument.h"
#include "app/frame/frmMain.h"
#include "platform/registry/SettingsBatch.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/ScreenTwips.h"
#include "platform/ui/WindowFrame.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "CurrentVersion";

struct FlagKey {
  ViewMenuItem Item;
  std::string_view Key;
  bool Default;
};

// In the order the frame reads them.
constexpr FlagKey kViewFlags[] = {
    {ViewMenuItem::AverageBox, "Average Box Visible", false},
    {ViewMenuItem::AnalyzeBox, "Analyze Box Visible", true},
    {ViewMenuItem::GridAnalyzeBox, "Analyze Grid Box Visible", false},
    {ViewMenuItem::ToolBox, "Toolbox Visible", true},
    {ViewMenuItem::Toolbar, "Toolbar Visible", true},
    {ViewMenuItem::StatusBar, "Status Bar Visible", true},
    {ViewMenuItem::MathBox, "Math Box Visible", false},
    {ViewMenuItem::RefZernike, "Ref Zernike Visible", false},
};

enum FrameState : std::int32_t { kNormal = 0, kMinimised = 1, kMaximised = 2 };

std::int32_t StateOf(Qt::WindowStates states) {
  if (states & Qt::WindowMinimized) return kMinimised;
  if (states & (Qt::WindowMaximized | Qt::WindowFullScreen)) return kMaximised;
  return kNormal;
}

}  // namespace

void frmMain::Load() {
  const QSize screen = ScreenSizeTwips();
  StoredFramePlace& stored = storedPlace_;
  stored.Left = GetSettingLong(kSection, "MainLeft", 0, screen.width(), kDefaultFramePlace.Left);
  stored.Top = GetSettingLong(kSection, "MainTop", 0, screen.height(), kDefaultFramePlace.Top);
  stored.Width = GetSettingLong(kSection, "MainWidth", 0, screen.width(), kDefaultFramePlace.Width);
  stored.Height = GetSettingLong(kSection, "MainHeight", 0, screen.height(), kDefaultFramePlace.Height);
  const std::int32_t state = GetSettingLong(kSection, "MainState", kNormal, kMaximised, kNormal);

  for (const FlagKey& flag : kViewFlags)
    SetViewItemChecked(flag.Item, GetSettingBool(kSection, flag.Key, flag.Default));
  app_.RecentFiles->LoadRecentFileList();
  tbToolbar_->setVisible(ViewItemChecked(ViewMenuItem::Toolbar));
  statusBar()->setVisible(ViewItemChecked(ViewMenuItem::StatusBar));

  // The default place's width depends on the toolbar, so the bars come first.
  PlaceFrame();
  awaitingFrame_ = true;
  if (state == kMinimised) setWindowState(Qt::WindowMinimized);
  if (state == kMaximised) setWindowState(Qt::WindowMaximized);
  SetMenuItems(false);
  SetToolBarItems(false);
  UpdateToolBar();
}

void frmMain::PlaceFrame() {
  // The toolbar's full width, so that none of its buttons folds away at the default size.
  const int toolbarWidth = tbToolbar_->isHidden() ? 0 : tbToolbar_->sizeHint().width();
  const QMargins margins = FrameMarginsOf(*this);
  const QRect outer = FrameOuterGeometry(storedPlace_, AvailableScreenPixels(), TwipsPerPixel(),
                                         toolbarWidth, margins);
  // A move places the outer rectangle even before the window has a frame.
  move(outer.topLeft());
  resize(ClientGeometry(outer, margins).size());
  placedMargins_ = margins;
}

void frmMain::PlaceFrameOnceFramed() {
  if (!awaitingFrame_ || !isVisible()) return;
  if (windowState() != Qt::WindowNoState) {
    awaitingFrame_ = false;  // the normal place keeps what Load gave it
    return;
  }
  if (FrameMarginsOf(*this) == placedMargins_) return;
  awaitingFrame_ = false;
  PlaceFrame();
}

void frmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  GuardHandler([this] { PlaceFrameOnceFramed(); });
}

void frmMain::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  GuardHandler([this] { PlaceFrameOnceFramed(); });
}

void frmMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMaximized())
    GuardHandler([this] { KeepToolWindowsOffFrameBars(app_.Tools); });
}

void frmMain::ShowToolWindowsByChecks() {
  constexpr ToolWindowKind kOrder[] = {ToolWindowKind::AnalyzeGrid, ToolWindowKind::Average,
                                       ToolWindowKind::ToolBox,     ToolWindowKind::Analyze,
                                       ToolWindowKind::RefZernike,  ToolWindowKind::Math};
  for (ToolWindowKind kind : kOrder) {
    ToolWindow* window = app_.Tools.Of(kind);
    if (window != nullptr && ViewItemChecked(ViewItemOf(kind))) window->ShowFromView();
  }
}

bool frmMain::QueryUnload() {
  DocumentTable& table = *app_.Documents;
  for (std::int32_t slot = 1; slot <= DocumentTable::kMaxDocuments; ++slot) {
    const auto i = static_cast<std::size_t>(slot);
    if (!table.DocumentInUse[i]) continue;
    clsDocument* doc = table.Documents[i].get();
    std::int16_t cancel = 0;
    table.CloseDocument(doc, false, cancel);
    if (cancel == 1) return false;
  }
  return true;
}

void frmMain::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  {
    ScopedSettingsBatch batch;
    const std::int32_t state = StateOf(windowState());
    if (state == kNormal) {
      const QRect place = frameGeometry();  // the outer rectangle, as Load restores it
      SaveSettingLong(kSection, "MainLeft", PixelsToTwips(place.left()));
      SaveSettingLong(kSection, "MainTop", PixelsToTwips(place.top()));
      SaveSettingLong(kSection, "MainWidth", PixelsToTwips(place.width()));
      SaveSettingLong(kSection, "MainHeight", PixelsToTwips(place.height()));
    }
    SaveSettingLong(kSection, "MainState", state);
    for (const FlagKey& flag : kViewFlags) SaveSettingBool(kSection, flag.Key, ViewItemChecked(flag.Item));
    app_.Settings.GrabberName = app_.Grabber.GrabberName;
    WriteGeneralSettings(app_.Settings);
    app_.RecentFiles->SaveRecentFileList();
    batch.Commit();
  }
  UnloadToolWindows(app_.Tools);
  ReleaseGrabberAtExit();
  DestroyToolWindows();
}

void frmMain::closeEvent(QCloseEvent* event) {
  bool closing = false;
  GuardHandler([this, &closing] {
    if (!QueryUnload()) return;
    // Once the documents are closed the program ends, even if writing back fails.
    closing = true;
    Unload();
  });
  if (closing) event->accept(); else event->ignore();
}

// --- Dropped files ---

std::vector<std::string> frmMain::DroppedFiles(const QMimeData& data) {
  std::vector<std::string> files;
  if (!data.hasUrls()) return files;
  for (const QUrl& url : data.urls())
    if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  return files;
}

bool frmMain::DropFiles(const QMimeData& data) {
  const std::vector<std::string> files = DroppedFiles(data);
  if (files.empty()) return false;
  OpenFiles(*app_.Documents, *app_.RecentFiles, files, false);
  return true;
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void frmMain::dragMoveEvent(QDragMoveEvent* event) {
  // Only local files are taken, and only as a copy.
  if (!DroppedFiles(*event->mimeData()).empty()) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void frmMain::dropEvent(QDropEvent* event) {
  GuardHandler([this, event] {
    if (DropFiles(*event->mimeData())) {
      event->setDropAction(Qt::CopyAction);
      event->accept();
    }
  });
}

// --- Recent files in the File menu ---

std::string frmMain::Caption(int index) const { return mruCaptions_.at(static_cast<std::size_t>(index)); }
std::string frmMain::Tag(int index) const { return mruTags_.at(static_cast<std::size_t>(index)); }
bool frmMain::Visible(int index) const { return mnuFileMRU_.at(static_cast<std::size_t>(index))->isVisible(); }

void frmMain::SetEntry(int index, const std::string& caption, const std::string& tag, bool visible) {
  const auto i = static_cast<std::size_t>(index);
  mruCaptions_.at(i) = caption;
  mruTags_.at(i) = tag;
  QString text = QFile::decodeName(QByteArray::fromStdString(caption));
  text.replace("&", "&&");
  mnuFileMRU_[i]->setText(text);
  mnuFileMRU_[i]->setToolTip(QFile::decodeName(QByteArray::fromStdString(tag)));
  mnuFileMRU_[i]->setVisible(visible);
}

void frmMain::SetSeparatorVisible(bool visible) { mnuFileBar4_->setVisible(visible); }

}  // namespace orvale
