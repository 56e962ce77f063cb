#include "platform/capture/VideoSource.h"

#include "platform/capture/SyntheticCamera.h"
#include "platform/capture/V4l2Camera.h"

namespace orvale {

VideoSource::VideoSource(V4l2Io& io) : io_(io) {}

VideoSource::~VideoSource() { Close(); }

std::vector<std::string> VideoSource::Enumerate() {
  std::vector<Entry> cameras;
  for (const std::string& node : io_.VideoNodes()) {
    if (auto name = ProbeV4l2Camera(io_, node)) cameras.push_back({*name, node, -1});
  }
  synthetic_ = SyntheticCamerasFromEnvironment();
  if (synthetic_) {
    for (std::int32_t k = 0; k < synthetic_->Cameras; ++k)
      cameras.push_back({SyntheticCamera::Name(k), {}, k});
  }
  std::vector<std::string> names;
  for (const Entry& camera : cameras) names.push_back(camera.Name);
  cameras_ = std::move(cameras);
  return names;
}

bool VideoSource::Open(std::size_t index, std::string& error) {
  Close();
  if (!cameras_) Enumerate();
  if (index >= cameras_->size()) {
    error = "There is no camera at position " + std::to_string(index);
    return false;
  }
  const Entry& camera = (*cameras_)[index];
  if (camera.Synthetic >= 0) {
    device_ = SyntheticCamera::Open(*synthetic_, camera.Synthetic, error);
  } else {
    device_ = V4l2Camera::Open(io_, camera.Node, error);
  }
  return device_ != nullptr;
}

void VideoSource::Close() { device_.reset(); }

bool VideoSource::SetFormat(std::int32_t width, std::int32_t height, std::int64_t frameTime100ns) {
  return device_ != nullptr && device_->SetFormat(width, height, frameTime100ns);
}

VideoFormat VideoSource::Format() const { return device_ ? device_->Format() : VideoFormat{}; }

VideoCapabilities VideoSource::Capabilities() const {
  return device_ ? device_->Capabilities() : VideoCapabilities{};
}

bool VideoSource::Start(FrameSink& sink) { return device_ != nullptr && device_->Start(sink); }

void VideoSource::Stop() {
  if (device_) device_->Stop();
}

}  // namespace orvale
