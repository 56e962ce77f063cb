#pragma once
// Frames crossing from the camera's thread to the plug-in's: the newest frame and how many
// have come, under one lock, and a wait for the next one that is always bounded and that
// the loss of the camera ends at once.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/capture/VideoFrame.h"

namespace orvale {

class FrameHandover {
 public:
  enum class Wait { Arrived, Lost, TimedOut };

  // The camera's thread.
  void Publish(FramePtr frame);
  void MarkLost();

  // A new stream: no frame, not lost, the count kept running.
  void Reset();
  // How many frames have come; a frame published later has a higher number.
  std::uint64_t Sequence() const;
  // The newest frame, complete or not; null before the first.
  FramePtr Newest() const;
  // Until a frame numbered above `sequence` has come, the camera is lost, or `bound` has
  // passed.
  Wait WaitForFrameAfter(std::uint64_t sequence, std::chrono::milliseconds bound);

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  FramePtr newest_;
  std::uint64_t sequence_ = 0;
  bool lost_ = false;
};

}  // namespace orvale
