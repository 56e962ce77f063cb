// A program's own QWidget handed to the shared object as a window: the library tracks it
// with a window of its own, and refuses anything that names no live widget of the
// application, without reading through it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include "korrin32.h"

namespace {

constexpr std::uint32_t kWholeWindow = 0x2000;  // follow the whole window, no clip watch
constexpr std::uint32_t kFollow = 0x4 | 0x8 | 0x20;  // position and size, unaligned

struct VideoRect {
  int16_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const VideoRect&) const = default;
};

class WidgetWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("ORVALE_KORRIN_DEVICE", "sim", 1);
    so_ = dlopen(KORRIN32_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(so_, nullptr) << dlerror();
    ASSERT_EQ(Get<decltype(KR_Locate)>("KR_Locate")(), 0);
    ASSERT_EQ(Get<decltype(KR_Init)>("KR_Init")(), 0);
    autoWindow_ = Get<decltype(KR_AutoWindow)>("KR_AutoWindow");
    autoBlit_ = Get<decltype(KR_AutoBlit)>("KR_AutoBlit");
    setPalette_ = Get<decltype(KR_SetPalette)>("KR_SetPalette");
    maskDraw_ = Get<decltype(KR_MaskDraw)>("KR_MaskDraw");
  }
  void TearDown() override {
    Unload();
    unsetenv("ORVALE_KORRIN_DEVICE");
  }
  void Unload() {
    if (so_ == nullptr) return;
    Get<decltype(KR_Cleanup)>("KR_Cleanup")();
    dlclose(so_);
    so_ = nullptr;
  }
  template <class F>
  F* Get(const char* name) {
    return reinterpret_cast<F*>(dlsym(so_, name));
  }
  KR_Window TrackedWindow() {
    KR_AutoWindowInfoRecord record{};
    EXPECT_EQ(Get<decltype(KR_AutoWindowInfo)>("KR_AutoWindowInfo")(&record), 0);
    return record.window;
  }
  VideoRect VideoWindow() {
    VideoRect r;
    EXPECT_EQ(Get<decltype(KR_GetVideoRect)>("KR_GetVideoRect")(2, &r.x, &r.y, &r.width, &r.height), 0);
    return r;
  }
  template <class Application = QApplication>
  static std::unique_ptr<Application> MakeApplication() {
    static int argc = 1;
    static char name[] = "korrin_widget_window_test";
    static char* argv[] = {name, nullptr};
    return std::make_unique<Application>(argc, argv);
  }
  static std::unique_ptr<QWidget> ShownWidget(QRect geometry) {
    auto widget = std::make_unique<QWidget>();
    widget->setGeometry(geometry);
    widget->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    return widget;
  }

  // Every export that takes a window, called with `window`.
  struct WindowCall {
    const char* name;
    std::function<int32_t(KR_Window)> call;
  };
  std::vector<WindowCall> WindowCalls() {
    return {
        {"KR_AutoWindow", [this](KR_Window w) { return autoWindow_(w, 0, 0, 0, 0, kWholeWindow); }},
        {"KR_AutoBlit", [this](KR_Window w) { return autoBlit_(w, -1, 0, 0, 0, 0, 0); }},
        {"KR_SetPalette", [this](KR_Window w) { return setPalette_(4, reinterpret_cast<intptr_t>(w)); }},
    };
  }

  void* so_ = nullptr;
  decltype(KR_AutoWindow)* autoWindow_ = nullptr;
  decltype(KR_AutoBlit)* autoBlit_ = nullptr;
  decltype(KR_SetPalette)* setPalette_ = nullptr;
  decltype(KR_MaskDraw)* maskDraw_ = nullptr;
};

TEST_F(WidgetWindowTest, AProgramsWidgetIsTrackedByOneWindowOfTheLibrarysOwn) {
  const auto app = MakeApplication();
  const auto widget = ShownWidget({100, 100, 320, 240});
  EXPECT_EQ(autoWindow_(widget.get(), 0, 0, 0, 0, kWholeWindow | kFollow), 2);
  const KR_Window tracked = TrackedWindow();
  EXPECT_NE(tracked, nullptr);
  EXPECT_NE(tracked, static_cast<void*>(widget.get()));
  const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(VideoWindow(), (VideoRect{int16_t(origin.x()), int16_t(origin.y()), 320, 240}));

  // The same widget again, and the handle the library gave back, reach the same window.
  EXPECT_EQ(autoWindow_(widget.get(), 0, 0, 0, 0, kWholeWindow | kFollow), 2);
  EXPECT_EQ(TrackedWindow(), tracked);
  EXPECT_EQ(autoWindow_(tracked, 0, 0, 0, 0, kWholeWindow | kFollow), 2);
  EXPECT_EQ(TrackedWindow(), tracked);

  // The video follows the widget (to a place where the board needs no alignment).
  widget->setGeometry(200, 160, 320, 240);
  QCoreApplication::processEvents();
  const QPoint moved = widget->mapToGlobal(QPoint(0, 0));
  ASSERT_NE(moved, origin);
  EXPECT_EQ(VideoWindow(), (VideoRect{int16_t(moved.x()), int16_t(moved.y()), 320, 240}));
  EXPECT_EQ(autoWindow_(nullptr, 0, 0, 0, 0, 0), 0);

  // The other exports that take a window take the widget too.
  for (const auto& c : WindowCalls()) EXPECT_GE(c.call(widget.get()), 0) << c.name;
}

TEST_F(WidgetWindowTest, MaskFiguresAreDrawnOnTheWidget) {
  const auto app = MakeApplication();
  auto widget = ShownWidget({100, 100, 320, 240});
  std::vector<uint8_t> mask(95 * 576);
  ASSERT_EQ(maskDraw_(0, 0, 0, 0, 0, reinterpret_cast<intptr_t>(mask.data()), widget.get()), 0);
  const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
  ASSERT_EQ(maskDraw_(13, origin.x() + 10, origin.y() + 20, origin.x() + 19, origin.y() + 29, 0x0000FF,
                      widget.get()),
            0);
  const QImage shown = widget->grab().toImage();
  EXPECT_EQ(shown.pixelColor(15, 25), QColor(255, 0, 0));
  EXPECT_NE(shown.pixelColor(5, 5), QColor(255, 0, 0));
  EXPECT_EQ(maskDraw_(4, 0, 0, 0, 0, 0, nullptr), 0);
}

TEST_F(WidgetWindowTest, PointersThatNameNoLiveWidgetAreRefusedUnread) {
  const auto app = MakeApplication();
  void* const stale = std::make_unique<QWidget>().get();  // deleted at once
  int notAWindow = 0;
  for (void* handle : {stale, static_cast<void*>(&notAWindow), reinterpret_cast<void*>(0x10)}) {
    for (const auto& c : WindowCalls()) EXPECT_EQ(c.call(handle), -1) << c.name;
    EXPECT_EQ(TrackedWindow(), nullptr);
  }
  // A live widget, but asked from another thread than the application's.
  const auto widget = ShownWidget({100, 100, 320, 240});
  std::thread([&] {
    for (const auto& c : WindowCalls()) EXPECT_EQ(c.call(widget.get()), -1) << c.name;
  }).join();
  EXPECT_EQ(TrackedWindow(), nullptr);
}

TEST_F(WidgetWindowTest, AWidgetThatDiesEndsItsTracking) {
  const auto app = MakeApplication();
  auto widget = ShownWidget({100, 100, 320, 240});
  ASSERT_GT(autoWindow_(widget.get(), 0, 0, 0, 0, kWholeWindow), 0);
  const KR_Window tracked = TrackedWindow();
  widget.reset();
  EXPECT_EQ(TrackedWindow(), nullptr);
  EXPECT_EQ(autoWindow_(tracked, 0, 0, 0, 0, kWholeWindow), -1);
}

// The library's window leaves the widget when the library is unloaded: the widget lives
// on, gets events and dies without calling into code that is gone.
TEST_F(WidgetWindowTest, AWidgetOutlivesTheLibrary) {
  const auto app = MakeApplication();
  auto widget = ShownWidget({100, 100, 320, 240});
  ASSERT_GT(autoWindow_(widget.get(), 0, 0, 0, 0, kWholeWindow | kFollow), 0);
  Unload();
  widget->move(200, 150);
  widget->resize(200, 100);
  widget->hide();
  QCoreApplication::processEvents();
  EXPECT_TRUE(widget->findChildren<QObject*>().isEmpty());
  widget.reset();
}

// Pointers that look like widgets: one to a widget gone with its application, and a
// byte copy of a live widget (its vtable and private data pointer look real, but the
// data is freed). With no application, or a console one, neither is read through.
TEST_F(WidgetWindowTest, WithoutAnApplicationNoPointerIsAWindow) {
  void* stale = nullptr;
  alignas(QWidget) unsigned char lookalike[sizeof(QWidget)];
  {
    const auto app = MakeApplication();
    const auto widget = std::make_unique<QWidget>();
    stale = widget.get();
    std::memcpy(lookalike, static_cast<const void*>(widget.get()), sizeof(QWidget));
  }
  const auto refused = [&](const char* when) {
    for (void* handle : {stale, static_cast<void*>(lookalike)})
      for (const auto& c : WindowCalls()) EXPECT_EQ(c.call(handle), -1) << c.name << ", " << when;
  };
  refused("no application");
  const auto console = MakeApplication<QCoreApplication>();
  refused("a console application");
  EXPECT_EQ(TrackedWindow(), nullptr);
}

}  // namespace
