// A Qt widget as a tracked window: Qt's window events become the messages the card
// libraries follow, and what they draw through its device context shows over it.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/QtTrackedWindow.h"

namespace orvale {
namespace {

class QtTrackedWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget = std::make_unique<QWidget>();
    widget->setGeometry(40, 50, 200, 120);
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), QColor(10, 20, 30));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    tracked = new QtTrackedWindow(*widget);
    hook = TrackedWindow::HookThread(std::this_thread::get_id(), [this](void* w, const WindowEvent& e) {
      if (w == handle) heard.push_back(e);
    });
    handle = tracked->Handle();
    watch = tracked->WatchClip([this](ClipEvent e) { clipEvents.push_back(e); });
  }
  // The widget goes first: its last messages still find the fixture.
  void TearDown() override {
    widget.reset();
    TrackedWindow::Unhook(hook);
  }

  bool Heard(WindowMessage message, bool flag) const {
    for (const auto& e : heard) {
      if (e.message == message && e.flag == flag) return true;
    }
    return false;
  }

  std::unique_ptr<QWidget> widget;
  QtTrackedWindow* tracked = nullptr;
  void* handle = nullptr;
  int hook = 0;
  int watch = 0;
  std::vector<WindowEvent> heard;
  std::vector<ClipEvent> clipEvents;
};

TEST_F(QtTrackedWindowTest, QtEventsBecomeWindowMessages) {
  EXPECT_FALSE(tracked->Shown());
  EXPECT_TRUE(tracked->VisibleRects().empty());
  widget->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
  EXPECT_TRUE(Heard(WindowMessage::kShowWindow, true));
  EXPECT_FALSE(clipEvents.empty());
  const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
  const gdi::Rect client{origin.x(), origin.y(), origin.x() + 200, origin.y() + 120};
  EXPECT_EQ(tracked->ClientOnScreen(), client);
  EXPECT_EQ(tracked->VisibleRects(), std::vector<gdi::Rect>{client});
  EXPECT_EQ(tracked->BackgroundColour(), 0x1E140Au);
  ASSERT_TRUE(QTest::qWaitForWindowActive(widget.get()));
  EXPECT_TRUE(tracked->Active());
  EXPECT_TRUE(Heard(WindowMessage::kActivate, true));

  heard.clear();
  widget->move(80, 90);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Heard(WindowMessage::kPosChanged, false); }));
  EXPECT_TRUE(Heard(WindowMessage::kPosChanging, true));
  EXPECT_EQ(tracked->ClientOnScreen().left, widget->mapToGlobal(QPoint(0, 0)).x());

  widget->hide();
  EXPECT_TRUE(Heard(WindowMessage::kShowWindow, false));
  EXPECT_TRUE(tracked->VisibleRects().empty());
}

TEST_F(QtTrackedWindowTest, DrawingShowsOverTheWidgetUntilItIsRepainted) {
  widget->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
  ASSERT_NE(tracked->Dc(), nullptr);
  tracked->Dc()->FillRect({10, 10, 30, 20}, gdi::CreateSolidBrush(0x0000FF));  // red
  QImage shown = widget->grab().toImage();
  EXPECT_EQ(shown.pixelColor(15, 15), QColor(255, 0, 0));
  EXPECT_EQ(shown.pixelColor(100, 100), QColor(10, 20, 30)) << "the widget shows through elsewhere";
  tracked->Repaint();
  shown = widget->grab().toImage();
  EXPECT_EQ(shown.pixelColor(15, 15), QColor(10, 20, 30));
}

TEST_F(QtTrackedWindowTest, TheWindowEndsWithItsWidget) {
  widget->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
  EXPECT_EQ(TrackedWindow::Find(handle), tracked);
  widget.reset();
  EXPECT_EQ(TrackedWindow::Find(handle), nullptr);
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.back().message, WindowMessage::kDestroy);
}

}  // namespace
}  // namespace orvale
