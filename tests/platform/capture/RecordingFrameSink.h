#pragma once
// A frame sink that keeps what a camera delivered, for tests on the test's thread: wait
// for a number of frames or for the loss of the device.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "platform/capture/CaptureDevice.h"

namespace orvale::testing {

class RecordingFrameSink final : public FrameSink {
 public:
  // Set before streaming starts: every delivery fails as if memory had run out.
  explicit RecordingFrameSink(bool outOfMemory = false) : outOfMemory_(outOfMemory) {}

  void OnFrame(const FramePtr& frame) override {
    if (outOfMemory_) throw std::bad_alloc();
    {
      std::lock_guard lock(mutex_);
      frames_.push_back(frame);
      threads_.push_back(std::this_thread::get_id());
    }
    changed_.notify_all();
  }
  void OnLost() override {
    {
      std::lock_guard lock(mutex_);
      ++losses_;
    }
    changed_.notify_all();
  }

  // Waits until `count` frames have come (true); the bound is only reached by a
  // failing test.
  bool WaitForFrames(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kFailingTestBound, [&] { return frames_.size() >= count; });
  }
  bool WaitForLoss() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kFailingTestBound, [&] { return losses_ > 0; });
  }
  std::vector<FramePtr> Frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
  }
  std::vector<std::thread::id> Threads() const {
    std::lock_guard lock(mutex_);
    return threads_;
  }
  int Losses() const {
    std::lock_guard lock(mutex_);
    return losses_;
  }

 private:
  static constexpr std::chrono::seconds kFailingTestBound{20};
  const bool outOfMemory_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<FramePtr> frames_;
  std::vector<std::thread::id> threads_;
  int losses_ = 0;
};

}  // namespace orvale::testing
