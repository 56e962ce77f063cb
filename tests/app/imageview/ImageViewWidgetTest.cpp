#include "app/imageview/ImageView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

#include "app/document/GrabCommand.h"
#include "app/plots/ImageViewDisplay.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "tests/app/imageview/ImageViewHost.h"
#include "platform/com/GrabberState.h"
#include "tests/support/FakeGrabberPlugin.h"

namespace orvale {
namespace {

using testing::ImageViewHost;
using testing::OpenPattern;

// A move with a button held: QTest's own moves do not carry the held button.
void DragTo(QWidget* widget, QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)),
                   Qt::NoButton, Qt::LeftButton, modifiers);
  QApplication::sendEvent(widget, &move);
}

void DeleteReleasedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class ImageViewWidgetTest : public ::testing::Test {
 protected:
  ImageViewWidgetTest() : settings(testing::ViewTestSettings()), table(settings, &host) {
    host.toolbox = &toolbox;
    doc = OpenPattern(table, 320, 240);
    view = ImageViewOf(*doc);
    editor = view->Editor();
    toolbox.editor = editor;
  }
  ~ImageViewWidgetTest() override {
    for (auto& slot : table.Documents) slot.reset();
    DeleteReleasedWindows();
  }

  // What the screen shows of the picture area is the backing image.
  bool ScreenShowsTheBacking() const {
    const QImage backing = view->Display()->Backing()->Image();
    const QImage shown =
        view->grab(QRect(QPoint(0, 0), backing.size())).toImage().convertToFormat(QImage::Format_RGB32);
    return shown == backing.convertToFormat(QImage::Format_RGB32);
  }

  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
  GeneralSettings settings;
  ImageViewHost host;
  DocumentTable table;
  testing::FakeToolbox toolbox;
  clsDocument* doc = nullptr;
  ImageView* view = nullptr;
  ImageEditController* editor = nullptr;
};

TEST_F(ImageViewWidgetTest, PressAndDragWithAHeldButtonMoveTheAperture) {
  doc->Aperture.SetShapeType(clsShape::kCircle);
  doc->Aperture.SetCenter(100, 100);
  doc->Aperture.SetRadii(40, 40);
  view->PaintImage();
  QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(140, 100));
  DragTo(view, QPoint(145, 102));
  DragTo(view, QPoint(150, 105));
  QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(150, 105));
  double cx = 0, cy = 0;
  doc->Aperture.GetCenter(cx, cy);
  EXPECT_EQ(cx, 110);
  EXPECT_EQ(cy, 105);
  EXPECT_TRUE(doc->DocDirty);
  EXPECT_TRUE(ScreenShowsTheBacking());
}

TEST_F(ImageViewWidgetTest, ShiftAndCtrlReachTheController) {
  std::vector<double> xs{0, 30}, ys{0, 30};
  doc->Fringes.InsertOrder(7, 1, xs, ys);
  QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 30));
  EXPECT_EQ(toolbox.calls, (std::vector<std::string>{"SelectOrder 7"}));
  QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, QPoint(30, 30));
  EXPECT_EQ(doc->Fringes.TotalNumTicks(), 0);
  // Alt belongs to the window manager: an Alt-click adds a centre like a plain one.
  QTest::mouseClick(view, Qt::LeftButton, Qt::AltModifier, QPoint(60, 30));
  EXPECT_EQ(doc->Fringes.TotalNumTicks(), 1);
}

TEST_F(ImageViewWidgetTest, SpaceBarStepsTheOrderOncePerPress) {
  toolbox.order = 4;
  QTest::keyClick(view, Qt::Key_Space);
  EXPECT_EQ(toolbox.order, 5);
  QTest::keyClick(view, Qt::Key_Space, Qt::ShiftModifier);
  EXPECT_EQ(toolbox.order, 4);
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
  QApplication::sendEvent(view, &repeat);
  EXPECT_EQ(toolbox.order, 4);
  // Pressing Shift alone shows the cursor for it.
  doc->Aperture.SetShapeType(clsShape::kCircle);
  doc->Aperture.SetCenter(100, 100);
  doc->Aperture.SetRadii(40, 40);
  QTest::mouseMove(view, QPoint(140, 100));
  editor->MouseMove(0, 0, 140, 100);  // the offscreen platform may drop plain moves
  EXPECT_EQ(view->CursorKey(), "curMoveShapeMono");
  QTest::keyPress(view, Qt::Key_Shift);
  EXPECT_EQ(view->CursorKey(), "curResizeShape");
  QTest::keyRelease(view, Qt::Key_Shift);
  EXPECT_EQ(view->CursorKey(), "curMoveShapeMono");
}

TEST_F(ImageViewWidgetTest, TheWindowSetsToolAndReadyFlagsAreTheViews) {
  EXPECT_TRUE(doc->Views().ImageReady());
  EXPECT_TRUE(view->Display()->ImageReady);
  doc->Views().SetMouseTool(viewtype::kImage, false);  // the hand tool
  EXPECT_FALSE(doc->Views().MouseEditMode());
  EXPECT_FALSE(editor->MouseEditMode);
  EXPECT_EQ(view->CursorKey(), "curHandTool");
  EXPECT_EQ(host.panels[1], "Drag mouse to pan image. Use Shift and Ctrl keys to zoom in and out.");
}

TEST_F(ImageViewWidgetTest, ClicksLandOnTheImagePointUnderThemAtAnyZoomAndScroll) {
  EXPECT_EQ(doc->Views().ViewZoom(viewtype::kImage), 100);
  doc->Views().SetViewZoom(viewtype::kImage, 300);
  EXPECT_EQ(doc->Views().ViewZoom(viewtype::kImage), 300);
  EXPECT_EQ(view->Display()->Geometry.ZoomFactor, 300);
  QScrollBar* horizontal = nullptr;
  QScrollBar* vertical = nullptr;
  for (QScrollBar* bar : view->findChildren<QScrollBar*>())
    (bar->orientation() == Qt::Horizontal ? horizontal : vertical) = bar;
  ASSERT_TRUE(horizontal && vertical && horizontal->isEnabled());
  horizontal->setValue(10);
  vertical->setValue(5);
  EXPECT_EQ(view->Display()->Geometry.OriginX, 10);
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(30, 60));
  std::int32_t index = kNoOrder;
  double x = 0, y = 0;
  doc->Fringes.GetCenter(1, 1, x, y, index);
  EXPECT_EQ(x, 30 / 3.0 + 10);
  EXPECT_EQ(y, 60 / 3.0 + 5);
  EXPECT_TRUE(ScreenShowsTheBacking());
}

TEST_F(ImageViewWidgetTest, GridDrawingTakesTheNextTwoClicksAsTheGridsCorners) {
  doc->Grid.GridPhysicalWidth = 40;
  doc->Grid.CellPhysicalWidth = 10;
  doc->Grid.CellPhysicalHeight = 10;
  doc->Views().SetMouseTool(viewtype::kImage, false);  // even from the hand tool
  host.ClearLog();

  doc->Views().BeginGridDrawing();
  EXPECT_TRUE(editor->MouseEditMode);
  EXPECT_EQ(editor->newDrawingObject, drawing::kGrid);
  EXPECT_EQ(host.panels[1], "Click 2 points to define the grid.");
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
  EXPECT_FALSE(doc->Grid.IsDefined(clsGrid::kPixelRectangle));
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(120, 110));

  EXPECT_TRUE(doc->Grid.IsDefined(clsGrid::kPixelRectangle));
  EXPECT_EQ(doc->Grid.UpperLeftX, 40);
  EXPECT_EQ(doc->Grid.PixelSizeX, 80);
  EXPECT_EQ(doc->Grid.CellCountX, 4);
  EXPECT_EQ(doc->Grid.CellCountY, 4);
  EXPECT_EQ(doc->Fringes.NumFringes(), 0);  // no click became a fringe centre
  EXPECT_TRUE(doc->DocDirty);
  EXPECT_EQ(host.Count("ShowCurrentGridData"), 1);
  EXPECT_EQ(editor->newDrawingObject, drawing::kFringeCenters);
}

TEST_F(ImageViewWidgetTest, CancelledCloseKeepsTheViewFollowingItsSize) {
  doc->DocDirty = true;
  messages.QueueAnswer(idbutton::kCancel);  // the save question
  view->FrameWidget()->close();
  EXPECT_EQ(table.NumDocuments, 1);
  EXPECT_TRUE(view->isVisible());
  const std::int32_t before = view->Display()->Geometry.ClientWidth;
  ASSERT_TRUE(testing::ShowViewSized(view, QSize(400, 300)));
  EXPECT_EQ(view->Display()->Geometry.ClientWidth, before + 100);

  QPointer<ImageView> watched(view);
  messages.QueueAnswer(idbutton::kNo);
  view->FrameWidget()->close();
  EXPECT_EQ(table.NumDocuments, 0);
  ASSERT_FALSE(watched.isNull());  // released later, not inside its own close
  EXPECT_EQ(watched->parentDoc(), nullptr);
  DeleteReleasedWindows();
  EXPECT_TRUE(watched.isNull());
}

TEST_F(ImageViewWidgetTest, StretchedImageAtHalfSizeIsDrawnAtItsNewSize) {
  doc->Views().SetViewZoom(viewtype::kImage, 50);
  ASSERT_EQ(view->Display()->SmallBitmap()->Image().size(), QSize(160, 120));
  doc->StretchImage(2.0, true);  // Adjust Aspect Ratio
  EXPECT_EQ(view->Display()->Geometry.ImageWidth, 640);
  EXPECT_EQ(view->Display()->SmallBitmap()->Image().size(), QSize(320, 120));
  EXPECT_TRUE(ScreenShowsTheBacking());
}

TEST_F(ImageViewWidgetTest, BlankImageHasItsSizeSoCentresCanBeDragged) {
  clsDocument* blank = nullptr;
  ASSERT_TRUE(table.NewDocument(blank));
  blank->BlankImage = true;
  blank->LoadBlankImage(640, 480);
  ASSERT_TRUE(blank->CreateView(1));
  blank->ImageView_Init();
  blank->Views().ResizeWindow();
  blank->Views().ShowImageView();
  ImageView* blankView = ImageViewOf(*blank);
  ASSERT_TRUE(testing::ShowViewSized(blankView, QSize(300, 200)));
  EXPECT_EQ(blankView->Display()->Geometry.ImageWidth, 640);
  EXPECT_TRUE(blankView->Display()->Geometry.Horizontal.Enabled);

  std::vector<double> xs{0, 100}, ys{0, 50};
  blank->Fringes.InsertOrder(1, 1, xs, ys);
  QTest::mousePress(blankView, Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
  DragTo(blankView, QPoint(110, 60));
  QTest::mouseRelease(blankView, Qt::LeftButton, Qt::NoModifier, QPoint(110, 60));
  ASSERT_EQ(blank->Fringes.TotalNumTicks(), 1);  // moved, not taken for outside the image
  std::int32_t index = kNoOrder;
  double x = 0, y = 0;
  blank->Fringes.GetCenter(1, 1, x, y, index);
  EXPECT_EQ(x, 110);
}

TEST_F(ImageViewWidgetTest, ActivatingAnotherDocumentEndsThisOnesOutline) {
  editor->newDrawingObject = drawing::kAperture;
  editor->newDrawingType = clsShape::kPolygon;
  editor->newMouseClicks = 50;
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  clsDocument* other = OpenPattern(table, 100, 100);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(table.ActiveDocIndex, other->ovDocIndex);
  EXPECT_EQ(editor->newDrawingObject, drawing::kFringeCenters);
  EXPECT_EQ(editor->ClickCount(), 0);
  EXPECT_EQ(toolbox.calls.back(), "SetControls 1 1 1");
  EXPECT_EQ(host.calls.back(), "SetStatusPanelText 1 Click to add a fringe center.");
  EXPECT_GE(host.Count("StoreWindowLayout " + std::to_string(other->ovDocIndex)), 1);
}

TEST_F(ImageViewWidgetTest, ThePrintHookPrintsTheInterferogramThroughTheEditor) {
  doc->Aperture.SetShapeType(clsShape::kCircle);
  doc->Aperture.SetCenter(160, 120);
  doc->Aperture.SetRadii(100, 100);
  gdi::DeviceCaps caps = gdi::DisplayCaps(2000, 2000, 300, 300);
  caps.technology = gdi::DT_RASPRINTER;
  gdi::RecordingDeviceContext byHook(caps), byEditor(caps);
  doc->Views().PrintView(viewtype::kImage, byHook, 100, 200, 1700, 1400);
  editor->PrintImage(byEditor, 100, 200, 1700, 1400);
  EXPECT_EQ(byHook.Log(), byEditor.Log());
  ASSERT_FALSE(byHook.Records().empty());
  EXPECT_EQ(byHook.Records().front().call, "StretchDIBits");
  // The image view's document has no result windows: they print nothing.
  gdi::RecordingDeviceContext none(caps);
  doc->Views().PrintView(viewtype::kSurfacePlot, none, 100, 200, 1700, 1400);
  EXPECT_TRUE(none.Records().empty());
}

TEST_F(ImageViewWidgetTest, LivesInADocumentWindowOfTheArea) {
  auto* sub = dynamic_cast<DocumentSubWindow*>(view->FrameWidget());
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->mdiArea(), &host.Area());
  EXPECT_EQ(sub->windowTitle(), "pattern.bmp");
  clsDocument* other = OpenPattern(table, 100, 100);
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(table.ActiveDocIndex, other->ovDocIndex);
  host.ClearLog();
  doc->Views().FocusView(viewtype::kImage);
  EXPECT_EQ(host.Area().activeSubWindow(), sub);
  EXPECT_EQ(table.ActiveDocIndex, doc->ovDocIndex);
  EXPECT_EQ(host.Count("StoreWindowLayout"), 1);  // the window's activation runs once
  EXPECT_EQ(host.Count("UpdateMainFrame 1"), 1);

  messages.QueueAnswer(idbutton::kNo);
  doc->DocDirty = true;
  QPointer<QMdiSubWindow> watched(sub);
  sub->close();
  EXPECT_EQ(table.NumDocuments, 1);
  DeleteReleasedWindows();
  EXPECT_TRUE(watched.isNull());
}

// A frame grabbed into the open document replaces its picture in the view: the new
// size, scroll range and pre-shrunk picture, with the user's marks kept.
TEST_F(ImageViewWidgetTest, AGrabIntoTheOpenDocumentShowsTheNewPictureAndKeepsItsMarks) {
  doc->Aperture.SetShapeType(clsShape::kCircle);
  doc->Aperture.SetCenter(160, 120);
  doc->Aperture.SetRadii(100, 100);
  doc->Fringes.AddOrder(3);
  doc->Views().SetViewZoom(viewtype::kImage, 50);
  table.ActiveDocIndex = doc->ovDocIndex;

  testing::FakeGrabberPlugin* grabber = new testing::FakeGrabberPlugin;
  GrabberPluginPtr owner(grabber);
  grabber->Width = 800;
  grabber->Height = 640;
  grabber->Grey = 77;
  std::int32_t counter = 0;
  PluginStatus failure;
  ASSERT_EQ(GrabImage(table, counter, false,
                      [&](clsDocument& d) { return d.GrabIntoDataBuffer(grabber, failure); }),
            doc);

  const ImageViewGeometry& geometry = view->Display()->Geometry;
  EXPECT_EQ(geometry.ImageWidth, 800);
  EXPECT_EQ(geometry.ImageHeight, 640);
  EXPECT_EQ(geometry.Horizontal.Maximum, view->Display()->Geometry.ImageWidth - geometry.SourceWidth);
  EXPECT_EQ(geometry.Vertical.Maximum, geometry.ImageHeight - geometry.SourceHeight);
  ASSERT_NE(view->Display()->SmallBitmap(), nullptr);
  EXPECT_EQ(view->Display()->SmallBitmap()->Image().size(), QSize(400, 320));
  EXPECT_EQ(qGray(view->Display()->SmallBitmap()->Image().pixel(200, 160)), 77);
  EXPECT_EQ(doc->Aperture.GetShapeType(), clsShape::kCircle);
  EXPECT_EQ(doc->Fringes.NumFringes(), 1);
  EXPECT_TRUE(doc->BMPDirty);
  EXPECT_TRUE(ScreenShowsTheBacking());
}

}  // namespace
}  // namespace orvale
