#include "cards/korrin/core/CallGate.h"

namespace orvale::korrin {

void CallGate::lock() {
  std::unique_lock lock(mutex_);
  if (owner_ == std::this_thread::get_id()) {
    ++depth_;
    return;
  }
  Take(lock, 1);
}

void CallGate::unlock() {
  std::lock_guard lock(mutex_);
  if (--depth_ > 0) return;
  owner_ = {};
  if (waiting_ > 0) freed_.notify_all();
}

void CallGate::Yield() {
  std::unique_lock lock(mutex_);
  if (waiting_ == 0 || owner_ != std::this_thread::get_id()) return;
  const int depth = depth_;
  const std::uint64_t seen = entries_;
  owner_ = {};
  depth_ = 0;
  freed_.notify_all();
  // Not back before another thread has had its turn.
  ++waiting_;
  freed_.wait(lock, [&] { return entries_ != seen && depth_ == 0; });
  --waiting_;
  owner_ = std::this_thread::get_id();
  depth_ = depth;
  ++entries_;
}

int CallGate::Leave() {
  std::lock_guard lock(mutex_);
  if (owner_ != std::this_thread::get_id()) return 0;
  const int depth = depth_;
  owner_ = {};
  depth_ = 0;
  if (waiting_ > 0) freed_.notify_all();
  return depth;
}

void CallGate::Reenter(int depth) {
  if (depth == 0) return;
  std::unique_lock lock(mutex_);
  Take(lock, depth);
}

void CallGate::Take(std::unique_lock<std::mutex>& lock, int depth) {
  ++waiting_;
  freed_.wait(lock, [&] { return depth_ == 0; });
  --waiting_;
  owner_ = std::this_thread::get_id();
  depth_ = depth;
  ++entries_;
}

}  // namespace orvale::korrin
