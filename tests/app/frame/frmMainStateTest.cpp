// How the frame applies its enable, check and pressed rules, the zoom list and the
// status bar.
#include <QComboBox>
#include <QLabel>

#include "app/document/clsDocument.h"
#include "tests/app/frame/FrameTestSupport.h"

namespace orvale::testing {
namespace {

using FrameStateTest = FrameTest;

std::string Panel(const frmMain& frame, int panel) {
  return frame.StatusPanel(panel)->text().toStdString();
}

TEST_F(FrameStateTest, WithoutDocumentsOnlyTheAlwaysCommandsAreEnabled) {
  for (const char* name : {"mnuFileOpen", "mnuFilePreferences", "mnuViewToolBox", "mnuFileExit"})
    EXPECT_TRUE(Item(name)->isEnabled()) << name;
  for (const char* name : {"mnuFileSave", "mnuEditCopy", "mnuViewSurfacePlot", "mnuProcessTraceV",
                           "mnuProcessGrabImage", "mnuWindowCascade"})
    EXPECT_FALSE(Item(name)->isEnabled()) << name;
  for (int index : {3, 4, 5, 14, 20, 22, 23, 24, 25, 26, 28, 29, 31, 32})
    EXPECT_FALSE(Button(index)->isEnabled()) << index;
  for (int index : {2, 7, 8, 9, 10, 11, 12}) EXPECT_TRUE(Button(index)->isEnabled()) << index;
  EXPECT_FALSE(Frame().ZoomCombo()->isEnabled());
}

TEST_F(FrameStateTest, AnOpenDocumentEnablesItsCommandsUntilItIsAnalysed) {
  clsDocument& doc = AddDocument();
  Frame().UpdateMainFrame(viewtype::kImage, 1.0, true);
  EXPECT_TRUE(Item("mnuFileSave")->isEnabled());
  EXPECT_TRUE(Item("mnuProcessTraceH")->isEnabled());
  EXPECT_FALSE(Item("mnuEditCopy")->isEnabled());
  EXPECT_FALSE(Button(14)->isEnabled());
  EXPECT_TRUE(Frame().ZoomCombo()->isEnabled());

  doc.OutputViewsExist = true;
  doc.ZernikesViewVisible = true;
  Frame().UpdateMainFrame(viewtype::kImage, 1.0, true);
  EXPECT_TRUE(Item("mnuEditCopy")->isEnabled());
  EXPECT_TRUE(Item("mnuViewZernikes")->isChecked());
  EXPECT_TRUE(Button(19)->isChecked());
  EXPECT_FALSE(Button(14)->isChecked());
}

TEST_F(FrameStateTest, TheImageViewsActivationSelectsItsZoomWithoutZooming) {
  clsDocument& doc = AddDocument();
  Frame().UpdateMainFrame(viewtype::kImage, 2.0, true);
  EXPECT_EQ(Frame().ZoomCombo()->currentText(), "200%");
  EXPECT_TRUE(Button(29)->isChecked());
  EXPECT_FALSE(Button(28)->isChecked());
  EXPECT_TRUE(Button(28)->isEnabled());

  Frame().UpdateMainFrame(viewtype::kImage, 0.333, false);
  EXPECT_EQ(Frame().ZoomCombo()->currentText(), "100%");
  EXPECT_TRUE(Button(28)->isChecked());
  EXPECT_TRUE(ViewsOf(doc).log.empty());
  EXPECT_FALSE(Frame().ZoomComboMsgLockOut);
}

TEST_F(FrameStateTest, AZoomSetDirectlyIsShownWithoutZoomingAgain) {
  clsDocument& doc = AddDocument();
  Frame().UpdateMainFrame(viewtype::kImage, 1.0, true);
  Frame().ShowZoomPercent(75);
  EXPECT_EQ(Frame().ZoomCombo()->currentText(), "75%");
  Frame().ShowZoomPercent(120);  // not in the list
  EXPECT_EQ(Frame().ZoomCombo()->currentText(), "100%");
  EXPECT_TRUE(ViewsOf(doc).log.empty());
  EXPECT_FALSE(Frame().ZoomComboMsgLockOut);
}

TEST_F(FrameStateTest, APlotViewWithSharedWindowsOnlyTurnsTheZoomOff) {
  app_->Settings.HogWindows = true;
  clsDocument& doc = AddDocument();
  Frame().UpdateMainFrame(viewtype::kImage, 1.0, true);
  doc.OutputViewsExist = true;  // the menus are not recomputed for a plot view
  doc.ActiveView = viewtype::kContourPlot;
  Frame().UpdateMainFrame(viewtype::kContourPlot, 1E+308, false);
  EXPECT_FALSE(Item("mnuEditCopy")->isEnabled());
  EXPECT_FALSE(Frame().ZoomCombo()->isEnabled());
  EXPECT_FALSE(Button(31)->isEnabled());
  EXPECT_FALSE(Button(28)->isEnabled());
  EXPECT_FALSE(Button(29)->isChecked());

  app_->Settings.HogWindows = false;
  Frame().UpdateMainFrame(viewtype::kContourPlot, 1E+308, false);
  EXPECT_TRUE(Item("mnuEditCopy")->isEnabled());
}

TEST_F(FrameStateTest, TheZoomListZoomsTheActiveViewAndStopsAtItsEnds) {
  clsDocument& doc = AddDocument();
  Frame().UpdateMainFrame(viewtype::kImage, 16.0, true);
  Button(31)->trigger();  // zoom in at 1600 %
  EXPECT_EQ(Frame().ZoomListIndex(), 0);
  Frame().SelectZoomListIndex(9);
  Button(32)->trigger();  // zoom out at 25 %
  EXPECT_EQ(Frame().ZoomListIndex(), 9);
  Button(31)->trigger();
  EXPECT_EQ(Frame().ZoomListIndex(), 8);

  doc.ActiveView = viewtype::kSFringe;
  doc.OutputViewsExist = true;
  Frame().SetZoomCombo(300);
  EXPECT_EQ(ViewsOf(doc).log,
            (std::vector<std::string>{"Zoom 1 25", "Zoom 1 50", "Zoom 6 300"}));
  EXPECT_EQ(Frame().ZoomListItemData(3), 300);
  EXPECT_EQ(Frame().ZoomListCount(), 10);
}

TEST_F(FrameStateTest, TheStatusBarShowsTheImageSizeOfTheActiveDocument) {
  clsDocument& doc = AddDocument(1024, 768);
  Frame().SetStatusPanelText(1, "Edit");
  Frame().SetStatusPanelText(3, "12, 34");
  Frame().UpdateMainFrame(viewtype::kImage, 1.0, true);
  EXPECT_EQ(Panel(Frame(), 1), "Edit");
  EXPECT_EQ(Panel(Frame(), 2), "1024x768");
  EXPECT_EQ(Panel(Frame(), 3), "");

  doc.ActiveView = viewtype::kAberrations;
  Frame().SetStatusBar();
  EXPECT_EQ(Panel(Frame(), 1), "");

  clsDocument* closing = &doc;
  std::int16_t cancel = 0;
  Table().CloseDocument(closing, true, cancel);
  EXPECT_EQ(Panel(Frame(), 2), "");
  EXPECT_FALSE(Item("mnuFileSave")->isEnabled());
}

TEST_F(FrameStateTest, TheStoredLayoutFollowsTheActivatedDocumentsWindows) {
  app_->Settings.HogWindows = false;
  clsDocument& doc = AddDocument();
  ASSERT_TRUE(doc.CreateView(2));
  doc.Views().SetViewPlacement(viewtype::kSurfacePlot, {40, 50, 320, 240});
  Table().ActiveDocIndex = 0;
  Frame().StoreWindowLayout(doc);
  EXPECT_EQ(Table().ActiveDocIndex, doc.ovDocIndex);
  EXPECT_EQ(app_->Settings.ResultWindowLayout[0], (WindowPlacement{40, 50, 320, 240}));
}

TEST_F(FrameStateTest, MouseIconsAreDrawnForEveryKey) {
  for (const char* key : {"curHandTool", "curMoveShapeMono", "curMoveShapeEW", "curMoveShapeNS",
                          "curMoveShapeOrtho", "curResizeShape", "curResizeShape2", "curRotateShape",
                          "curSelectFringe", "curZoomInMono", "curZoomOutMono", "curMoveShape",
                          "curClearFringe", "curAddShape", "curZoomIn", "curZoomOut", "curHyperLink"}) {
    const QCursor cursor = Frame().MouseIcon(key);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << key;
    EXPECT_FALSE(cursor.pixmap().isNull()) << key;
  }
  EXPECT_EQ(Frame().MouseIcon("curNothing").shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace orvale::testing
