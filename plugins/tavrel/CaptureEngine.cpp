#include "plugins/tavrel/CaptureEngine.h"

#include <algorithm>
#include <new>

#include "plugins/tavrel/TavrelSettings.h"

namespace orvale {

namespace {

constexpr std::int8_t kOk = 0;
constexpr std::int8_t kNoIndex = -1;
constexpr std::int8_t kNoBuffers = -2;
constexpr std::int8_t kRegionTooLarge = -3;
constexpr std::int8_t kNoCamera = -4;
constexpr std::int8_t kRegionOutsideFrame = -6;
constexpr std::int32_t kExposing = 6;
constexpr std::int32_t kIdle = 7;

}  // namespace

CaptureEngine::CaptureEngine(CaptureEnvironment environment)
    : environment_(std::move(environment)),
      profile_(environment_.Profile != nullptr ? environment_.Profile : &TavrelProfile()),
      source_(environment_.Io != nullptr ? *environment_.Io : SystemV4l2Io()) {}

CaptureEngine::~CaptureEngine() { CloseDevice(); }

std::vector<std::string> CaptureEngine::EnumerateVideoDevices() { return source_.Enumerate(); }

std::int8_t CaptureEngine::OpenDevice(const std::int32_t* cameraIndex) {
  if (cameraIndex == nullptr) return kNoIndex;
  StopCamera();
  cameraIndex_ = *cameraIndex;
  if (!StartCamera(cameraIndex_)) {
    CloseDevice();
    return kNoCamera;
  }
  if (!AllocateBuffers()) {
    CloseDevice();
    return kNoBuffers;
  }
  return kOk;
}

bool CaptureEngine::StartCamera(std::int32_t cameraIndex) {
  std::string error;
  if (cameraIndex < 0 || !source_.Open(static_cast<std::size_t>(cameraIndex), error)) return false;
  // The saved format; a camera that refuses it keeps its own.
  const TavrelSettings settings = ReadSettings(*profile_, source_.CameraCount());
  source_.SetFormat(settings.DefaultWidth, settings.DefaultHeight, settings.DefaultFrameTime);
  const VideoFormat format = source_.Format();
  if (format.Width <= 0 || format.Height <= 0) return false;
  width_ = format.Width;
  height_ = format.Height;
  frameTime100ns_ = format.FrameTime100ns;
  // One live window for every camera the engine streams, so that switching cameras does
  // not put a new window above the dialog the user switches in.
  if (live_) {
    live_->FrameSize(width_, height_);
  } else if (environment_.LiveWindow) {
    live_ = environment_.LiveWindow(width_, height_);
  }
  handover_.Reset();
  return source_.Start(*this);
}

bool CaptureEngine::AllocateBuffers() {
  const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  try {
    for (auto* buffer : {&grey_, &red_, &green_, &blue_}) buffer->assign(count, 0);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void CaptureEngine::CloseDevice() {
  StopCamera();
  live_.reset();
}

void CaptureEngine::StopCamera() {
  // The thread ends first: nothing reaches the live window or the handover afterwards.
  source_.Stop();
  source_.Close();
  for (auto* buffer : {&grey_, &red_, &green_, &blue_}) std::vector<std::uint16_t>().swap(*buffer);
  width_ = height_ = 0;
  frameTime100ns_ = 0;
  exposing_ = false;
}

void CaptureEngine::GetSize(std::int32_t& width, std::int32_t& height) const {
  width = width_;
  height = height_;
}

void CaptureEngine::GetRegion(std::int32_t& x, std::int32_t& y, std::int32_t& width,
                              std::int32_t& height) const {
  x = regionX_;
  y = regionY_;
  width = regionWidth_;
  height = regionHeight_;
}

const std::uint16_t* CaptureEngine::GetBuffer() {
  const std::int16_t chosen = selected_;
  selected_ = -1;
  switch (chosen) {
    case 1:
      return red_.data();
    case 2:
      return green_.data();
    case 3:
      return blue_.data();
    default:
      return grey_.data();
  }
}

std::int16_t CaptureEngine::SelectBuffer(std::int16_t buffer) {
  selected_ = buffer;
  return 1;
}

std::int8_t CaptureEngine::StartExposure(double /*exposure*/, std::int32_t x, std::int32_t y,
                                         std::int32_t width, std::int32_t height, std::int16_t binX,
                                         std::int16_t binY) {
  // Negative places and sizes would index before the buffers.
  if (x < 0 || y < 0 || width < 0 || height < 0 || binX < 1 || binY < 1) return kRegionTooLarge;
  if (static_cast<std::int64_t>(width_) < static_cast<std::int64_t>(binX) * (static_cast<std::int64_t>(x) + width) ||
      static_cast<std::int64_t>(height_) < static_cast<std::int64_t>(binY) * (static_cast<std::int64_t>(y) + height))
    return kRegionTooLarge;
  regionX_ = x;
  regionY_ = y;
  regionWidth_ = width;
  regionHeight_ = height;
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  for (auto* buffer : {&grey_, &red_, &green_, &blue_})
    std::fill_n(buffer->begin(), std::min(count, buffer->size()), std::uint16_t{0});
  exposureStart_ = handover_.Sequence();
  exposing_ = true;
  return kOk;
}

void CaptureEngine::AbortExposure() { exposing_ = false; }

void CaptureEngine::GetStatus(std::int32_t& status, std::int16_t& extra) {
  extra = 0;
  if (exposing_ && handover_.Sequence() > exposureStart_) exposing_ = false;
  status = exposing_ ? kExposing : kIdle;
}

std::chrono::milliseconds CaptureEngine::FrameWait() const {
  const auto threeFrames = std::chrono::milliseconds(3 * frameTime100ns_ / 10000);
  return std::max(environment_.MinimumFrameWait, threeFrames);
}

bool CaptureEngine::WaitForExposure() {
  if (!exposing_) return true;
  return handover_.WaitForFrameAfter(exposureStart_, FrameWait()) == FrameHandover::Wait::Arrived;
}

std::int8_t CaptureEngine::ReadImage(std::int16_t& frames, std::int32_t& percent) {
  if (grey_.empty()) return kNoBuffers;
  if (width_ < regionX_ + regionWidth_ || height_ < regionY_ + regionHeight_) return kRegionOutsideFrame;
  // A frame of another size, or one shorter than its rows, is not read.
  const FramePtr frame = handover_.Newest();
  if (!frame || frame->Width != width_ || frame->Height != height_ || !frame->Complete())
    return kRegionOutsideFrame;
  AccumulateFrame(*frame);
  frames = 1;
  percent = 100;
  return kOk;
}

void CaptureEngine::AccumulateFrame(const VideoFrame& frame) {
  const std::size_t stride = frame.Stride();
  // Region rows count in the frame's memory order, which is bottom-up.
  for (std::int32_t r = 0; r < regionHeight_; ++r) {
    const std::uint8_t* pixel = frame.Bytes.data() +
                                static_cast<std::size_t>(regionY_ + r) * stride +
                                3 * static_cast<std::size_t>(regionX_);
    const std::size_t row = static_cast<std::size_t>(r) * static_cast<std::size_t>(regionWidth_);
    for (std::int32_t c = 0; c < regionWidth_; ++c, pixel += 3) {
      const std::size_t i = row + static_cast<std::size_t>(c);
      blue_[i] = static_cast<std::uint16_t>(blue_[i] + pixel[0]);
      green_[i] = static_cast<std::uint16_t>(green_[i] + pixel[1]);
      red_[i] = static_cast<std::uint16_t>(red_[i] + pixel[2]);
      grey_[i] = static_cast<std::uint16_t>(grey_[i] + (pixel[0] + pixel[1] + pixel[2]) / 3);
    }
  }
}

void CaptureEngine::OnFrame(const FramePtr& frame) {
  handover_.Publish(frame);
  if (live_) live_->PostFrame(frame);
}

void CaptureEngine::OnLost() { handover_.MarkLost(); }

}  // namespace orvale
