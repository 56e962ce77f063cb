#include "platform/window/FakeWindow.h"

namespace orvale {

FakeWindow::FakeWindow(gdi::Rect client) : client_(client) {}

std::vector<gdi::Rect> FakeWindow::VisibleRects() const {
  if (covered_ || !shown_ || minimized_) return {};
  if (visible_.empty()) return {client_};
  return visible_;
}

void FakeWindow::Move(gdi::Rect client) {
  Send({WindowMessage::kPosChanging, true});
  client_ = client;
  Send({WindowMessage::kPosChanged});
  ClipChanged();
}

void FakeWindow::SetVisibleRects(std::vector<gdi::Rect> visible) {
  visible_ = std::move(visible);
  ClipChanged();
}

void FakeWindow::SetCovered(bool covered) {
  covered_ = covered;
  ClipChanged();
}

void FakeWindow::Activate(bool active) {
  active_ = active;
  Send({WindowMessage::kActivate, active});
}

void FakeWindow::ActivateApp(bool active, bool otherThread) {
  active_ = active;
  appActive_ = active;
  Send({WindowMessage::kActivateApp, active, otherThread});
}

void FakeWindow::Show(bool shown) {
  shown_ = shown;
  Send({WindowMessage::kShowWindow, shown});
  ClipChanged();
}

void FakeWindow::Minimize(bool minimized) {
  minimized_ = minimized;
  Send({WindowMessage::kPosChanging, true});
  Send({WindowMessage::kPosChanged});
  ClipChanged();
}

void FakeWindow::OpenMenu() { Send({WindowMessage::kInitMenu}); }
void FakeWindow::CloseMenu() { Send({WindowMessage::kMenuSelect, true}); }
void FakeWindow::EnterIdle() { Send({WindowMessage::kEnterIdle}); }

void FakeWindow::SizeMove(gdi::Rect client) {
  Send({WindowMessage::kEnterSizeMove});
  Send({WindowMessage::kPosChanging, true});
  client_ = client;
  Send({WindowMessage::kPosChanged});
  Send({WindowMessage::kExitSizeMove});
  ClipChanged();
}

}  // namespace orvale
