#pragma once
// A window a frame-grabber library follows: where its client area is on the screen,
// which parts of it are visible, whether it is shown, minimised and active, its device
// context, and the messages sent to it and to the other windows of its thread.
//
// Windows are handed to the libraries as opaque handles: the window's address. Every
// TrackedWindow is entered in a process-wide set of live windows for its lifetime, so a
// handle that names no live window (made up, or destroyed) is found out.
//
// Messages reach hooks set on a thread, as a WH_CALLWNDPROC hook sees every message sent
// to a window of its thread. The visible parts are watched apart: a watcher hears when
// they change, whatever made them change (another program's window, say).
//
//   FakeWindow window({100, 100, 740, 580});   // tests; QtTrackedWindow in programs
//   const int hook = TrackedWindow::HookThread(window.Thread(),
//       [](void* handle, const WindowEvent& e) { ... });
//   const int watch = window.WatchClip([](ClipEvent e) { ... });
#include <cstdint>
#include <functional>
#include <map>
#include <thread>
#include <vector>

#include "platform/gdi/Geometry.h"

namespace orvale {

namespace gdi {
class DeviceContext;
}

// The window messages the hooks follow, with their Windows numbers.
enum class WindowMessage : std::uint32_t {
  kDestroy = 2,
  kActivate = 6,
  kShowWindow = 24,
  kActivateApp = 28,
  kPosChanging = 70,
  kPosChanged = 71,
  kInitMenu = 278,
  kInitMenuPopup = 279,
  kMenuSelect = 287,
  kEnterIdle = 289,
  kEnterSizeMove = 561,
  kExitSizeMove = 562,
};

struct WindowEvent {
  WindowMessage message;
  // Activate / show / activate-app: on or off. Menu select: the menu closed. Position
  // changing: it really moves or resizes.
  bool flag = false;
  // Activate-app: the other application's window belongs to another thread.
  bool otherThread = false;
};

// What a clip watch reports: the visible parts are changing, then are settled.
enum class ClipEvent : std::uint32_t { kChanged = 3, kDone = 4 };

class TrackedWindow {
 public:
  using Hook = std::function<void(void* window, const WindowEvent&)>;
  using ClipWatcher = std::function<void(ClipEvent)>;

  // The window belongs to the thread that makes it.
  TrackedWindow();
  // Hooks on its thread get a last kDestroy; the handle is no longer live by then.
  virtual ~TrackedWindow();
  TrackedWindow(const TrackedWindow&) = delete;
  TrackedWindow& operator=(const TrackedWindow&) = delete;

  virtual gdi::Rect ClientOnScreen() const = 0;
  // The visible parts of the client area, in screen coordinates.
  virtual std::vector<gdi::Rect> VisibleRects() const = 0;
  virtual bool Shown() const = 0;
  virtual bool Minimized() const = 0;
  virtual bool Active() const = 0;
  // The program is in the foreground (false: another program's window is active).
  virtual bool AppActive() const = 0;
  // Drawing on the window's client area, in client coordinates; null when it has none.
  virtual gdi::DeviceContext* Dc() = 0;
  virtual void SetTopmost(bool topmost) = 0;
  // The window system paints the window again: whatever others drew on it goes.
  virtual void Repaint() = 0;
  // 0x00BBGGRR.
  virtual std::uint32_t BackgroundColour() const { return 0xFFFFFF; }

  std::thread::id Thread() const { return thread_; }
  void* Handle() { return this; }
  // The live window with this handle, or null.
  static TrackedWindow* Find(const void* handle);

  // Every message sent to a window of `thread` reaches `hook`. A hook may unhook itself
  // or others while it runs.
  static int HookThread(std::thread::id thread, Hook hook);
  static void Unhook(int id);

  int WatchClip(ClipWatcher watcher);
  void StopWatchingClip(int id);

 protected:
  void Send(const WindowEvent& event);
  // The visible parts have changed: watchers hear kChanged, then kDone.
  void ClipChanged();

 private:
  std::thread::id thread_;
  std::map<int, ClipWatcher> watchers_;
  int nextWatcher_ = 1;
};

}  // namespace orvale
