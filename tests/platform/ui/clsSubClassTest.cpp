#include "platform/ui/clsSubClass.h"

#include <gtest/gtest.h>

#include <QResizeEvent>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/ui/modSubClass.h"

namespace orvale {
namespace {

// A window that counts what reaches its own handlers.
class CountingWidget : public QWidget {
 public:
  int paints = 0;
  std::vector<QSize> resizes;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
  void resizeEvent(QResizeEvent* event) override { resizes.push_back(event->size()); }
};

struct Raised {
  std::int32_t msg;
  std::intptr_t lParam;
};

class clsSubClassTest : public ::testing::Test {
 protected:
  // A watcher that logs what it is told and, when asked, runs the window's own
  // handling.
  static void Listen(clsSubClass& watcher, std::vector<Raised>& log, bool callPrevious = false) {
    watcher.WndProc = [&watcher, &log, callPrevious](std::int32_t& msg, std::intptr_t& wParam,
                                                     std::intptr_t& lParam, std::intptr_t& result) {
      log.push_back({msg, lParam});
      if (callPrevious) result = watcher.CallWndProc(msg, wParam, lParam);
    };
  }
  static std::unique_ptr<CountingWidget> ShownWidget() {
    auto widget = std::make_unique<CountingWidget>();
    widget->resize(120, 80);
    widget->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    return widget;
  }
  void TearDown() override { EXPECT_EQ(HookedWindowCount(), 0u); }
};

TEST_F(clsSubClassTest, TheWatchedListKeepsEachMessageOnce) {
  clsSubClass watcher;
  watcher.Set_Messages(wm::kSize, true);
  watcher.Set_Messages(wm::kSize, true);
  watcher.Set_Messages(wm::kPaint, false);  // not watched: nothing changes
  EXPECT_TRUE(watcher.Get_Messages(wm::kSize));
  EXPECT_FALSE(watcher.Get_Messages(wm::kPaint));
  watcher.Set_Messages(wm::kSize, false);
  EXPECT_FALSE(watcher.Get_Messages(wm::kSize));  // one removal empties it: it was kept once
  EXPECT_EQ(watcher.CallWndProc(wm::kSize, 0, 0), 0);  // no window
}

TEST_F(clsSubClassTest, AWatchedResizeIsToldOnceWithItsSizeAndConsumed) {
  auto widget = ShownWidget();
  clsSubClass watcher;
  std::vector<Raised> log;
  Listen(watcher, log);
  watcher.Set_Messages(wm::kSize, true);
  watcher.Set_hWnd(widget.get());
  watcher.Set_hWnd(widget.get());  // the same window again: still one record, one filter
  EXPECT_EQ(HookedWindowCount(), 1u);
  EXPECT_EQ(watcher.Get_hWnd(), widget.get());
  widget->resizes.clear();

  widget->resize(300, 200);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].msg, wm::kSize);
  EXPECT_EQ(log[0].lParam, 300 | (200 << 16));
  EXPECT_TRUE(widget->resizes.empty());  // the window's own handling did not run
  EXPECT_EQ(watcher.CallWndProc(wm::kSize, 0, 0), 0);  // outside an event: nothing to run

  watcher.Set_hWnd(nullptr);
  EXPECT_EQ(HookedWindowCount(), 0u);
  widget->resize(310, 210);
  EXPECT_EQ(log.size(), 1u);
  EXPECT_EQ(widget->resizes, std::vector<QSize>{QSize(310, 210)});
}

TEST_F(clsSubClassTest, UnwatchedEventsReachTheWindowUnchanged) {
  auto widget = ShownWidget();
  clsSubClass watcher;
  std::vector<Raised> log;
  Listen(watcher, log);
  watcher.Set_Messages(wm::kPaint, true);
  watcher.Set_hWnd(widget.get());
  widget->resizes.clear();
  widget->resize(222, 111);
  EXPECT_EQ(widget->resizes, std::vector<QSize>{QSize(222, 111)});
  EXPECT_TRUE(log.empty());
  watcher.Set_hWnd(nullptr);
}

TEST_F(clsSubClassTest, AWatchedPaintPaintsOnlyWhenTheHandlerAsks) {
  auto widget = ShownWidget();
  for (const bool callPrevious : {false, true}) {
    clsSubClass watcher;
    std::vector<Raised> log;
    Listen(watcher, log, callPrevious);
    watcher.Set_Messages(wm::kPaint, true);
    watcher.Set_hWnd(widget.get());
    widget->paints = 0;
    widget->repaint();
    ASSERT_EQ(log.size(), 1u) << callPrevious;
    EXPECT_EQ(log[0].msg, wm::kPaint);
    EXPECT_EQ(widget->paints, callPrevious ? 1 : 0);
  }
}

TEST_F(clsSubClassTest, DestroyingOneWindowLeavesTheOtherHooked) {
  auto first = ShownWidget();
  auto second = ShownWidget();
  clsSubClass firstWatcher;
  clsSubClass secondWatcher;
  std::vector<Raised> firstLog;
  std::vector<Raised> secondLog;
  Listen(firstWatcher, firstLog);
  Listen(secondWatcher, secondLog);
  firstWatcher.Set_Messages(wm::kNcDestroy, true);
  secondWatcher.Set_Messages(wm::kSize, true);
  firstWatcher.Set_hWnd(first.get());
  secondWatcher.Set_hWnd(second.get());
  ASSERT_EQ(HookedWindowCount(), 2u);

  first.reset();
  ASSERT_EQ(firstLog.size(), 1u);
  EXPECT_EQ(firstLog[0].msg, wm::kNcDestroy);
  EXPECT_EQ(firstWatcher.Get_hWnd(), nullptr);
  EXPECT_EQ(HookedWindowCount(), 1u);
  second->resize(150, 90);
  ASSERT_EQ(secondLog.size(), 1u);
  EXPECT_EQ(secondWatcher.Get_hWnd(), second.get());
  secondWatcher.Set_hWnd(nullptr);
}

TEST_F(clsSubClassTest, AWatcherDestroyedBeforeItsWindowLeavesNothingBehind) {
  auto widget = ShownWidget();
  {
    auto watcher = std::make_unique<clsSubClass>();
    std::vector<Raised> log;
    Listen(*watcher, log);
    watcher->Set_Messages(wm::kSize, true);
    watcher->Set_Messages(wm::kPaint, true);
    watcher->Set_hWnd(widget.get());
  }
  EXPECT_EQ(HookedWindowCount(), 0u);
  widget->resizes.clear();
  widget->paints = 0;
  widget->resize(200, 100);
  widget->repaint();
  EXPECT_EQ(widget->resizes, std::vector<QSize>{QSize(200, 100)});
  EXPECT_EQ(widget->paints, 1);
  widget.reset();  // no call back into the gone watcher
}

}  // namespace
}  // namespace orvale
