#include "app/frame/frmMain.h"

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include "app/dialogs/frmAspectRatio.h"
#include "app/dialogs/frmPreferences.h"
#include "app/dialogs/frmProperties.h"
#include "app/dialogs/frmUserData.h"
#include "app/frame/FrameContext.h"
#include "app/imageview/FringeToolbox.h"
#include "app/frame/MdiArrange.h"
#include "app/frame/ToolBarButtons.h"
#include "app/frame/ToolBarImages.h"
#include "app/document/clsDocument.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/HelpContents.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {

namespace {

// Status-bar panel widths in twips: the status text at least, the size at least, the
// mouse position and the pixel value fixed.
constexpr int kStatusMinTwips = 2540;
constexpr int kSizeMinTwips = 1940;
constexpr int kCoordsTwips = 1940;
constexpr int kIntensityTwips = 1411;
constexpr int kZoomComboTwips = 900;

struct ViewItemSpec {
  ViewMenuItem Item;
  const char* Name;
  const char* Caption;
};

constexpr ViewItemSpec kBarAndToolItems[] = {
    {ViewMenuItem::Toolbar, "mnuViewToolbar", "&Toolbar"},
    {ViewMenuItem::StatusBar, "mnuViewStatusBar", "Status Ba&r"},
    {ViewMenuItem::ToolBox, "mnuViewToolBox", "Toolbo&x"},
    {ViewMenuItem::AnalyzeBox, "mnuViewAnalyzeBox", "&Analyze"},
    {ViewMenuItem::GridAnalyzeBox, "mnuViewGridAnalyzeBox", "Analyze &Grid"},
    {ViewMenuItem::AverageBox, "mnuViewAverageBox", "A&verage"},
    {ViewMenuItem::RefZernike, "mnuViewRefZernike", "Reference Zernikes"},
    {ViewMenuItem::MathBox, "mnuViewMathBox", "Math"},
};

constexpr ViewItemSpec kOutputViewItems[] = {
    {ViewMenuItem::SurfacePlot, "mnuViewSurfacePlot", "&Surface Plot"},
    {ViewMenuItem::ContourPlot, "mnuViewContourPlot", "&Contour Plot"},
    {ViewMenuItem::LineProfile, "mnuViewLineProfile", "&Line Profile"},
    {ViewMenuItem::SFringe, "mnuViewSFringe", "Synthetic &Fringes"},
    {ViewMenuItem::Aberrations, "mnuViewAberrations", "A&berrations"},
    {ViewMenuItem::Zernikes, "mnuViewZernikes", "&Zernikes"},
    {ViewMenuItem::GridResults, "mnuViewGridResults", "Gr&id Results"},
};

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QKeySequence Ctrl(char letter) { return QKeySequence(Qt::CTRL | static_cast<Qt::Key>(letter)); }

}  // namespace

frmMain::frmMain(FrameContext& app) : app_(app) {
  // The menu's and the toolbar's grab: a frame from the selected plug-in; a failure the
  // plug-in reports is shown with its own text.
  documentGrab_ = [this](clsDocument& doc) {
    PluginStatus failure;
    if (doc.GrabIntoDataBuffer(app_.Grabber.Grabber.get(), failure)) return true;
    if (failure.Failed()) ShowMessage(failure.Description, mb::kOk, "Error");
    return false;
  };
  setWindowTitle("Orvale");
  setAcceptDrops(true);
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName("MDIClient");
  setCentralWidget(mdi_);
  BuildMenus();
  BuildPopupMenu();
  BuildToolBar();
  BuildStatusBar();
}

frmMain::~frmMain() {
  while (overrideCursors_ > 0) {
    QApplication::restoreOverrideCursor();
    --overrideCursors_;
  }
}

void frmMain::Connect(QAction* action, std::function<void()> handler) {
  QObject::connect(action, &QAction::triggered, this, [handler = std::move(handler)] {
    GuardHandler(handler);
  });
}

QAction* frmMain::AddItem(QMenu* menu, const char* name, const char* caption,
                          std::function<void()> handler) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(name);
  if (handler) Connect(action, std::move(handler));
  return action;
}

void frmMain::BuildMenus() {
  using M = RuledMenuItem;
  auto ruled = [this](M item, QAction* action) {
    ruled_[static_cast<std::size_t>(item)] = action;
    return action;
  };
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("mnuFile");
  AddItem(file, "mnuFileOpen", "&Open...", [this] { FileOpen(); })->setShortcut(Ctrl('O'));
  ruled(M::FileClose, AddItem(file, "mnuFileClose", "&Close", [this] { FileClose(); }));
  file->addSeparator()->setObjectName("mnuFileBar1");
  ruled(M::FileSave, AddItem(file, "mnuFileSave", "&Save", [this] { FileSave(); }))
      ->setShortcut(Ctrl('S'));
  ruled(M::FileSaveAs, AddItem(file, "mnuFileSaveAs", "Save &As...", [this] { FileSaveAs(); }));
  ruled(M::FileExportMap,
        AddItem(file, "mnuFileExportMap", "Export &Map...", [this] { FileExportMap(); }));
  ruled(M::FileExportZernikes, AddItem(file, "mnuFileExportZernikes", "Export &Zernikes...",
                                       [this] { FileExportZernikes(); }));
  file->addSeparator()->setObjectName("mnuFileBar2");
  ruled(M::FilePageSetup,
        AddItem(file, "mnuFilePageSetup", "Page Set&up...", [this] { FilePageSetup(); }));
  ruled(M::FilePrint, AddItem(file, "mnuFilePrint", "&Print...", [this] { FilePrint(); }))
      ->setShortcut(Ctrl('P'));
  file->addSeparator()->setObjectName("mnuFileBar3");
  AddItem(file, "mnuFilePreferences", "P&references...", [this] {
    frmPreferences(app_.Settings, app_.Grabber, *app_.Documents, *this, this).exec();
  });
  mnuFileBar4_ = file->addSeparator();
  mnuFileBar4_->setObjectName("mnuFileBar4");
  mnuFileBar4_->setVisible(false);
  for (int k = 0; k < kRecentFileEntries; ++k) {
    const std::string name = "mnuFileMRU" + std::to_string(k);
    QAction* item = AddItem(file, name.c_str(), "", [this, k] { OpenRecentFile(k); });
    item->setVisible(false);
    mnuFileMRU_[static_cast<std::size_t>(k)] = item;
  }
  file->addSeparator()->setObjectName("mnuFileBar5");
  AddItem(file, "mnuFileExit", "E&xit", [this] { close(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->setObjectName("mnuEdit");
  ruled(M::EditCopy, AddItem(edit, "mnuEditCopy", "&Copy", [this] { EditCopy(); }))
      ->setShortcut(Ctrl('C'));
  edit->addSeparator()->setObjectName("mnuEditBar2");
  ruled(M::EditUserData, AddItem(edit, "mnuEditUserData", "User &Data...",
                                 [this] { frmUserData(app_.Settings, *app_.Documents, this).exec(); }))
      ->setShortcut(Ctrl('U'));
  ruled(M::EditClearFringes, AddItem(edit, "mnuEditClearFringes", "Clea&r Fringes",
                                     [this] { EditClearFringes(); }));
  ruled(M::EditProperties, AddItem(edit, "mnuEditProperties", "&Properties...",
                                   [this] { ShowPropertiesDialog(*app_.Documents, this); }));

  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("mnuView");
  for (const ViewItemSpec& spec : kBarAndToolItems) {
    const ViewMenuItem item = spec.Item;
    ToolWindowKind kind{};
    const bool tool = ToolWindowOfViewItem(item, kind);
    QAction* action = AddItem(view, spec.Name, spec.Caption, nullptr);
    action->setCheckable(true);
    // The command decides the check mark; undo Qt's own toggle before it runs.
    Connect(action, [this, action, item, tool, kind] {
      action->setChecked(!action->isChecked());
      if (tool) ToggleToolWindow(kind); else ToggleBar(item);
    });
    viewItems_[static_cast<std::size_t>(item)] = action;
  }
  view->addSeparator()->setObjectName("mnuViewBar1");
  for (int kind = 0; kind < kResultWindowCount; ++kind) {
    const ViewItemSpec& spec = kOutputViewItems[kind];
    QAction* action = AddItem(view, spec.Name, spec.Caption, nullptr);
    action->setCheckable(true);
    Connect(action, [this, action, kind] {
      action->setChecked(!action->isChecked());
      ToggleOutputView(kind);
    });
    viewItems_[static_cast<std::size_t>(spec.Item)] = action;
    ruled(OutputViewMenuItem(kind), action);
  }

  QMenu* process = menuBar()->addMenu("&Process");
  process->setObjectName("mnuProcess");
  ruled(M::ProcessGrabImage,
        AddItem(process, "mnuProcessGrabImage", "&Grab Image", [this] { GrabImage(); }));
  ruled(M::ProcessGrabberProps, AddItem(process, "mnuProcessGrabberProps", "Grabber Properties",
                                        [this] { GrabberProperties(); }));
  ruled(M::ProcessAdjustAspectRatio,
        AddItem(process, "mnuProcessAdjustAspectRatio", "A&djust Aspect Ratio",
                [this] { ShowAspectRatioDialog(app_.Settings, *app_.Documents, this); }));
  ruled(M::ProcessTraceV,
        AddItem(process, "mnuProcessTraceV", "Trace &Vertically", [this] { Trace(1); }));
  ruled(M::ProcessTraceH,
        AddItem(process, "mnuProcessTraceH", "Trace &Horizontally", [this] { Trace(0); }));
  ruled(M::ProcessAnalyzeFringes,
        AddItem(process, "mnuProcessAnalyzeFringes", "&Analyze Fringes", [this] { AnalyzeFringes(); }))
      ->setShortcut(Ctrl('F'));
  ruled(M::ProcessAddAverage, AddItem(process, "mnuProcessAddAverage", "Add To Ave&rage",
                                      [this] { AddActiveToAverage(); }))
      ->setShortcut(Ctrl('A'));

  mnuWindow_ = menuBar()->addMenu("&Window");
  mnuWindow_->setObjectName("mnuWindow");
  ruled(M::WindowCascade, AddItem(mnuWindow_, "mnuWindowCascade", "&Cascade",
                                  [this] {
                                    const WindowFrameMetrics m = FrameMetrics();
                                    Cascade(*mdi_, m.FrameWidth + m.CaptionHeight);
                                  }));
  ruled(M::WindowTileHorizontal, AddItem(mnuWindow_, "mnuWindowTileHorizontal", "Tile &Horizontal",
                                         [this] { TileHorizontally(*mdi_); }));
  ruled(M::WindowTileVertical, AddItem(mnuWindow_, "mnuWindowTileVertical", "Tile &Vertical",
                                       [this] { TileVertically(*mdi_); }));
  ruled(M::WindowArrangeIcons, AddItem(mnuWindow_, "mnuWindowArrangeIcons", "&Arrange Icons",
                                       [this] { ArrangeIcons(*mdi_); }));
  QObject::connect(mnuWindow_, &QMenu::aboutToShow, this, [this] { UpdateWindowList(); });

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("mnuHelp");
  QAction* contents = AddItem(help, "mnuHelpContents", "&Contents", [this] { ShowHelpContents(this); });
  // F1 anywhere in the program opens the help, as the menu item does, without standing
  // beside it in the menu.
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  f1->setContext(Qt::ApplicationShortcut);
  QObject::connect(f1, &QShortcut::activated, contents, &QAction::trigger);
  help->addSeparator()->setObjectName("mnuHelpBar1");
  AddItem(help, "mnuHelpAbout", "&About Orvale...", [this] { ShowAbout(); });
}

void frmMain::BuildPopupMenu() {
  mnuPopupFringe_ = new QMenu("PopupFringe", this);
  mnuPopupFringe_->setObjectName("mnuPopupFringe");
  QMenu* m = mnuPopupFringe_;
  auto item = [this, m](const char* name, const char* caption, std::function<void()> command) {
    return AddItem(m, name, caption, [this, command = std::move(command)] { PopupCommand(command); });
  };
  auto toolbox = [this](void (FringeToolbox::*member)()) {
    return [this, member] {
      if (toolbox_ != nullptr) (toolbox_->*member)();
    };
  };
  popupDeleteCenter_ = item("mnuPopupFringe_DeleteCenter", "Delete Fringe Center", [this] {
    clsDocument* doc = ActiveDocument();
    if (doc != nullptr && doc->ImageViewExist)
      doc->Views().DeleteFringeCenter(kNotGivenDouble, kNotGivenDouble);
  });
  item("mnuPopupFringe_IncreaseOrder", "Increase Current Order", [this] {
    if (toolbox_ != nullptr) toolbox_->SelectOrder(toolbox_->CurrentOrder() + 1);
  });
  item("mnuPopupFringe_DecreaseOrder", "Decrease Current Order", [this] {
    if (toolbox_ != nullptr) toolbox_->SelectOrder(toolbox_->CurrentOrder() - 1);
  });
  m->addSeparator()->setObjectName("mnuPopupFringe_Bar1");
  item("mnuPopupFringe_Insert", "Insert Fringe Order", toolbox(&FringeToolbox::InsertFringe));
  item("mnuPopupFringe_Delete", "Delete Current Order", toolbox(&FringeToolbox::RemoveFringe));
  item("mnuPopupFringe_Renumber", "Renumber Fringes", toolbox(&FringeToolbox::RenumberFringe));
  m->addSeparator()->setObjectName("mnuPopupFringe_Bar2");
  popupAddAperture_ = item("mnuPopupFringe_AddAperture", "Add Aperture",
                           toolbox(&FringeToolbox::AddAperture));
  popupClearAperture_ = item("mnuPopupFringe_ClearAperture", "Clear Aperture",
                             toolbox(&FringeToolbox::ClearAperture));
  popupAddObstruction_ = item("mnuPopupFringe_AddObstruction", "Add Obstruction",
                              toolbox(&FringeToolbox::AddObstruction));
  popupClearObstruction_ = item("mnuPopupFringe_ClearObstruction", "Clear Obstruction",
                                toolbox(&FringeToolbox::ClearObstruction));
  m->addSeparator()->setObjectName("mnuPopupFringe_Bar3");
  item("mnuPopupFringe_TraceV", "Trace Vertically", [this] { Trace(1); });
  item("mnuPopupFringe_TraceH", "Trace Horizontally", [this] { Trace(0); });
  item("mnuPopupFringe_Analyze", "Analyze Fringes", [this] { AnalyzeFringes(); });
  ruled_[static_cast<std::size_t>(RuledMenuItem::PopupAddAverage)] =
      item("mnuPopupFringe_AddAverage", "Add To Average", [this] { AddActiveToAverage(); });
}

void frmMain::BuildToolBar() {
  tbToolbar_ = addToolBar("Toolbar");
  tbToolbar_->setObjectName("tbToolbar");
  tbToolbar_->setMovable(false);
  tbToolbar_->setIconSize(QSize(16, 16));
  toolGroup_ = new QActionGroup(this);
  // A pressed tool stays pressed when clicked again, but code can release both.
  toolGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);

  cboZoom_ = new QComboBox(tbToolbar_);
  cboZoom_->setObjectName("cboZoom");
  for (int percent : kZoomPercents) cboZoom_->addItem(QString("%1%").arg(percent), percent);
  cboZoom_->setCurrentIndex(kZoomFallbackIndex);
  cboZoom_->setToolTip("Zoom Level");
  cboZoom_->setMinimumWidth(TwipsToPixels(kZoomComboTwips));
  cboZoom_->setFocusPolicy(Qt::NoFocus);
  QObject::connect(cboZoom_, &QComboBox::currentIndexChanged, this,
                   [this](int index) { GuardHandler([this, index] { ZoomComboChanged(index); }); });

  using namespace toolbutton;
  std::array<std::function<void()>, kToolBarButtonCount + 1> clicks{};
  clicks[kOpen] = [this] { FileOpen(); };
  clicks[kSave] = [this] { FileSave(); };
  for (int k = 0; k < kToolWindowCount; ++k)
    clicks[static_cast<std::size_t>(kFirstToolWindow + k)] = [this, k] {
      ToggleToolWindow(static_cast<ToolWindowKind>(k));
    };
  for (int kind = 0; kind < kResultWindowCount; ++kind)
    clicks[static_cast<std::size_t>(kFirstOutputView + kind)] = [this, kind] { ToggleOutputView(kind); };
  clicks[kGrab] = [this] { GrabImage(); };
  clicks[kGrabberProps] = [this] { GrabberProperties(); };
  clicks[kAdjustAspect] = [this] { ShowAspectRatioDialog(app_.Settings, *app_.Documents, this); };
  clicks[kTraceH] = [this] { Trace(0); };
  clicks[kTraceV] = [this] { Trace(1); };
  clicks[kHandTool] = [this] { HandOrEditTool(false); };
  clicks[kEditTool] = [this] { HandOrEditTool(true); };
  clicks[kZoomIn] = [this] { StepZoom(-1); };
  clicks[kZoomOut] = [this] { StepZoom(1); };
  clicks[kPrint] = [this] { QuickPrint(); };
  clicks[kPageSetup] = [this] { FilePageSetup(); };

  for (int index = 1; index <= kToolBarButtonCount; ++index) {
    const ToolBarButtonSpec& spec = kToolBarButtons[static_cast<std::size_t>(index)];
    QAction* button = nullptr;
    switch (spec.Style) {
      case ButtonStyle::Separator:
        button = tbToolbar_->addSeparator();
        break;
      case ButtonStyle::Placeholder:
        button = tbToolbar_->addWidget(cboZoom_);
        break;
      case ButtonStyle::Plain:
      case ButtonStyle::Check:
      case ButtonStyle::Group: {
        button = tbToolbar_->addAction(ToolBarImage(spec.Image), Text(spec.ToolTip));
        button->setCheckable(spec.Style != ButtonStyle::Plain);
        if (spec.Style == ButtonStyle::Group) toolGroup_->addAction(button);
        std::function<void()> click = clicks[static_cast<std::size_t>(index)];
        Connect(button, [button, style = spec.Style, click] {
          if (style == ButtonStyle::Check) {
            // The View command sets the pressed state from its check mark.
            button->setChecked(!button->isChecked());
          } else if (style == ButtonStyle::Group && !button->isChecked()) {
            button->setChecked(true);
          }
          if (click) click();
        });
        break;
      }
    }
    button->setObjectName(Text(spec.Key));
    buttons_[static_cast<std::size_t>(index)] = button;
  }
  buttons_[kEditTool]->setChecked(true);
}

void frmMain::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("sbStatusBar");
  bar->setSizeGripEnabled(true);
  struct PanelSpec {
    const char* Key;
    const char* ToolTip;
    int Twips;
    bool Fixed;
  };
  constexpr PanelSpec kPanels[] = {
      {"Status", "", kStatusMinTwips, false},
      {"Size", "Image Size", kSizeMinTwips, false},
      {"Coords", "Mouse Coordinates", kCoordsTwips, true},
      {"Intensity", "Pixel Value", kIntensityTwips, true},
  };
  for (int panel = 1; panel <= 4; ++panel) {
    const PanelSpec& spec = kPanels[panel - 1];
    auto* label = new QLabel(bar);
    label->setObjectName(spec.Key);
    label->setToolTip(spec.ToolTip);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    const int width = TwipsToPixels(spec.Twips);
    if (spec.Fixed) label->setFixedWidth(width); else label->setMinimumWidth(width);
    if (panel == statuspanel::kStatus) bar->addWidget(label, 1); else bar->addPermanentWidget(label);
    panels_[static_cast<std::size_t>(panel)] = label;
  }
}

void frmMain::UpdateWindowList() {
  for (QAction* item : windowListItems_) {
    mnuWindow_->removeAction(item);
    item->deleteLater();
  }
  windowListItems_.clear();
  const QList<QMdiSubWindow*> windows = mdi_->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  windowListItems_.push_back(mnuWindow_->addSeparator());
  int number = 0;
  for (QMdiSubWindow* window : windows) {
    if (!window->isVisible()) continue;
    QAction* item = mnuWindow_->addAction(QString("&%1 %2").arg(++number).arg(window->windowTitle()));
    item->setCheckable(true);
    item->setChecked(window == mdi_->activeSubWindow());
    QObject::connect(item, &QAction::triggered, this, [this, window = QPointer(window)] {
      GuardHandler([this, window] {
        if (window) mdi_->setActiveSubWindow(window);
      });
    });
    windowListItems_.push_back(item);
  }
}

QAction* frmMain::Action(const char* name) const { return findChild<QAction*>(name); }

QAction* frmMain::ToolBarButton(int index) const {
  if (index < 1 || index > kToolBarButtonCount) return nullptr;
  return buttons_[static_cast<std::size_t>(index)];
}

QLabel* frmMain::StatusPanel(int panel) const {
  if (panel < 1 || panel > 4) return nullptr;
  return panels_[static_cast<std::size_t>(panel)];
}

}  // namespace orvale
