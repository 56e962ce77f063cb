// Tracked windows: the live set behind their handles, hooks on the messages of a
// thread's windows, and the clip watch.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/window/FakeWindow.h"

namespace orvale {
namespace {

struct Heard {
  void* window;
  WindowMessage message;
};

TEST(TrackedWindowTest, AHookHearsEveryWindowOfItsThreadAndNoOther) {
  FakeWindow first({0, 0, 100, 100});
  FakeWindow second({200, 0, 300, 100});
  std::unique_ptr<FakeWindow> elsewhere;
  std::thread([&] { elsewhere = std::make_unique<FakeWindow>(gdi::Rect{0, 0, 10, 10}); }).join();
  std::vector<Heard> heard;
  const int hook = TrackedWindow::HookThread(std::this_thread::get_id(), [&](void* w, const WindowEvent& e) {
    heard.push_back({w, e.message});
  });
  first.OpenMenu();
  second.Activate(false);
  elsewhere->Activate(false);  // a window of another thread
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].window, first.Handle());
  EXPECT_EQ(heard[0].message, WindowMessage::kInitMenu);
  EXPECT_EQ(heard[1].window, second.Handle());
  TrackedWindow::Unhook(hook);
  first.OpenMenu();
  EXPECT_EQ(heard.size(), 2u);
}

TEST(TrackedWindowTest, ADestroyedWindowIsGoneBeforeItsHooksHear) {
  auto window = std::make_unique<FakeWindow>(gdi::Rect{0, 0, 10, 10});
  void* const handle = window->Handle();
  EXPECT_EQ(TrackedWindow::Find(handle), window.get());
  bool liveWhenHeard = true;
  const int hook = TrackedWindow::HookThread(std::this_thread::get_id(), [&](void* w, const WindowEvent& e) {
    if (w == handle && e.message == WindowMessage::kDestroy) liveWhenHeard = TrackedWindow::Find(w) != nullptr;
  });
  window.reset();
  EXPECT_FALSE(liveWhenHeard);
  EXPECT_EQ(TrackedWindow::Find(handle), nullptr);
  EXPECT_EQ(TrackedWindow::Find(reinterpret_cast<void*>(0x1234)), nullptr);
  TrackedWindow::Unhook(hook);
}

TEST(TrackedWindowTest, HooksMayUnhookWhileTheyRun) {
  FakeWindow window({0, 0, 10, 10});
  int firstCalls = 0, secondCalls = 0;
  int second = 0;
  const int first = TrackedWindow::HookThread(std::this_thread::get_id(), [&](void*, const WindowEvent&) {
    ++firstCalls;
    TrackedWindow::Unhook(second);  // the later hook is not called for this message
  });
  second = TrackedWindow::HookThread(std::this_thread::get_id(), [&](void*, const WindowEvent&) { ++secondCalls; });
  window.EnterIdle();
  window.EnterIdle();
  EXPECT_EQ(firstCalls, 2);
  EXPECT_EQ(secondCalls, 0);
  TrackedWindow::Unhook(first);
}

TEST(TrackedWindowTest, ClipWatchersHearChangesOfTheVisibleParts) {
  FakeWindow window({0, 0, 100, 100});
  std::vector<ClipEvent> events;
  const int watch = window.WatchClip([&](ClipEvent e) { events.push_back(e); });
  window.SetVisibleRects({{0, 0, 50, 100}});
  EXPECT_EQ(events, (std::vector<ClipEvent>{ClipEvent::kChanged, ClipEvent::kDone}));
  EXPECT_EQ(window.VisibleRects(), (std::vector<gdi::Rect>{{0, 0, 50, 100}}));
  window.SetVisibleRectsQuietly({});
  window.OpenMenu();
  EXPECT_EQ(events.size(), 2u) << "messages are not clip changes";
  window.StopWatchingClip(watch);
  window.SetCovered(true);
  EXPECT_EQ(events.size(), 2u);
  EXPECT_TRUE(window.VisibleRects().empty());
}

}  // namespace
}  // namespace orvale
