// What the menu, toolbar and pop-up commands of the main window do.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QStatusBar>
#include <QToolBar>

#include "app/frame/FrameContext.h"
#include "app/dialogs/frmAnalyze.h"
#include "app/imageview/FringeToolbox.h"
#include "app/document/DocumentSaveService.h"
#include "app/document/ExportCommands.h"
#include "app/document/FilePaths.h"
#include "app/document/OpenFiles.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/SaveCommands.h"
#include "app/document/clsDocument.h"
#include "app/frame/frmMain.h"
#include "platform/ui/FileDialogService.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

constexpr const char* kOpenFilter =
    "All Files (*.*)|*.*|Graphic Files (*.jpg *.bmp *.rle)|*.jpg;*.bmp;*.rle|"
    "Orvale Documents (*.ovd)|*.ovd";
constexpr std::uint32_t kOpenFlags = ofn::kExplorer | ofn::kAllowMultiSelect | ofn::kFileMustExist |
                                     ofn::kPathMustExist | ofn::kHideReadOnly;

DocumentSaveService& Saver() {
  DocumentSaveService* service = CurrentDocumentSaveService();
  return service != nullptr ? *service : FileSaveCommands();
}

bool IsTextView(std::int32_t formType) {
  return formType == viewtype::kAberrations || formType == viewtype::kZernikes ||
         formType == viewtype::kGridResults;
}

}  // namespace

// --- File ---

void frmMain::FileOpen() {
  GeneralSettings& settings = app_.Settings;
  FileDialogRequest request;
  request.Filter = kOpenFilter;
  request.FilterIndex = settings.OpenFileFilter;
  request.InitDir = settings.OpenFileDir;
  request.Flags = kOpenFlags;
  const FileDialogAnswer answer = CurrentFileDialogService().ShowOpen(request);
  if (answer.Cancelled) return;
  // Where the user went, so that the next dialog opens there.
  settings.OpenFileFilter = answer.FilterIndex;
  settings.OpenFileDir = answer.Folder;
  if (answer.FileNames.empty()) return;
  // Let the dialog's window go before the files load; no second command may start.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  OpenFiles(*app_.Documents, *app_.RecentFiles, answer.FileNames, false);
}

void frmMain::FileClose() {
  clsDocument* doc = ActiveDocument();
  if (doc == nullptr) return;
  std::int16_t cancel = 0;
  app_.Documents->CloseDocument(doc, false, cancel);
}

void frmMain::FileSave() {
  clsDocument* doc = ActiveDocument();
  if (doc == nullptr) return;
  DocumentSaveService& saver = Saver();
  if (!doc->DocumentFileName.empty()) {
    saver.SaveFile(JoinFilePath(doc->DocumentFilePath, doc->DocumentFileName), *doc);
  } else if (doc->OutputViewsExist || doc->ImageFileExist) {
    // An image read from a file has only its bare name and may carry shapes and
    // fringes: it is saved through the dialog, as a document when it has any.
    saver.SaveFileAs(*doc, false);
  } else {
    saver.SaveFileAs(*doc, true);
  }
}

void frmMain::FileSaveAs() {
  if (clsDocument* doc = ActiveDocument()) Saver().SaveFileAs(*doc, false);
}

void frmMain::FileExportMap() {
  if (clsDocument* doc = ActiveDocument()) ExportSurfaceMap(*doc, "");
}

void frmMain::FileExportZernikes() {
  if (clsDocument* doc = ActiveDocument()) ExportZernikes(*doc);
}

void frmMain::OpenRecentFile(int index) {
  if (index < 0 || index >= kRecentFileEntries) return;
  const std::string path = app_.RecentFiles->Path(index);
  if (path.empty()) return;
  const std::string names[] = {path};
  OpenFiles(*app_.Documents, *app_.RecentFiles, names, false);
}

// --- Edit ---

void frmMain::EditCopy() {
  clsDocument* doc = ActiveDocument();
  if (doc == nullptr || !doc->OutputViewsExist || !IsTextView(doc->ActiveView)) return;
  std::string text = doc->Views().ViewSelectedText(doc->ActiveView);
  if (text.empty()) text = doc->Views().ViewText(doc->ActiveView);
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  clipboard->setText(QString::fromStdString(text));
}

void frmMain::EditClearFringes() {
  clsDocument* doc = ActiveDocument();
  if (doc != nullptr && doc->ImageViewExist) doc->ClearFringes();
}

// --- View ---

void frmMain::ToggleBar(ViewMenuItem item) {
  QWidget* bar = item == ViewMenuItem::Toolbar ? static_cast<QWidget*>(tbToolbar_)
                                               : static_cast<QWidget*>(statusBar());
  const bool show = !ViewItemChecked(item);
  bar->setVisible(show);
  SetViewItemChecked(item, show);
}

void frmMain::ToggleToolWindow(ToolWindowKind kind) {
  const ViewMenuItem item = ViewItemOf(kind);
  ToolWindow* window = app_.Tools.Of(kind);
  if (window != nullptr) {
    if (ViewItemChecked(item)) window->HideFromView(); else window->ShowFromView();
    // The math box's item shows whether it really is on screen.
    if (kind == ToolWindowKind::Math) SetViewItemChecked(item, window->isVisible());
  }
  UpdateToolBar();
}

void frmMain::ToggleOutputView(int kind) {
  clsDocument* doc = ActiveDocument();
  if (doc == nullptr || !doc->OutputViewsExist) return;
  QAction* item = RuledItem(OutputViewMenuItem(kind));
  item->setChecked(!item->isChecked());
  UpdateToolBar();
  const OutputViewKind& view = kOutputViewKinds[static_cast<std::size_t>(kind)];
  bool& flag = doc->*view.Visible;
  flag = !flag;
  doc->OutputViews_UpdateVisibility(false);
  if (flag) {
    doc->Views().FocusView(view.FormType);
  } else if (doc->ImageViewExist) {
    doc->Views().FocusView(viewtype::kImage);
  }
}

void frmMain::mnuViewGridResults_Click() { ToggleOutputView(kResultWindowCount - 1); }

// --- Process ---

void frmMain::GrabImage() {
  orvale::GrabImage(*app_.Documents, app_.ImageCounter, app_.Settings.GrabIntoNewWindow,
                    documentGrab_);
}

void frmMain::Trace(std::int32_t direction) {
  clsDocument* doc = ActiveDocument();
  if (doc != nullptr && doc->ImageViewExist) doc->AutoTraceFringes(direction);
}

void frmMain::AnalyzeFringes() {
  if (app_.Tools.Analyze != nullptr) app_.Tools.Analyze->ApplyAnalysis();
}

void frmMain::HandOrEditTool(bool edit) {
  clsDocument* doc = ActiveDocument();
  if (doc == nullptr) return;
  if (doc->ActiveView == viewtype::kImage && doc->ImageViewExist) {
    doc->Views().SetMouseTool(viewtype::kImage, edit);
  } else if (doc->ActiveView == viewtype::kSFringe && doc->OutputViewsExist) {
    doc->Views().SetMouseTool(viewtype::kSFringe, edit);
  }
}

// --- Pop-up ---

void frmMain::PopupCommand(const std::function<void()>& command) {
  PopupActive = false;
  command();
}

bool frmMain::LoadAperture(clsDocument& doc) { return toolbox_ != nullptr && toolbox_->LoadAperture(doc); }

bool frmMain::LoadObstruction(clsDocument& doc) {
  return toolbox_ != nullptr && toolbox_->LoadObstruction(doc);
}

}  // namespace orvale
