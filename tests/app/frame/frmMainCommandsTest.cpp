// The menu, toolbar and pop-up commands of the frame.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <map>
#include <set>

#include "app/imageview/FringeToolbox.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "app/plots/DocumentSubWindow.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace orvale::testing {
namespace {

using FrameCommandsTest = FrameTest;

TEST_F(FrameCommandsTest, CommandsOnTheActiveDocumentDoNothingWithoutOne) {
  const char* items[] = {
      "mnuFileClose",        "mnuFileSave",          "mnuFileSaveAs",     "mnuFileExportMap",
      "mnuFileExportZernikes", "mnuEditCopy",        "mnuEditClearFringes", "mnuViewSurfacePlot",
      "mnuViewContourPlot",  "mnuViewLineProfile",   "mnuViewSFringe",    "mnuViewAberrations",
      "mnuViewZernikes",     "mnuViewGridResults",   "mnuProcessTraceV",  "mnuProcessTraceH",
      "mnuPopupFringe_DeleteCenter", "mnuPopupFringe_TraceV", "mnuPopupFringe_IncreaseOrder",
      "mnuProcessAnalyzeFringes", "mnuPopupFringe_Analyze",
  };
  for (const char* name : items) {
    QAction* action = Item(name);
    action->setEnabled(true);  // the handler itself must refuse
    action->trigger();
  }
  for (int index : {3, 14, 15, 20, 25, 26, 28, 29, 31, 32}) {
    Button(index)->setEnabled(true);
    Button(index)->trigger();
  }
  EXPECT_EQ(Table().NumDocuments, 0);
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_TRUE(dialogs_.Requests().empty());
  EXPECT_TRUE(saver_.calls.empty());
}

TEST_F(FrameCommandsTest, HelpContentsAndF1OpenTheHelpBesideTheProgram) {
  // Beside the test program there is no help: both say so.
  const std::string missing = "The help cannot be shown: " +
                              QCoreApplication::applicationDirPath().toStdString() +
                              "/help/index.html is missing.";
  Frame().show();
  QApplication::setActiveWindow(&Frame());
  Item("mnuHelpContents")->trigger();
  QTest::keyClick(&Frame(), Qt::Key_F1);
  ASSERT_EQ(messages_.Messages().size(), 2u);
  for (const auto& message : messages_.Messages()) {
    EXPECT_EQ(message.text, missing);
    EXPECT_EQ(message.title, "Error");
  }
}

TEST_F(FrameCommandsTest, OpenTakesEveryChosenFileAndRemembersWhereTheUserWent) {
  app_->Settings.OpenFileFilter = 3;
  app_->Settings.OpenFileDir = "/old";
  FileDialogAnswer answer;
  answer.Cancelled = false;
  for (const char* name : {"one.bmp", "two.bmp", "three.bmp"}) answer.FileNames.push_back(WriteBitmap(name));
  answer.FilterIndex = 2;
  answer.Folder = folder_.path().toStdString();
  dialogs_.QueueAnswer(answer);

  Item("mnuFileOpen")->trigger();

  ASSERT_EQ(dialogs_.Requests().size(), 1u);
  const FileDialogRequest& request = dialogs_.Requests()[0];
  EXPECT_EQ(request.Flags, 0x81A04u);
  EXPECT_EQ(request.Filter,
            "All Files (*.*)|*.*|Graphic Files (*.jpg *.bmp *.rle)|*.jpg;*.bmp;*.rle|"
            "Orvale Documents (*.ovd)|*.ovd");
  EXPECT_EQ(request.FilterIndex, 3);
  EXPECT_EQ(request.InitDir, "/old");
  ASSERT_EQ(Table().NumDocuments, 3);
  EXPECT_EQ(Table().Documents[1]->ImageFileName, "one.bmp");
  EXPECT_EQ(Table().Documents[3]->ImageFileName, "three.bmp");
  EXPECT_EQ(app_->Settings.OpenFileFilter, 2);
  EXPECT_EQ(app_->Settings.OpenFileDir, folder_.path().toStdString());
}

TEST_F(FrameCommandsTest, ACancelledOpenChangesNothing) {
  app_->Settings.OpenFileFilter = 3;
  app_->Settings.OpenFileDir = "/old";
  dialogs_.QueueCancel();
  Button(2)->trigger();
  EXPECT_EQ(dialogs_.Requests().size(), 1u);
  EXPECT_EQ(Table().NumDocuments, 0);
  EXPECT_EQ(app_->Settings.OpenFileFilter, 3);
  EXPECT_EQ(app_->Settings.OpenFileDir, "/old");
}

TEST_F(FrameCommandsTest, SaveTakesTheRoadThatFitsTheDocument) {
  struct Road {
    const char* name;
    std::string fileName;
    bool outputViews;
    bool imageFile;
    std::string call;
  };
  const Road roads[] = {
      {"document file", "m.ovd", true, true, "SaveFile /d/m.ovd"},
      {"output views", "", true, true, "SaveFileAs document"},
      // An image from a file has only its bare name: never saved beside the program.
      {"image only", "", false, true, "SaveFileAs document"},
      {"nothing", "", false, false, "SaveFileAs bitmap"},
  };
  for (const Road& road : roads) {
    clsDocument& doc = AddDocument();
    doc.DocumentFileName = road.fileName;
    doc.DocumentFilePath = "/d";
    doc.OutputViewsExist = road.outputViews;
    doc.ImageFileExist = road.imageFile;
    doc.ImageFileName = "m.jpg";
    Refresh();
    saver_.calls.clear();
    Item("mnuFileSave")->trigger();
    EXPECT_EQ(saver_.calls, std::vector<std::string>{road.call}) << road.name;
  }
  saver_.calls.clear();
  Item("mnuFileSaveAs")->trigger();
  EXPECT_EQ(saver_.calls, std::vector<std::string>{"SaveFileAs document"});
}

TEST_F(FrameCommandsTest, CopyTakesTheSelectionOrTheWholeTextOfATextView) {
  clsDocument& doc = AddDocument();
  doc.OutputViewsExist = true;
  Refresh();
  LoggingViews& views = ViewsOf(doc);
  views.text = "Z1 0.25\r\nZ2 -0.5";
  QClipboard* clipboard = QApplication::clipboard();

  doc.ActiveView = viewtype::kZernikes;
  Item("mnuEditCopy")->trigger();
  EXPECT_EQ(clipboard->text().toStdString(), views.text);

  views.selected = "0.25";
  Item("mnuEditCopy")->trigger();
  EXPECT_EQ(clipboard->text().toStdString(), "0.25");

  clipboard->setText("kept");
  doc.ActiveView = viewtype::kImage;
  Item("mnuEditCopy")->trigger();
  EXPECT_EQ(clipboard->text().toStdString(), "kept");
}

TEST_F(FrameCommandsTest, AnalyzeFringesAppliesTheAnalysisOptionsToTheActiveDocument) {
  for (const char* name : {"mnuProcessAnalyzeFringes", "mnuPopupFringe_Analyze"}) {
    clsDocument& doc = AddDocument();  // an image but no fringe centres yet
    messages_.Clear();
    Item(name)->trigger();
    ASSERT_EQ(messages_.Messages().size(), 1u) << name;
    EXPECT_EQ(messages_.Messages()[0].text, "No fringe centers to analyze");
    EXPECT_FALSE(doc.OutputViewsExist);
  }
}

TEST_F(FrameCommandsTest, TogglingSurfacePlotTwiceRestoresFlagCheckAndButton) {
  clsDocument& doc = AddDocument();
  doc.OutputViewsExist = true;
  doc.SurfacePlotViewVisible = true;
  Refresh();
  QAction* item = Item("mnuViewSurfacePlot");
  ASSERT_TRUE(item->isChecked());
  ASSERT_TRUE(Button(14)->isChecked());

  item->trigger();
  EXPECT_FALSE(doc.SurfacePlotViewVisible);
  EXPECT_FALSE(item->isChecked());
  EXPECT_FALSE(Button(14)->isChecked());
  Button(14)->trigger();

  EXPECT_TRUE(doc.SurfacePlotViewVisible);
  EXPECT_TRUE(item->isChecked());
  EXPECT_TRUE(Button(14)->isChecked());
  EXPECT_EQ(ViewsOf(doc).log, (std::vector<std::string>{"UpdateVisibility 0", "Focus 1",
                                                         "UpdateVisibility 0", "Focus 3"}));
}

TEST_F(FrameCommandsTest, ToolWindowTogglesShowHideAndPressTheirButtons) {
  QWidget* average = app_->Tools.Average;
  Item("mnuViewAverageBox")->trigger();
  EXPECT_TRUE(average->isVisible());
  EXPECT_TRUE(Frame().ViewItemChecked(ViewMenuItem::AverageBox));
  EXPECT_TRUE(Button(9)->isChecked());

  Button(9)->trigger();
  EXPECT_FALSE(average->isVisible());
  EXPECT_FALSE(Frame().ViewItemChecked(ViewMenuItem::AverageBox));
  EXPECT_FALSE(Button(9)->isChecked());

  // Its own close box hides it and releases the button too.
  Button(12)->trigger();
  ASSERT_TRUE(app_->Tools.Math->isVisible());
  app_->Tools.Math->close();
  EXPECT_FALSE(Frame().ViewItemChecked(ViewMenuItem::MathBox));
  EXPECT_FALSE(Button(12)->isChecked());
}

// A refused cell width still in the grid window's field holds the window open, whichever
// way the user hides it: warned each time, the field keeps its text and the focus, and
// the View item and the toolbar button stay on.
TEST_F(FrameCommandsTest, AGridEditStillRefusedHoldsTheGridWindowOpenAgainstEveryToggle) {
  clsDocument& doc = AddDocument(200, 200);
  doc.Grid.GridPhysicalWidth = 40;
  doc.Grid.CellPhysicalWidth = 10;
  doc.Grid.CellPhysicalHeight = 10;
  doc.Grid.SetBounds(60, 60, 140, 140);
  frmAnalyzeGrid& grid = *app_->Tools.AnalyzeGrid;
  Item("mnuViewGridAnalyzeBox")->trigger();
  ASSERT_TRUE(grid.isVisible());
  grid.ShowCurrentGridData();
  QApplication::setActiveWindow(&grid);

  QLineEdit* cellWidth = grid.Field(GridField::CellWidth);
  cellWidth->setFocus();
  cellWidth->selectAll();
  QTest::keyClicks(cellWidth, "0");
  QTest::keyClick(cellWidth, Qt::Key_Return);
  const std::string refused = "The width of a grid cell must be greater than zero.";
  ASSERT_EQ(messages_.Messages().size(), 1u);
  ASSERT_EQ(messages_.Messages()[0].text, refused);

  const std::pair<const char*, QAction*> toggles[] = {{"View > Analyze Grid", Item("mnuViewGridAnalyzeBox")},
                                                      {"the toolbar button", Button(10)}};
  for (const auto& [way, toggle] : toggles) {
    SCOPED_TRACE(way);
    messages_.Clear();
    toggle->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(grid.isVisible());
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, refused);
    EXPECT_EQ(messages_.Messages()[0].title, "Warning");
    EXPECT_EQ(cellWidth->text(), "0");
    EXPECT_EQ(QApplication::focusWidget(), cellWidth);
    EXPECT_TRUE(Frame().ViewItemChecked(ViewMenuItem::GridAnalyzeBox));
    EXPECT_TRUE(Button(10)->isChecked());
  }
  EXPECT_EQ(doc.Grid.CellPhysicalWidth, 10);

  // Corrected, the edit is taken as the window hides.
  cellWidth->selectAll();
  QTest::keyClicks(cellWidth, "5");
  messages_.Clear();
  Button(10)->trigger();
  EXPECT_FALSE(grid.isVisible());
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_EQ(doc.Grid.CellPhysicalWidth, 5);
  EXPECT_FALSE(Frame().ViewItemChecked(ViewMenuItem::GridAnalyzeBox));
  EXPECT_FALSE(Button(10)->isChecked());
}

TEST_F(FrameCommandsTest, TheBarsFollowTheirViewItems) {
  Item("mnuViewToolbar")->trigger();
  EXPECT_FALSE(Frame().ViewItemChecked(ViewMenuItem::Toolbar));
  EXPECT_TRUE(Frame().ToolBar()->isHidden());
  // With the toolbar hidden, new image views start in edit mode.
  Frame().SetEditToolPressed(false);
  EXPECT_TRUE(Frame().ImageViewStartsInEditMode());
  Item("mnuViewToolbar")->trigger();
  EXPECT_FALSE(Frame().ToolBar()->isHidden());
  EXPECT_FALSE(Frame().ImageViewStartsInEditMode());
}

class RecordingToolbox : public FringeToolbox {
 public:
  std::int32_t CurrentOrder() const override { return order; }
  void SelectOrder(std::int32_t newOrder) override { log.push_back("SelectOrder " + std::to_string(newOrder)); }
  std::int32_t ApertureTypeIndex() const override { return 0; }
  std::int32_t ObstructionTypeIndex() const override { return 0; }
  void SetControls(bool, bool, bool) override {}
  void AddAperture() override { log.push_back("AddAperture"); }
  void ClearAperture() override { log.push_back("ClearAperture"); }
  void AddObstruction() override { log.push_back("AddObstruction"); }
  void ClearObstruction() override { log.push_back("ClearObstruction"); }
  void InsertFringe() override { log.push_back("InsertFringe"); }
  void RemoveFringe() override { log.push_back("RemoveFringe"); }
  void RenumberFringe() override { log.push_back("RenumberFringe"); }
  bool LoadAperture(clsDocument&) override { return false; }
  bool LoadObstruction(clsDocument&) override { return false; }

  std::int32_t order = 1;
  std::vector<std::string> log;
};

TEST_F(FrameCommandsTest, PopUpCommandsClearThePopUpFlagAndGoToTheToolbox) {
  RecordingToolbox toolbox;
  Frame().SetFringeToolbox(&toolbox);
  clsDocument& doc = AddDocument();
  const char* items[] = {"mnuPopupFringe_DecreaseOrder", "mnuPopupFringe_IncreaseOrder",
                         "mnuPopupFringe_Insert",        "mnuPopupFringe_Delete",
                         "mnuPopupFringe_Renumber",      "mnuPopupFringe_AddAperture",
                         "mnuPopupFringe_ClearObstruction", "mnuPopupFringe_DeleteCenter"};
  for (const char* name : items) {
    Frame().PopupActive = true;
    Item(name)->trigger();
    EXPECT_FALSE(Frame().PopupActive) << name;
  }
  // At order 1 the decrease passes 0 on; the toolbox checks its own range.
  EXPECT_EQ(toolbox.log, (std::vector<std::string>{"SelectOrder 0", "SelectOrder 2", "InsertFringe",
                                                   "RemoveFringe", "RenumberFringe", "AddAperture",
                                                   "ClearObstruction"}));
  EXPECT_EQ(ViewsOf(doc).log, std::vector<std::string>{"DeleteFringeCenter"});
  Frame().SetFringeToolbox(nullptr);
}

TEST_F(FrameCommandsTest, HandAndEditToolsGoToTheActiveView) {
  clsDocument& doc = AddDocument();
  Button(28)->trigger();
  EXPECT_FALSE(Frame().EditToolPressed());
  Button(28)->trigger();  // pressing a pressed tool keeps it pressed
  EXPECT_TRUE(Button(28)->isChecked());
  Button(29)->trigger();
  EXPECT_TRUE(Frame().EditToolPressed());
  doc.ActiveView = viewtype::kSFringe;
  doc.OutputViewsExist = true;
  Button(28)->trigger();
  EXPECT_EQ(ViewsOf(doc).log,
            (std::vector<std::string>{"Tool 1 hand", "Tool 1 hand", "Tool 1 edit", "Tool 6 hand"}));
}

TEST_F(FrameCommandsTest, GrabberPropertiesWithoutASetupDialogDoesNothing) {
  const auto log = InstallPlugin(true, false);
  Frame().SetMenuItems(false);
  EXPECT_FALSE(Item("mnuProcessGrabberProps")->isEnabled());
  EXPECT_TRUE(Item("mnuProcessGrabImage")->isEnabled());
  Item("mnuProcessGrabberProps")->setEnabled(true);
  Item("mnuProcessGrabberProps")->trigger();
  EXPECT_EQ(log->ShowSetupDlg, 0);
  EXPECT_EQ(log->Release, 0);
}

TEST_F(FrameCommandsTest, GrabberPropertiesMakesThePlugInAfreshAndRefreshesTheGrabCommands) {
  const auto log = InstallPlugin(true, true);
  Frame().SetMenuItems(false);
  ASSERT_TRUE(Item("mnuProcessGrabberProps")->isEnabled());

  Item("mnuProcessGrabberProps")->trigger();

  EXPECT_EQ(log->ShowSetupDlg, 1);
  EXPECT_EQ(log->Shutdown, 1);
  EXPECT_EQ(log->Release, 1);
  // Entry 1 of the (empty) plug-in list cannot be made again: reported, and the grab
  // commands follow the cleared selection.
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].title, "Error Loading Frame Grabber");
  EXPECT_FALSE(Item("mnuProcessGrabImage")->isEnabled());
  EXPECT_FALSE(Button(22)->isEnabled());
}

TEST_F(FrameCommandsTest, GrabImageTakesAFrameFromTheSelectedPlugIn) {
  InstallPlugin(true, false);
  app_->Settings.GrabIntoNewWindow = true;
  app_->Settings.GrabAspectRatio = 1.0;
  Frame().SetMenuItems(false);
  Item("mnuProcessGrabImage")->trigger();
  ASSERT_EQ(Table().NumDocuments, 1);
  clsDocument& doc = *Table().Documents[1];
  EXPECT_EQ(doc.ImageFileName, "Image1");
  std::int32_t width = 0, height = 0;
  doc.GetImageSize(width, height);
  EXPECT_EQ(width, 8);   // the fake plug-in's frame
  EXPECT_EQ(height, 4);
  EXPECT_EQ(doc.GetIntensity(7, 3), 128);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(FrameCommandsTest, AGrabThePlugInFailsIsShownWithItsTextAndLeavesNoDocument) {
  InstallPlugin(true, false);
  dynamic_cast<FakeGrabberPlugin&>(*app_->Grabber.Grabber).GrabFrameStatus =
      PluginStatus::Fail("Tavrel has not been initialized.");
  app_->Settings.GrabIntoNewWindow = true;
  Frame().SetMenuItems(false);
  Item("mnuProcessGrabImage")->trigger();
  EXPECT_EQ(Table().NumDocuments, 0);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Tavrel has not been initialized.");
  EXPECT_EQ(messages_.Messages()[0].title, "Error");

  // Without a plug-in the document says the grabber is not ready.
  messages_.Clear();
  app_->Grabber.Grabber.reset();
  Button(22)->setEnabled(true);
  Button(22)->trigger();
  EXPECT_EQ(Table().NumDocuments, 0);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Frame grabber not ready [7]");
}

TEST_F(FrameCommandsTest, GrabIntoANewDocumentUsesTheDocumentGrab) {
  int grabs = 0;
  Frame().SetDocumentGrab([&grabs](clsDocument& doc) {
    ++grabs;
    return doc.SetImageData(std::vector<std::uint8_t>(4, 1), 2, 2);
  });
  app_->Settings.GrabIntoNewWindow = true;
  Button(22)->setEnabled(true);
  Button(22)->trigger();
  EXPECT_EQ(grabs, 1);
  ASSERT_EQ(Table().NumDocuments, 1);
  EXPECT_EQ(Table().Documents[1]->ImageFileName, "Image1");
}

TEST_F(FrameCommandsTest, TileVerticalPutsTheWindowsSideBySide) {
  QMdiArea* area = Frame().MdiArea();
  Frame().resize(600, 400);
  Frame().show();
  auto* first = area->addSubWindow(new QWidget);
  auto* second = area->addSubWindow(new QWidget);
  first->show();
  second->show();
  Item("mnuWindowTileVertical")->setEnabled(true);
  Item("mnuWindowTileVertical")->trigger();
  const QRect inside = area->viewport()->rect();
  EXPECT_EQ(first->geometry(), QRect(0, 0, inside.width() / 2, inside.height()));
  EXPECT_EQ(second->geometry().left(), inside.width() / 2);
  Item("mnuWindowTileHorizontal")->setEnabled(true);
  Item("mnuWindowTileHorizontal")->trigger();
  EXPECT_EQ(first->geometry(), QRect(0, 0, inside.width(), inside.height() / 2));

  // The Window menu lists the windows, the active one checked.
  first->setWindowTitle("Surface Plot - m.jpg");
  second->setWindowTitle("m.jpg");
  area->setActiveSubWindow(second);
  QMenu* menu = Frame().findChild<QMenu*>("mnuWindow");
  menu->aboutToShow();
  QStringList listed;
  QAction* checked = nullptr;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || action->objectName().startsWith("mnuWindow")) continue;
    listed << action->text();
    if (action->isChecked()) checked = action;
  }
  EXPECT_EQ(listed, (QStringList{"&1 Surface Plot - m.jpg", "&2 m.jpg"}));
  ASSERT_NE(checked, nullptr);
  EXPECT_EQ(checked->text(), "&2 m.jpg");
  area->setActiveSubWindow(first);
  checked->trigger();
  EXPECT_EQ(area->activeSubWindow(), second);
}

std::string SizeText(const QSize& size) {
  return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

// Whether some point of a window's title bar, inside the area's viewport, is the window's
// own (no other window lies over it there).
bool TitleBarReachable(const QMdiArea& area, const QMdiSubWindow& window) {
  const QWidget& viewport = *area.viewport();
  const int y = window.y() + 5;
  const int right = std::min(window.geometry().right(), viewport.width() - 1);
  for (int x = window.x() + 5; x <= right; x += 2) {
    for (QWidget* hit = viewport.childAt(x, y); hit != nullptr; hit = hit->parentWidget()) {
      if (hit == &window) return y < viewport.height();
      if (qobject_cast<QMdiSubWindow*>(hit) != nullptr) break;
    }
  }
  return false;
}

TEST_F(FrameCommandsTest, CascadeKeepsEveryWindowsSizeAndLeavesEachTitleBarWithinReach) {
  Frame().show();
  clsDocument* doc = nullptr;
  ASSERT_TRUE(Table().NewDocument(doc));
  doc->SetImageData(std::vector<std::uint8_t>(640 * 480, 100), 640, 480);
  ASSERT_TRUE(doc->CreateView(1));
  doc->ImageView_Init();
  doc->Views().ShowImageView();
  ASSERT_TRUE(doc->CreateView(2));
  doc->OutputViews_Load(false);
  for (const auto& kind : kOutputViewKinds) doc->*kind.Visible = false;
  for (const std::int32_t formType : {3, 4, 7, 9}) doc->*FindOutputViewKind(formType)->Visible = true;
  doc->OutputViews_UpdateVisibility(false);
  Table().ActiveDocIndex = doc->ovDocIndex;
  Refresh();

  QMdiArea* area = Frame().MdiArea();
  std::map<const QMdiSubWindow*, QSize> sizes;
  for (QMdiSubWindow* window : area->subWindowList()) {
    if (!window->isVisible()) continue;
    const auto* view = dynamic_cast<DocumentSubWindow*>(window);
    ASSERT_NE(view, nullptr);
    sizes[window] = window->size();
    // A window an earlier cascade left as a bare title bar takes its kind's default size.
    if (view->FormType == viewtype::kSurfacePlot) {
      window->resize(120, 27);
      const ResultWindowKind& kind = kResultWindowKinds[FindOutputViewKind(view->FormType)->LayoutIndex];
      sizes[window] = QSize(kind.DefaultWidth, kind.DefaultHeight);
    }
  }
  ASSERT_EQ(sizes.size(), 5u);
  ASSERT_EQ(sizes.begin()->first->parentWidget(), area->viewport());

  // A roomy area, and one smaller than the image window.
  for (const QSize frame : {QSize(1100, 850), QSize(480, 360)}) {
    SCOPED_TRACE(std::to_string(frame.width()) + " x " + std::to_string(frame.height()));
    Frame().resize(frame);
    QApplication::processEvents();
    Item("mnuWindowCascade")->trigger();
    QApplication::processEvents();
    int lastLeft = -1;
    std::set<std::pair<int, int>> corners;
    for (const QMdiSubWindow* window : area->subWindowList(QMdiArea::StackingOrder)) {
      if (!window->isVisible()) continue;
      const std::string name = window->windowTitle().toStdString();
      EXPECT_EQ(SizeText(window->size()), SizeText(sizes[window])) << name;
      // Each a step on from the one below it, its title bar in the area and not covered.
      EXPECT_GT(window->x(), lastLeft) << name;
      lastLeft = window->x();
      EXPECT_TRUE(corners.insert({window->x(), window->y()}).second) << name;
      EXPECT_TRUE(area->viewport()->rect().contains(window->pos())) << name;
      EXPECT_TRUE(TitleBarReachable(*area, *window)) << name;
    }
  }
}

TEST_F(FrameCommandsTest, TheFringePopUpShowsTheItemsTheImageViewAsksFor) {
  FringePopupRequest request;
  request.AddApertureCaption = "Add Aperture Circle";
  request.DeleteCenterVisible = true;
  request.AddApertureVisible = false;
  request.ClearApertureVisible = true;
  QMenu* popup = Frame().PopupFringe();
  QTimer::singleShot(0, popup, [popup] { popup->close(); });
  Frame().ShowFringePopup(request);
  EXPECT_TRUE(Item("mnuPopupFringe_DeleteCenter")->isVisible());
  EXPECT_FALSE(Item("mnuPopupFringe_AddAperture")->isVisible());
  EXPECT_EQ(Item("mnuPopupFringe_AddAperture")->text(), "Add Aperture Circle");
  EXPECT_TRUE(Item("mnuPopupFringe_ClearAperture")->isVisible());
  EXPECT_TRUE(Item("mnuPopupFringe_AddObstruction")->isVisible());
  EXPECT_EQ(Item("mnuPopupFringe_AddObstruction")->text(), "Add Obstruction");
}

TEST_F(FrameCommandsTest, TheDialogCommandsOpenTheirModalDialogs) {
  clsDocument& doc = AddDocument();
  ASSERT_TRUE(doc.CreateView(2));
  struct Case {
    QAction* command;
    const char* title;
  };
  const Case cases[] = {
      {Item("mnuFilePreferences"), "Preferences"},
      {Item("mnuEditUserData"), "User Data"},
      {Item("mnuEditProperties"), "Properties"},
      {Item("mnuProcessAdjustAspectRatio"), "Adjust Aspect Ratio"},
      {Button(24), "Adjust Aspect Ratio"},
  };
  for (const Case& c : cases) {
    std::string shown;
    QTimer::singleShot(0, [&shown] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      shown = dialog->windowTitle().toStdString();
      dialog->reject();
    });
    c.command->setEnabled(true);
    c.command->trigger();
    QApplication::processEvents();
    EXPECT_EQ(shown, c.title);
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
}  // namespace orvale::testing
