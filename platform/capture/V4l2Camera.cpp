#include "platform/capture/V4l2Camera.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/eventfd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <span>

#include "platform/capture/PixelConversion.h"

namespace orvale {

namespace {

constexpr int kOpenFlags = O_RDWR | O_NONBLOCK | O_CLOEXEC;
// Bounds for the enumeration loops, so that a confused driver cannot keep them going.
constexpr std::uint32_t kMaxListed = 64;

std::uint32_t DeviceCaps(const v4l2_capability& cap) {
  return (cap.capabilities & V4L2_CAP_DEVICE_CAPS) != 0 ? cap.device_caps : cap.capabilities;
}

std::string CardName(const v4l2_capability& cap) {
  const auto* card = reinterpret_cast<const char*>(cap.card);
  return std::string(card, strnlen(card, sizeof cap.card));
}

std::string ErrnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

// The errors after which a device is gone for good.
bool DeviceGone(int error) { return error != EAGAIN && error != EINTR; }

}  // namespace

std::optional<std::string> ProbeV4l2Camera(V4l2Io& io, const std::string& path) {
  const int fd = io.Open(path, kOpenFlags);
  if (fd < 0) return std::nullopt;
  v4l2_capability cap{};
  std::optional<std::string> name;
  if (io.Ioctl(fd, VIDIOC_QUERYCAP, &cap) == 0 && (DeviceCaps(cap) & V4L2_CAP_VIDEO_CAPTURE) != 0)
    name = CardName(cap);
  io.Close(fd);
  return name;
}

std::unique_ptr<V4l2Camera> V4l2Camera::Open(V4l2Io& io, const std::string& path,
                                             std::string& error) {
  const int fd = io.Open(path, kOpenFlags);
  if (fd < 0) {
    error = ErrnoText("Cannot open " + path);
    return nullptr;
  }
  std::unique_ptr<V4l2Camera> camera(new V4l2Camera(io, fd));
  if (!camera->Negotiate(error)) return nullptr;
  return camera;
}

V4l2Camera::~V4l2Camera() {
  Stop();
  io_.Close(fd_);
}

bool V4l2Camera::Negotiate(std::string& error) {
  v4l2_capability cap{};
  if (io_.Ioctl(fd_, VIDIOC_QUERYCAP, &cap) != 0) {
    error = ErrnoText("The device does not answer");
    return false;
  }
  const std::uint32_t caps = DeviceCaps(cap);
  if ((caps & V4L2_CAP_VIDEO_CAPTURE) == 0 || (caps & V4L2_CAP_STREAMING) == 0) {
    error = "The device is no streaming video capture device";
    return false;
  }

  std::optional<std::size_t> bestRank;
  for (std::uint32_t i = 0; i < kMaxListed; ++i) {
    v4l2_fmtdesc desc{};
    desc.index = i;
    desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (io_.Ioctl(fd_, VIDIOC_ENUM_FMT, &desc) != 0) break;
    const auto rank = PixelFormatRank(desc.pixelformat);
    if (!rank) continue;
    offered_.push_back(desc.pixelformat);
    if (!bestRank || *rank < *bestRank) bestRank = rank;
  }
  if (!bestRank) {
    error = "The device offers no picture format that can be used";
    return false;
  }
  pixelFormat_ = kPixelFormatPreference[*bestRank];

  v4l2_format format{};
  format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  if (io_.Ioctl(fd_, VIDIOC_G_FMT, &format) != 0) {
    error = ErrnoText("The device does not tell its format");
    return false;
  }
  if (format.fmt.pix.pixelformat != pixelFormat_) {
    format.fmt.pix.pixelformat = pixelFormat_;
    format.fmt.pix.field = V4L2_FIELD_ANY;
    format.fmt.pix.bytesperline = 0;
    format.fmt.pix.sizeimage = 0;
    if (io_.Ioctl(fd_, VIDIOC_S_FMT, &format) != 0) {
      error = ErrnoText("The device refuses its picture format");
      return false;
    }
  }
  if (!ReadFormat()) {
    error = "The device does not keep its picture format";
    return false;
  }
  ReadFrameTime();
  return true;
}

bool V4l2Camera::ReadFormat() {
  v4l2_format format{};
  format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  const bool usable = io_.Ioctl(fd_, VIDIOC_G_FMT, &format) == 0 &&
                      format.fmt.pix.pixelformat == pixelFormat_ && format.fmt.pix.width > 0 &&
                      format.fmt.pix.height > 0 && format.fmt.pix.width <= 16384 &&
                      format.fmt.pix.height <= 16384;
  if (!usable) {
    width_ = height_ = 0;
    return false;
  }
  width_ = static_cast<std::int32_t>(format.fmt.pix.width);
  height_ = static_cast<std::int32_t>(format.fmt.pix.height);
  bytesPerLine_ = format.fmt.pix.bytesperline;
  return true;
}

void V4l2Camera::ReadFrameTime() {
  v4l2_streamparm parm{};
  parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  frameTime100ns_ = 0;
  if (io_.Ioctl(fd_, VIDIOC_G_PARM, &parm) != 0) return;
  const v4l2_fract& t = parm.parm.capture.timeperframe;
  if ((parm.parm.capture.capability & V4L2_CAP_TIMEPERFRAME) != 0 && t.denominator != 0)
    frameTime100ns_ = static_cast<std::int64_t>(t.numerator) * 10000000 / t.denominator;
}

bool V4l2Camera::SetFormat(std::int32_t width, std::int32_t height, std::int64_t frameTime100ns) {
  if (streaming_ || width <= 0 || height <= 0 || frameTime100ns < 0) return false;
  bool ok = true;
  v4l2_format previous{};
  previous.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  ok = io_.Ioctl(fd_, VIDIOC_G_FMT, &previous) == 0;
  if (ok) {
    v4l2_format wanted = previous;
    wanted.fmt.pix.width = static_cast<std::uint32_t>(width);
    wanted.fmt.pix.height = static_cast<std::uint32_t>(height);
    wanted.fmt.pix.pixelformat = pixelFormat_;
    wanted.fmt.pix.field = V4L2_FIELD_ANY;
    wanted.fmt.pix.bytesperline = 0;
    wanted.fmt.pix.sizeimage = 0;
    ok = io_.Ioctl(fd_, VIDIOC_S_FMT, &wanted) == 0;
    // A driver that answered with a format we cannot read gets its own one back.
    if (!ReadFormat()) {
      ok = false;
      io_.Ioctl(fd_, VIDIOC_S_FMT, &previous);
      ReadFormat();
    }
  }
  if (frameTime100ns != 0 && frameTime100ns <= 0xFFFFFFFFLL) {
    v4l2_streamparm parm{};
    parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    parm.parm.capture.timeperframe.numerator = static_cast<std::uint32_t>(frameTime100ns);
    parm.parm.capture.timeperframe.denominator = 10000000;
    if (io_.Ioctl(fd_, VIDIOC_S_PARM, &parm) != 0) ok = false;
  }
  ReadFrameTime();
  return ok;
}

VideoFormat V4l2Camera::Format() const { return {width_, height_, frameTime100ns_}; }

VideoCapabilities V4l2Camera::Capabilities() const {
  VideoCapabilities caps;
  v4l2_queryctrl control{};
  control.id = V4L2_CTRL_FLAG_NEXT_CTRL;
  for (std::uint32_t i = 0; i < kMaxListed && io_.Ioctl(fd_, VIDIOC_QUERYCTRL, &control) == 0; ++i) {
    if ((control.flags & V4L2_CTRL_FLAG_DISABLED) == 0) {
      caps.UserControls = true;
      break;
    }
    control.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
  }

  caps.SeveralFormats = offered_.size() > 1;
  v4l2_frmsizeenum size{};
  size.index = 0;
  size.pixel_format = pixelFormat_;
  if (!caps.SeveralFormats && io_.Ioctl(fd_, VIDIOC_ENUM_FRAMESIZES, &size) == 0) {
    if (size.type != V4L2_FRMSIZE_TYPE_DISCRETE) {
      caps.SeveralFormats = true;
    } else {
      size.index = 1;
      caps.SeveralFormats = io_.Ioctl(fd_, VIDIOC_ENUM_FRAMESIZES, &size) == 0;
    }
  }

  v4l2_input input{};
  input.index = 1;
  caps.SeveralInputs = io_.Ioctl(fd_, VIDIOC_ENUMINPUT, &input) == 0;
  v4l2_tuner tuner{};
  tuner.index = 0;
  caps.Tuner = io_.Ioctl(fd_, VIDIOC_G_TUNER, &tuner) == 0;
  return caps;
}

bool V4l2Camera::MapBuffers() {
  v4l2_requestbuffers request{};
  request.count = kBufferCount;
  request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  request.memory = V4L2_MEMORY_MMAP;
  if (io_.Ioctl(fd_, VIDIOC_REQBUFS, &request) != 0) return false;
  if (request.count < 2 || request.count > 32) {
    ReleaseBuffers();
    return false;
  }
  for (std::uint32_t i = 0; i < request.count; ++i) {
    v4l2_buffer buffer{};
    buffer.index = i;
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    void* address = MAP_FAILED;
    if (io_.Ioctl(fd_, VIDIOC_QUERYBUF, &buffer) == 0 && buffer.length > 0)
      address = io_.Mmap(buffer.length, fd_, static_cast<off_t>(buffer.m.offset));
    if (address == MAP_FAILED) {
      ReleaseBuffers();
      return false;
    }
    buffers_.push_back({address, buffer.length});
    if (io_.Ioctl(fd_, VIDIOC_QBUF, &buffer) != 0) {
      ReleaseBuffers();
      return false;
    }
  }
  return true;
}

void V4l2Camera::ReleaseBuffers() {
  for (const MappedBuffer& buffer : buffers_) io_.Munmap(buffer.Address, buffer.Length);
  buffers_.clear();
  v4l2_requestbuffers none{};
  none.count = 0;
  none.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  none.memory = V4L2_MEMORY_MMAP;
  io_.Ioctl(fd_, VIDIOC_REQBUFS, &none);
}

bool V4l2Camera::Start(FrameSink& sink) {
  if (streaming_ || width_ <= 0 || height_ <= 0) return false;
  if (!MapBuffers()) return false;
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  if (wakeFd_ < 0 || io_.Ioctl(fd_, VIDIOC_STREAMON, &type) != 0) {
    if (wakeFd_ >= 0) ::close(wakeFd_);
    wakeFd_ = -1;
    ReleaseBuffers();
    return false;
  }
  streaming_ = true;
  thread_ = std::thread([this, &sink] { RunStreamLoop(sink, [&] { Stream(sink); }); });
  return true;
}

void V4l2Camera::Stop() {
  if (!streaming_) return;
  ::eventfd_write(wakeFd_, 1);
  thread_.join();
  int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  io_.Ioctl(fd_, VIDIOC_STREAMOFF, &type);
  ReleaseBuffers();
  ::close(wakeFd_);
  wakeFd_ = -1;
  streaming_ = false;
}

void V4l2Camera::Stream(FrameSink& sink) {
  for (;;) {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const int ready = io_.Poll(fds, 2, kPollTimeoutMs);
    if (ready > 0 && (fds[1].revents & POLLIN) != 0) return;  // Stop
    if (ready < 0 || (ready > 0 && (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)) {
      sink.OnLost();
      return;
    }
    if (ready > 0 && (fds[0].revents & POLLIN) != 0 && !TakeBuffer(sink)) {
      sink.OnLost();
      return;
    }
  }
}

bool V4l2Camera::TakeBuffer(FrameSink& sink) {
  v4l2_buffer buffer{};
  buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  buffer.memory = V4L2_MEMORY_MMAP;
  if (io_.Ioctl(fd_, VIDIOC_DQBUF, &buffer) != 0) return !DeviceGone(errno);
  if (buffer.index >= buffers_.size()) return false;

  const MappedBuffer& mapped = buffers_[buffer.index];
  const bool whole =
      IsCompressedPixelFormat(pixelFormat_)
          ? buffer.bytesused > 0
          : buffer.bytesused >= MinimumBufferBytes(pixelFormat_, width_, height_, bytesPerLine_);
  // A damaged or short buffer is dropped; the camera goes on.
  if ((buffer.flags & V4L2_BUF_FLAG_ERROR) == 0 && whole && buffer.bytesused <= mapped.Length) {
    std::shared_ptr<VideoFrame> frame = pool_.Take(width_, height_);
    const std::span<const std::uint8_t> bytes(static_cast<const std::uint8_t*>(mapped.Address),
                                              buffer.bytesused);
    if (ConvertCameraBuffer(pixelFormat_, bytes, width_, height_, bytesPerLine_, *frame))
      sink.OnFrame(frame);
  }
  return io_.Ioctl(fd_, VIDIOC_QBUF, &buffer) == 0 || !DeviceGone(errno);
}

}  // namespace orvale
