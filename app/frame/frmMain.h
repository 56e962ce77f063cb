#pragma once
// This room (app/frame) holds the main window and what only it uses: its menus, toolbar
// and pictures, status bar, cursors, window arrangement and placement, the enable and
// check rules of its commands, the host of the tool windows, the splash/About window and
// the number input box. It may use the image view (app/imageview), the test report
// (app/report), the dialogs, and every room below them; nothing but start-up (app/)
// includes it. Other windows reach the main window only through MainFrame
// (app/document).
//
// The main window: the multiple-document frame with its menus, toolbar, zoom list and
// status bar. Document windows live in its central area; the tool windows are owned by
// it. Everything else reaches it through MainFrame (and so DocumentHost); the recent
// files live in its File menu through RecentFileMenu.
#include <QMainWindow>
#include <QMargins>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/frame/FramePlacement.h"
#include "app/frame/FrameStateRules.h"
#include "app/document/GrabCommand.h"
#include "app/document/MainFrame.h"
#include "app/document/RecentFileList.h"
#include "platform/ui/PrintDialogService.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QMimeData;
class QToolBar;

namespace orvale {

struct FrameContext;
class FringeToolbox;

class frmMain final : public QMainWindow, public MainFrame, public RecentFileMenu {
 public:
  explicit frmMain(FrameContext& app);
  ~frmMain() override;

  // --- Life cycle ---
  // Restores the frame's place and state, the View checks, the recent files and the
  // bars, and sets the no-document states. Runs once, before the frame is shown.
  void Load();
  // Shows the tool windows whose View items are checked, hides the others.
  void ShowToolWindowsByChecks();
  // The close request's document closing: false when the user cancelled a save prompt
  // (the documents not yet asked stay open).
  bool QueryUnload();
  // Writes every setting back, releases the grabber and destroys the tool windows.
  // Runs once, when a close request was not cancelled.
  void Unload();

  // --- DocumentHost ---
  // A document's windows in the area: its image view and its result windows.
  std::unique_ptr<DocumentViews> CreateDocumentViews(clsDocument& doc) override;
  void SetBusyPointer(bool busy) override;
  void SetStatusBar() override;
  void SetMenuItems(bool ForceOff) override;
  void SetToolBarItems(bool ForceOff) override;
  void SaveWindowLayout() override;
  WindowFrameMetrics FrameMetrics() const override;
  bool ImageViewStartsInEditMode() const override;
  bool LoadAperture(clsDocument& doc) override;
  bool LoadObstruction(clsDocument& doc) override;
  // The averaging and math lists, and the grid window's fields (frmMainToolHost.cpp).
  void AddToDocumentLists(const clsDocument& doc) override;
  void RemoveFromDocumentLists(std::int32_t slot) override;
  void ShowCurrentGridData() override;

  // --- MainFrame ---
  void UpdateMainFrame(std::int32_t WindowType, double ScaleFactor, bool EditMode) override;
  void StoreWindowLayout(clsDocument& doc) override;
  void UpdateToolBar() override;
  void SetToolBarZoomItems(bool ForceOff) override;
  bool ViewItemChecked(ViewMenuItem item) const override;
  void SetViewItemChecked(ViewMenuItem item, bool checked) override;
  void mnuViewGridResults_Click() override;
  void SetEditToolPressed(bool edit) override;
  bool EditToolPressed() const override;
  std::int32_t ZoomListCount() const override;
  std::int32_t ZoomListIndex() const override;
  std::int32_t ZoomListItemData(std::int32_t index) const override;
  void SelectZoomListIndex(std::int32_t index) override;
  void ShowZoomPercent(std::int32_t percent) override;
  void SetStatusPanelText(std::int32_t panel, const std::string& text) override;
  QCursor MouseIcon(std::string_view key) const override;
  void SetScreenPointer(std::string_view key) override;
  void ShowFringePopup(const FringePopupRequest& request) override;

  // --- RecentFileMenu ---
  std::string Caption(int index) const override;
  std::string Tag(int index) const override;
  bool Visible(int index) const override;
  void SetEntry(int index, const std::string& caption, const std::string& tag,
                bool visible) override;
  void SetSeparatorVisible(bool visible) override;

  // --- Toolbar and zoom list ---
  // Selects the zoom entry showing `zf` percent, or "100%" when none does. The
  // selection zooms the active view unless ZoomComboMsgLockOut is set.
  void SetZoomCombo(std::int32_t zf);
  bool ZoomComboMsgLockOut = false;

  // --- What plugs in later ---
  // The toolbox the fringe pop-up's order and outline commands go to (none: they do
  // nothing).
  void SetFringeToolbox(FringeToolbox* toolbox) { toolbox_ = toolbox; }
  // Replaces the grab of the menu and the toolbar, which takes a frame from the selected
  // plug-in.
  void SetDocumentGrab(DocumentGrab grab) { documentGrab_ = std::move(grab); }
  const DocumentGrab& GetDocumentGrab() const { return documentGrab_; }

  // --- Parts, by name, for tests and the program's own wiring ---
  QMdiArea* MdiArea() const { return mdi_; }
  QAction* Action(const char* name) const;  // menu items by their names ("mnuFileSave")
  QAction* ToolBarButton(int index) const;  // 1..33
  QComboBox* ZoomCombo() const { return cboZoom_; }
  QLabel* StatusPanel(int panel) const;     // 1..4
  QToolBar* ToolBar() const { return tbToolbar_; }
  QMenu* PopupFringe() const { return mnuPopupFringe_; }

  // The local files of dropped data in their order; empty when it holds none.
  static std::vector<std::string> DroppedFiles(const QMimeData& data);
  // Opens the local files of dropped data; false (nothing opened) for other data.
  bool DropFiles(const QMimeData& data);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  // A main window maximised covers more of the screen: the tool windows showing over
  // its bars move off them.
  void changeEvent(QEvent* event) override;

 private:
  // Construction (frmMain.cpp).
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildPopupMenu();
  QAction* AddItem(QMenu* menu, const char* name, const char* caption,
                   std::function<void()> handler);
  void Connect(QAction* action, std::function<void()> handler);
  void UpdateWindowList();

  // State (frmMainState.cpp).
  FrameStateInput GatherState(bool ForceOff) const;
  void ApplyPointer();
  QAction* RuledItem(RuledMenuItem item) const;
  QAction* ViewItem(ViewMenuItem item) const;
  void ZoomComboChanged(int index);
  void StepZoom(int step);

  // Commands (frmMainCommands.cpp).
  clsDocument* ActiveDocument() const;
  void FileOpen();
  void FileClose();
  void FileSave();
  void FileSaveAs();
  void FileExportMap();
  void FileExportZernikes();
  void OpenRecentFile(int index);
  void EditCopy();
  void EditClearFringes();
  void ToggleBar(ViewMenuItem item);
  void ToggleToolWindow(ToolWindowKind kind);
  void ToggleOutputView(int kind);
  void GrabImage();
  void GrabberProperties();
  void Trace(std::int32_t direction);
  void AnalyzeFringes();
  void AddActiveToAverage();
  void HandOrEditTool(bool edit);
  void PopupCommand(const std::function<void()>& command);
  void ShowAbout();

  // Placement (frmMainLifecycle.cpp). Puts the frame's outer rectangle at the stored
  // or default place, for the frame margins known now.
  void PlaceFrame();
  // Once the window manager has framed the shown window, places it again for the
  // margins it drew.
  void PlaceFrameOnceFramed();

  // Printing (frmMainPrint.cpp).
  void FilePrint();
  void QuickPrint();
  void FilePageSetup();

  // Teardown (frmMainLifecycle.cpp).
  void ReleaseGrabberAtExit() noexcept;
  void DestroyToolWindows();

  FrameContext& app_;
  QMdiArea* mdi_ = nullptr;
  QToolBar* tbToolbar_ = nullptr;
  std::array<QAction*, kToolBarButtonCount + 1> buttons_{};
  QActionGroup* toolGroup_ = nullptr;
  QComboBox* cboZoom_ = nullptr;
  std::array<QLabel*, 5> panels_{};
  QMenu* mnuWindow_ = nullptr;
  QMenu* mnuPopupFringe_ = nullptr;
  std::array<QAction*, kRuledMenuItemCount> ruled_{};
  std::array<QAction*, static_cast<int>(ViewMenuItem::GridResults) + 1> viewItems_{};
  std::array<QAction*, kRecentFileEntries> mnuFileMRU_{};
  std::array<std::string, kRecentFileEntries> mruCaptions_{};
  std::array<std::string, kRecentFileEntries> mruTags_{};
  QAction* mnuFileBar4_ = nullptr;
  std::vector<QAction*> windowListItems_;
  // The pop-up items whose caption or visibility the image view chooses.
  QAction* popupDeleteCenter_ = nullptr;
  QAction* popupAddAperture_ = nullptr;
  QAction* popupClearAperture_ = nullptr;
  QAction* popupAddObstruction_ = nullptr;
  QAction* popupClearObstruction_ = nullptr;

  FringeToolbox* toolbox_ = nullptr;
  DocumentGrab documentGrab_;
  // The print dialog's last choice in this run: the next dialog opens with it, and
  // quick print uses its printer.
  std::optional<PrintDialogAnswer> lastPrint_;
  bool busy_ = false;
  std::string screenPointer_;
  int overrideCursors_ = 0;
  bool unloaded_ = false;
  StoredFramePlace storedPlace_;
  QMargins placedMargins_;
  bool awaitingFrame_ = false;
};

}  // namespace orvale
