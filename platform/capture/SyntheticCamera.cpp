#include "platform/capture/SyntheticCamera.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>

#include "platform/capture/SyntheticPattern.h"

namespace orvale {

namespace {

std::array<std::atomic<std::uint64_t>, SyntheticCameraConfig::kMaxCameras>& OpenCounts() {
  static std::array<std::atomic<std::uint64_t>, SyntheticCameraConfig::kMaxCameras> counts{};
  return counts;
}

bool ValidIndex(std::int32_t index) { return index >= 0 && index < SyntheticCameraConfig::kMaxCameras; }

}  // namespace

std::string SyntheticCamera::Name(std::int32_t index) {
  return "Synthetic Camera " + std::to_string(index + 1);
}

std::uint64_t SyntheticCamera::OpenCount(std::int32_t index) {
  return ValidIndex(index) ? OpenCounts()[static_cast<std::size_t>(index)].load() : 0;
}

std::unique_ptr<SyntheticCamera> SyntheticCamera::Open(const SyntheticCameraConfig& config,
                                                       std::int32_t index, std::string& error) {
  if (!ValidIndex(index) || index >= config.Cameras) {
    error = "There is no " + Name(index);
    return nullptr;
  }
  if (config.Failure == SyntheticCameraConfig::Fault::Busy) {
    error = Name(index) + " is busy";
    return nullptr;
  }
  ++OpenCounts()[static_cast<std::size_t>(index)];
  return std::unique_ptr<SyntheticCamera>(new SyntheticCamera(config, index));
}

SyntheticCamera::~SyntheticCamera() { Stop(); }

VideoCapabilities SyntheticCamera::Capabilities() const {
  VideoCapabilities capabilities;
  capabilities.UserControls = index_ + 1 == config_.CameraWithSettings;
  return capabilities;
}

bool SyntheticCamera::SetFormat(std::int32_t width, std::int32_t height, std::int64_t frameTime100ns) {
  if (thread_.joinable()) return false;
  if (frameTime100ns > 0)
    config_.IntervalMs = static_cast<std::int32_t>(std::clamp<std::int64_t>(frameTime100ns / 10000, 1, 10000));
  return width == config_.Width && height == config_.Height;
}

VideoFormat SyntheticCamera::Format() const {
  return {config_.Width, config_.Height, static_cast<std::int64_t>(config_.IntervalMs) * 10000};
}

bool SyntheticCamera::Start(FrameSink& sink) {
  if (thread_.joinable()) return false;
  stopping_ = false;
  thread_ = std::thread([this, &sink] { RunStreamLoop(sink, [&] { Run(sink); }); });
  return true;
}

void SyntheticCamera::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool SyntheticCamera::Pause(std::int32_t ms) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

FramePtr SyntheticCamera::FringeFrame() {
  if (!fringes_) {
    auto frame = std::make_shared<VideoFrame>();
    frame->Resize(config_.Width, config_.Height);
    DrawSyntheticFringes(*frame);
    fringes_ = frame;
  }
  return fringes_;
}

FramePtr SyntheticCamera::MakeFrame(std::uint64_t number) {
  using Fault = SyntheticCameraConfig::Fault;
  const bool faulty = number > config_.GoodFrames;
  if (faulty && config_.Failure == Fault::Resize) {
    std::shared_ptr<VideoFrame> frame = pool_.Take(config_.Width / 2, config_.Height / 2);
    DrawSyntheticRamp(*frame, number);
    return frame;
  }
  FramePtr frame;
  if (config_.Picture == SyntheticCameraConfig::Pattern::Ramp) {
    std::shared_ptr<VideoFrame> ramp = pool_.Take(config_.Width, config_.Height);
    DrawSyntheticRamp(*ramp, number);
    frame = ramp;
  } else {
    frame = FringeFrame();
  }
  if (faulty && config_.Failure == Fault::Short) {
    auto cut = std::make_shared<VideoFrame>(*frame);
    cut->Bytes.resize(cut->Bytes.size() / 2);
    return cut;
  }
  return frame;
}

void SyntheticCamera::Run(FrameSink& sink) {
  using Fault = SyntheticCameraConfig::Fault;
  for (std::uint64_t number = 1; Pause(config_.IntervalMs); ++number) {
    if (number > config_.GoodFrames && config_.Failure == Fault::Lost) {
      sink.OnLost();
      return;
    }
    if (number > config_.GoodFrames && config_.Failure == Fault::Stall) {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_; });
      return;
    }
    sink.OnFrame(MakeFrame(number));
  }
}

}  // namespace orvale
