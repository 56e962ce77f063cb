#include "plugins/tavrel/FrameHandover.h"

#include <utility>

namespace orvale {

void FrameHandover::Publish(FramePtr frame) {
  {
    std::lock_guard lock(mutex_);
    newest_ = std::move(frame);
    ++sequence_;
  }
  changed_.notify_all();
}

void FrameHandover::MarkLost() {
  {
    std::lock_guard lock(mutex_);
    lost_ = true;
  }
  changed_.notify_all();
}

void FrameHandover::Reset() {
  std::lock_guard lock(mutex_);
  newest_.reset();
  lost_ = false;
}

std::uint64_t FrameHandover::Sequence() const {
  std::lock_guard lock(mutex_);
  return sequence_;
}

FramePtr FrameHandover::Newest() const {
  std::lock_guard lock(mutex_);
  return newest_;
}

FrameHandover::Wait FrameHandover::WaitForFrameAfter(std::uint64_t sequence,
                                                     std::chrono::milliseconds bound) {
  std::unique_lock lock(mutex_);
  const bool woken = changed_.wait_for(lock, bound, [&] { return lost_ || sequence_ > sequence; });
  if (sequence_ > sequence) return Wait::Arrived;
  return woken ? Wait::Lost : Wait::TimedOut;
}

}  // namespace orvale
