#include "platform/window/TrackedWindow.h"

#include <mutex>
#include <set>

namespace orvale {
namespace {

std::mutex& LiveMutex() {
  static std::mutex mutex;
  return mutex;
}
std::set<const void*>& Live() {
  static std::set<const void*> live;
  return live;
}

}  // namespace

TrackedWindow::TrackedWindow() {
  std::lock_guard lock(LiveMutex());
  Live().insert(this);
}

TrackedWindow::~TrackedWindow() {
  {
    std::lock_guard lock(LiveMutex());
    Live().erase(this);
  }
  // Followers learn of the end last; the handle no longer names a live window then.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) listener({WindowMessage::kDestroy});
}

TrackedWindow* TrackedWindow::Find(const void* handle) {
  std::lock_guard lock(LiveMutex());
  return Live().count(handle) != 0 ? static_cast<TrackedWindow*>(const_cast<void*>(handle)) : nullptr;
}

int TrackedWindow::Listen(Listener listener) {
  const int id = nextListener_++;
  listeners_[id] = std::move(listener);
  return id;
}

void TrackedWindow::StopListening(int id) { listeners_.erase(id); }

void TrackedWindow::Send(const WindowEvent& event) {
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) {
    if (listeners_.count(id) != 0) listener(event);
  }
}

}  // namespace orvale
