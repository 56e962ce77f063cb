#include "platform/window/TrackedWindow.h"

#include <mutex>
#include <set>

namespace orvale {
namespace {

struct ThreadHook {
  std::thread::id thread;
  TrackedWindow::Hook hook;
};

// The live windows and the thread hooks, shared by every thread.
struct Registry {
  std::mutex mutex;
  std::set<const void*> live;
  std::map<int, ThreadHook> hooks;
  int nextHook = 1;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// Runs the hooks of `thread` in the order they were set; one removed meanwhile is skipped.
void RunHooks(std::thread::id thread, void* window, const WindowEvent& event) {
  Registry& r = TheRegistry();
  std::vector<int> ids;
  {
    std::lock_guard lock(r.mutex);
    for (const auto& [id, hook] : r.hooks) {
      if (hook.thread == thread) ids.push_back(id);
    }
  }
  for (int id : ids) {
    TrackedWindow::Hook hook;
    {
      std::lock_guard lock(r.mutex);
      const auto it = r.hooks.find(id);
      if (it == r.hooks.end()) continue;
      hook = it->second.hook;
    }
    hook(window, event);
  }
}

}  // namespace

TrackedWindow::TrackedWindow() : thread_(std::this_thread::get_id()) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.live.insert(this);
}

TrackedWindow::~TrackedWindow() {
  Registry& r = TheRegistry();
  {
    std::lock_guard lock(r.mutex);
    r.live.erase(this);
  }
  RunHooks(thread_, this, {WindowMessage::kDestroy});
}

TrackedWindow* TrackedWindow::Find(const void* handle) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  return r.live.count(handle) != 0 ? static_cast<TrackedWindow*>(const_cast<void*>(handle)) : nullptr;
}

int TrackedWindow::HookThread(std::thread::id thread, Hook hook) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  const int id = r.nextHook++;
  r.hooks[id] = {thread, std::move(hook)};
  return id;
}

void TrackedWindow::Unhook(int id) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.hooks.erase(id);
}

int TrackedWindow::WatchClip(ClipWatcher watcher) {
  const int id = nextWatcher_++;
  watchers_[id] = std::move(watcher);
  return id;
}

void TrackedWindow::StopWatchingClip(int id) { watchers_.erase(id); }

void TrackedWindow::Send(const WindowEvent& event) { RunHooks(thread_, this, event); }

void TrackedWindow::ClipChanged() {
  for (ClipEvent event : {ClipEvent::kChanged, ClipEvent::kDone}) {
    const auto watchers = watchers_;
    for (const auto& [id, watcher] : watchers) {
      if (watchers_.count(id) != 0) watcher(event);
    }
  }
}

}  // namespace orvale
