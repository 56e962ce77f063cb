#pragma once
// What the plug-in's suites share: an engine environment over fake V4L2 devices (none by
// default, so the machine's own cameras never count), settings in memory, and the
// synthetic cameras switched on for the test.
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/capture/SyntheticCameraConfig.h"
#include "platform/profile/PrivateProfile.h"
#include "plugins/tavrel/CaptureEngine.h"
#include "plugins/tavrel/TavrelSettings.h"
#include "tests/platform/capture/FakeV4l2Device.h"
#include "tests/support/ScopedEnvironmentVariable.h"

namespace orvale::testing {

// A camera that streams `pixelFormat` at width x height and keeps that size whatever the
// saved format asks for.
inline FakeCamera FixedSizeCamera(std::uint32_t pixelFormat, std::uint32_t width, std::uint32_t height) {
  FakeCamera camera;
  camera.Formats = {pixelFormat};
  camera.Width = width;
  camera.Height = height;
  camera.FixedSize = true;
  return camera;
}

class TavrelTestBench {
 public:
  // `synthetic`: the value of the synthetic cameras' switch, or nullopt for none.
  explicit TavrelTestBench(std::optional<std::string> synthetic,
                           std::vector<FakeCamera> cameras = {})
      : switch_(kSyntheticCameraVariable, synthetic), device_(std::move(cameras)) {}

  // An environment whose frame wait is `wait` at least.
  CaptureEnvironment Environment(std::chrono::milliseconds wait = std::chrono::seconds(5)) {
    CaptureEnvironment environment;
    environment.Io = &device_;
    environment.Profile = &profile_;
    environment.MinimumFrameWait = wait;
    return environment;
  }

  // The settings file's text, or nullopt while it was never written.
  std::optional<std::string> SettingsText() const {
    return files_->Text(profile_.Resolve(kTavrelProfileFile));
  }
  void SetSettingsText(std::string text) { files_->SetText(profile_.Resolve(kTavrelProfileFile), std::move(text)); }

  FakeV4l2Device& Device() { return device_; }
  PrivateProfile& Profile() { return profile_; }

 private:
  ScopedEnvironmentVariable switch_;
  FakeV4l2Device device_;
  std::shared_ptr<MemoryProfileFiles> files_ = std::make_shared<MemoryProfileFiles>();
  PrivateProfile profile_{files_};
};

}  // namespace orvale::testing
