#pragma once
// A window for tests: a client rectangle on the screen, a scripted list of visible
// parts, shown / minimised / active flags, a recording device context, and messages
// sent when the test says.
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
  gdi::DeviceContext* Dc() override { return &dc_; }
  void SetTopmost(bool topmost) override { topmost_ = topmost; }

  gdi::RecordingDeviceContext& Recording() { return dc_; }
  bool Topmost() const { return topmost_; }

  // Scripting: the window's state changes, then the matching message is sent.
  void Move(gdi::Rect client);  // position-changing (moves), then position-changed
  void SetVisibleRects(std::vector<gdi::Rect> visible);  // empty: the whole client area
  void SetCovered(bool covered) { covered_ = covered; }
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
  bool topmost_ = false;
  gdi::RecordingDeviceContext dc_;
};

}  // namespace orvale
