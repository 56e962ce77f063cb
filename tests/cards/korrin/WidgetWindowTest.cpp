// A program's own QWidget handed to the shared object as a window: the library tracks it
// with a window of its own, and refuses anything that names no live widget.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "korrin32.h"

namespace {

constexpr std::uint32_t kWholeWindow = 0x2000;  // follow the whole window, no clip watch

class WidgetWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("ORVALE_KORRIN_DEVICE", "sim", 1);
    so_ = dlopen(KORRIN32_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(so_, nullptr) << dlerror();
    locate_ = Get<decltype(KR_Locate)>("KR_Locate");
    init_ = Get<decltype(KR_Init)>("KR_Init");
    cleanup_ = Get<decltype(KR_Cleanup)>("KR_Cleanup");
    autoWindow_ = Get<decltype(KR_AutoWindow)>("KR_AutoWindow");
    info_ = Get<decltype(KR_AutoWindowInfo)>("KR_AutoWindowInfo");
    ASSERT_EQ(locate_(), 0);
    ASSERT_EQ(init_(), 0);
  }
  void TearDown() override {
    if (cleanup_ != nullptr) cleanup_();
    if (so_ != nullptr) dlclose(so_);
    unsetenv("ORVALE_KORRIN_DEVICE");
  }
  template <class F>
  F* Get(const char* name) {
    return reinterpret_cast<F*>(dlsym(so_, name));
  }
  KR_Window TrackedWindow() {
    KR_AutoWindowInfoRecord record{};
    EXPECT_EQ(info_(&record), 0);
    return record.window;
  }
  static std::unique_ptr<QApplication> MakeApplication() {
    static int argc = 1;
    static char name[] = "korrin_widget_window_test";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
  }

  void* so_ = nullptr;
  decltype(KR_Locate)* locate_ = nullptr;
  decltype(KR_Init)* init_ = nullptr;
  decltype(KR_Cleanup)* cleanup_ = nullptr;
  decltype(KR_AutoWindow)* autoWindow_ = nullptr;
  decltype(KR_AutoWindowInfo)* info_ = nullptr;
};

TEST_F(WidgetWindowTest, AProgramsWidgetIsTrackedByOneWindowOfTheLibrarysOwn) {
  const auto app = MakeApplication();
  QWidget widget;
  widget.setGeometry(100, 100, 320, 240);
  widget.show();

  EXPECT_GT(autoWindow_(&widget, 0, 0, 0, 0, kWholeWindow), 0);
  const KR_Window tracked = TrackedWindow();
  EXPECT_NE(tracked, nullptr);
  EXPECT_NE(tracked, static_cast<void*>(&widget));

  // The same widget again, and the handle the library gave back, reach the same window.
  EXPECT_GT(autoWindow_(&widget, 0, 0, 0, 0, kWholeWindow), 0);
  EXPECT_EQ(TrackedWindow(), tracked);
  EXPECT_GT(autoWindow_(tracked, 0, 0, 0, 0, kWholeWindow), 0);
  EXPECT_EQ(TrackedWindow(), tracked);
  EXPECT_EQ(autoWindow_(nullptr, 0, 0, 0, 0, 0), 0);
}

TEST_F(WidgetWindowTest, PointersThatNameNoLiveWidgetAreRefusedUnread) {
  const auto app = MakeApplication();
  auto gone = std::make_unique<QWidget>();
  void* const stale = gone.get();
  gone.reset();
  int notAWindow = 0;
  for (void* handle : {stale, static_cast<void*>(&notAWindow), reinterpret_cast<void*>(0x10)}) {
    EXPECT_EQ(autoWindow_(handle, 0, 0, 0, 0, kWholeWindow), -1);
    EXPECT_EQ(TrackedWindow(), nullptr);
  }
}

TEST_F(WidgetWindowTest, AWidgetThatDiesEndsItsTracking) {
  const auto app = MakeApplication();
  auto widget = std::make_unique<QWidget>();
  widget->show();
  ASSERT_GT(autoWindow_(widget.get(), 0, 0, 0, 0, kWholeWindow), 0);
  const KR_Window tracked = TrackedWindow();
  widget.reset();
  EXPECT_EQ(TrackedWindow(), nullptr);
  EXPECT_EQ(autoWindow_(tracked, 0, 0, 0, 0, kWholeWindow), -1);
}

TEST_F(WidgetWindowTest, WithoutAnApplicationNoPointerIsAWindow) {
  int notAWindow = 0;
  EXPECT_EQ(autoWindow_(&notAWindow, 0, 0, 0, 0, kWholeWindow), -1);
}

}  // namespace
