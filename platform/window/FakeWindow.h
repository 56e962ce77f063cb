#pragma once
// A window for tests: a client rectangle on the screen, a scripted list of visible
// parts, shown / minimised / active flags, a recording device context, and messages
// sent when the test says. Whatever changes the visible parts tells the clip watchers.
#include <vector>

#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/window/TrackedWindow.h"

namespace orvale {

class FakeWindow final : public TrackedWindow {
 public:
  explicit FakeWindow(gdi::Rect client);

  gdi::Rect ClientOnScreen() const override { return client_; }
  std::vector<gdi::Rect> VisibleRects() const override;
  bool Shown() const override { return shown_; }
  bool Minimized() const override { return minimized_; }
  bool Active() const override { return active_; }
  bool AppActive() const override { return appActive_; }
  gdi::DeviceContext* Dc() override { return &dc_; }
  void SetTopmost(bool topmost) override { topmost_ = topmost; }
  void Repaint() override { ++repaints_; }
  std::uint32_t BackgroundColour() const override { return background_; }

  gdi::RecordingDeviceContext& Recording() { return dc_; }
  bool Topmost() const { return topmost_; }
  int Repaints() const { return repaints_; }
  void SetBackgroundColour(std::uint32_t colour) { background_ = colour; }

  // Scripting: the window's state changes, then the matching messages are sent and the
  // clip watchers told.
  void Move(gdi::Rect client);  // position-changing (moves), then position-changed
  // Empty: the whole client area. Only the watchers hear of it: another program's window
  // moving over this one sends it no message.
  void SetVisibleRects(std::vector<gdi::Rect> visible);
  void SetCovered(bool covered);
  // The visible parts change without anyone being told (a window system that does not
  // report them); the next message shows them.
  void SetVisibleRectsQuietly(std::vector<gdi::Rect> visible) { visible_ = std::move(visible); }
  void Activate(bool active);
  void ActivateApp(bool active, bool otherThread = true);
  void Show(bool shown);
  void Minimize(bool minimized);
  void OpenMenu();
  void CloseMenu();
  void EnterIdle();
  void SizeMove(gdi::Rect client);  // enter size-move, the moves, exit size-move
  using TrackedWindow::Send;

 private:
  gdi::Rect client_;
  std::vector<gdi::Rect> visible_;
  bool covered_ = false;
  bool shown_ = true;
  bool minimized_ = false;
  bool active_ = true;
  bool appActive_ = true;
  bool topmost_ = false;
  int repaints_ = 0;
  std::uint32_t background_ = 0xFFFFFF;
  gdi::RecordingDeviceContext dc_;
};

}  // namespace orvale
