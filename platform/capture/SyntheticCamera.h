#pragma once
// A camera made of code, for tests and machines without one (SyntheticCameraConfig.h):
// it delivers its picture every interval on a thread of its own and can be told to
// fail in the ways real cameras do.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/capture/CaptureDevice.h"
#include "platform/capture/SyntheticCameraConfig.h"

namespace orvale {

class SyntheticCamera final : public CaptureDevice {
 public:
  // Opens camera `index` (0-based) of `config`; null, with `error`, when the
  // configuration makes it busy.
  static std::unique_ptr<SyntheticCamera> Open(const SyntheticCameraConfig& config, std::int32_t index,
                                               std::string& error);
  ~SyntheticCamera() override;
  SyntheticCamera(const SyntheticCamera&) = delete;
  SyntheticCamera& operator=(const SyntheticCamera&) = delete;

  // Its size is fixed: another one is refused. A time per frame is taken (whole
  // milliseconds, at least 1).
  bool SetFormat(std::int32_t width, std::int32_t height, std::int64_t frameTime100ns) override;
  VideoFormat Format() const override;
  VideoCapabilities Capabilities() const override;
  bool Start(FrameSink& sink) override;
  void Stop() override;

  static std::string Name(std::int32_t index);
  // How often camera `index` has been opened in this process.
  static std::uint64_t OpenCount(std::int32_t index);

 private:
  SyntheticCamera(const SyntheticCameraConfig& config, std::int32_t index) : config_(config), index_(index) {}
  void Run(FrameSink& sink);
  // Waits until `ms` have passed (true) or Stop was called (false).
  bool Pause(std::int32_t ms);
  FramePtr MakeFrame(std::uint64_t number);
  FramePtr FringeFrame();

  SyntheticCameraConfig config_;
  std::int32_t index_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  FramePool pool_;
  FramePtr fringes_;  // the fringe picture never changes: made once, delivered each time
};

}  // namespace orvale
