#pragma once
// A window a frame-grabber library follows: where its client area is on the screen,
// which parts of it are visible, whether it is shown, minimised and active, its device
// context, and the messages it gets (the ones the libraries' window hooks watch).
//
// Windows are handed to the libraries as opaque handles: the window's address. Every
// TrackedWindow is entered in a process-wide set of live windows for its lifetime, so a
// handle that names no live window (made up, or destroyed) is found out.
//
//   FakeWindow window({100, 100, 740, 580});   // tests
//   const int id = window.Listen([](const WindowEvent& e) { ... });
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
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

class TrackedWindow {
 public:
  using Listener = std::function<void(const WindowEvent&)>;

  TrackedWindow();
  virtual ~TrackedWindow();
  TrackedWindow(const TrackedWindow&) = delete;
  TrackedWindow& operator=(const TrackedWindow&) = delete;

  virtual gdi::Rect ClientOnScreen() const = 0;
  // The visible parts of the client area, in screen coordinates.
  virtual std::vector<gdi::Rect> VisibleRects() const = 0;
  virtual bool Shown() const = 0;
  virtual bool Minimized() const = 0;
  virtual bool Active() const = 0;
  virtual gdi::DeviceContext* Dc() = 0;
  virtual void SetTopmost(bool topmost) = 0;
  virtual std::uint32_t BackgroundColour() const { return 0xFFFFFF; }

  // Messages to this window, as they are sent.
  int Listen(Listener listener);
  void StopListening(int id);

  void* Handle() { return this; }
  // The live window with this handle, or null.
  static TrackedWindow* Find(const void* handle);

 protected:
  void Send(const WindowEvent& event);

 private:
  std::map<int, Listener> listeners_;
  int nextListener_ = 1;
};

}  // namespace orvale
