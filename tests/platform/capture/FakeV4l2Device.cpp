#include "tests/platform/capture/FakeV4l2Device.h"

#include <sys/eventfd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvale::testing {

namespace {

constexpr std::uint32_t kOffsetStep = 0x100000;

std::uint32_t BytesPerLine(std::uint32_t pixelFormat, std::uint32_t width) {
  switch (pixelFormat) {
    case V4L2_PIX_FMT_BGR24:
    case V4L2_PIX_FMT_RGB24:
      return 3 * width;
    case V4L2_PIX_FMT_YUYV:
      return 2 * width;
    case V4L2_PIX_FMT_GREY:
      return width;
    default:
      return 0;  // compressed
  }
}

}  // namespace

FakeV4l2Device::FakeV4l2Device(std::vector<FakeCamera> cameras) : cameras_(std::move(cameras)) {
  kick_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

FakeV4l2Device::~FakeV4l2Device() { ::close(kick_); }

void FakeV4l2Device::Kick() { ::eventfd_write(kick_, 1); }

void FakeV4l2Device::Deliver(std::vector<std::uint8_t> bytes, std::uint32_t flags,
                             std::optional<std::uint32_t> bytesUsed) {
  {
    std::lock_guard lock(mutex_);
    pending_.push_back({std::move(bytes), flags, bytesUsed});
    Fill();
  }
  Kick();
}

void FakeV4l2Device::Lose(int error) {
  {
    std::lock_guard lock(mutex_);
    lostError_ = error;
  }
  Kick();
}

FakeV4l2Device::Record FakeV4l2Device::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

int FakeV4l2Device::OpenDescriptors() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(open_.size());
}

std::size_t FakeV4l2Device::Pending() const {
  std::lock_guard lock(mutex_);
  return pending_.size() + done_.size();
}

void FakeV4l2Device::Fill() {
  while (!pending_.empty() && !queued_.empty()) {
    Buffer& buffer = buffers_[queued_.front()];
    Picture& picture = pending_.front();
    const std::size_t n = std::min(picture.Bytes.size(), buffer.Memory.size());
    std::memcpy(buffer.Memory.data(), picture.Bytes.data(), n);
    buffer.BytesUsed = picture.BytesUsed.value_or(static_cast<std::uint32_t>(n));
    buffer.Flags = picture.Flags;
    done_.push_back(queued_.front());
    queued_.erase(queued_.begin());
    pending_.erase(pending_.begin());
  }
}

std::vector<std::string> FakeV4l2Device::VideoNodes() {
  std::lock_guard lock(mutex_);
  std::vector<std::string> nodes;
  for (const FakeCamera& camera : cameras_) nodes.push_back(camera.Node);
  return nodes;
}

int FakeV4l2Device::Fail(int error) {
  errno = error;
  return -1;
}

int FakeV4l2Device::Open(const std::string& path, int /*flags*/) {
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < cameras_.size(); ++i) {
    if (cameras_[i].Node != path) continue;
    if (cameras_[i].OpenError != 0) return Fail(cameras_[i].OpenError);
    ++calls_.Opens;
    open_[nextFd_] = i;
    return nextFd_++;
  }
  return Fail(ENOENT);
}

int FakeV4l2Device::Close(int fd) {
  std::lock_guard lock(mutex_);
  if (open_.erase(fd) == 0) return Fail(EBADF);
  ++calls_.Closes;
  return 0;
}

FakeCamera* FakeV4l2Device::CameraOf(int fd) {
  const auto found = open_.find(fd);
  return found == open_.end() ? nullptr : &cameras_[found->second];
}

std::uint32_t FakeV4l2Device::CurrentFormat(const FakeCamera& camera) const {
  return camera.PixelFormat != 0 ? camera.PixelFormat : camera.Formats.at(0);
}

void FakeV4l2Device::FillFormat(const FakeCamera& camera, v4l2_format& format) const {
  v4l2_pix_format& pix = format.fmt.pix;
  pix = {};
  pix.width = camera.Width;
  pix.height = camera.Height;
  pix.pixelformat = CurrentFormat(camera);
  pix.field = V4L2_FIELD_NONE;
  const std::uint32_t line = BytesPerLine(pix.pixelformat, camera.Width);
  pix.bytesperline = line == 0 ? 0 : line + camera.ExtraBytesPerLine;
  pix.sizeimage = line == 0 ? camera.Width * camera.Height * 2 : pix.bytesperline * camera.Height;
}

int FakeV4l2Device::Ioctl(int fd, unsigned long request, void* argument) {
  std::lock_guard lock(mutex_);
  FakeCamera* camera = CameraOf(fd);
  if (camera == nullptr) return Fail(EBADF);
  if (lostError_ > 0 && request != VIDIOC_DQBUF && request != VIDIOC_STREAMOFF &&
      request != VIDIOC_REQBUFS)
    return Fail(lostError_);
  return Control(*camera, request, argument);
}

int FakeV4l2Device::Control(FakeCamera& camera, unsigned long request, void* argument) {
  switch (request) {
    case VIDIOC_QUERYCAP: {
      auto& cap = *static_cast<v4l2_capability*>(argument);
      cap = {};
      std::memcpy(cap.driver, "fake", 4);
      std::memcpy(cap.card, camera.Card.data(), std::min(camera.Card.size(), sizeof cap.card));
      cap.capabilities = camera.DeviceCaps | V4L2_CAP_DEVICE_CAPS;
      cap.device_caps = camera.DeviceCaps;
      return 0;
    }
    case VIDIOC_ENUM_FMT: {
      auto& desc = *static_cast<v4l2_fmtdesc*>(argument);
      if (desc.index >= camera.Formats.size()) return Fail(EINVAL);
      desc.pixelformat = camera.Formats[desc.index];
      return 0;
    }
    case VIDIOC_G_FMT:
      FillFormat(camera, *static_cast<v4l2_format*>(argument));
      return 0;
    case VIDIOC_S_FMT: {
      if (!buffers_.empty()) return Fail(EBUSY);
      auto& format = *static_cast<v4l2_format*>(argument);
      calls_.SizesAsked.emplace_back(format.fmt.pix.width, format.fmt.pix.height);
      if (camera.SetFormatError != 0) return Fail(camera.SetFormatError);
      const auto& formats = camera.Formats;
      // As drivers do: a format not offered becomes the first one offered.
      camera.PixelFormat = std::find(formats.begin(), formats.end(), format.fmt.pix.pixelformat) != formats.end()
                               ? format.fmt.pix.pixelformat
                               : formats.at(0);
      if (!camera.FixedSize) {
        camera.Width = std::clamp<std::uint32_t>(format.fmt.pix.width, 16, 4096);
        camera.Height = std::clamp<std::uint32_t>(format.fmt.pix.height, 16, 4096);
      }
      FillFormat(camera, format);
      return 0;
    }
    case VIDIOC_G_PARM: {
      auto& parm = *static_cast<v4l2_streamparm*>(argument);
      parm.parm.capture.capability = V4L2_CAP_TIMEPERFRAME;
      parm.parm.capture.timeperframe = frameTime_;
      return 0;
    }
    case VIDIOC_S_PARM: {
      auto& parm = *static_cast<v4l2_streamparm*>(argument);
      calls_.FrameTimeSet = parm.parm.capture.timeperframe;
      frameTime_ = parm.parm.capture.timeperframe;
      return 0;
    }
    case VIDIOC_QUERYCTRL: {
      if (!camera.Controls) return Fail(EINVAL);
      auto& control = *static_cast<v4l2_queryctrl*>(argument);
      control.id = V4L2_CID_BRIGHTNESS;
      control.flags = 0;
      return 0;
    }
    case VIDIOC_ENUM_FRAMESIZES: {
      auto& size = *static_cast<v4l2_frmsizeenum*>(argument);
      if (size.index >= camera.FrameSizes) return Fail(EINVAL);
      size.type = V4L2_FRMSIZE_TYPE_DISCRETE;
      size.discrete = {camera.Width, camera.Height};
      return 0;
    }
    case VIDIOC_ENUMINPUT:
      return static_cast<v4l2_input*>(argument)->index < camera.Inputs ? 0 : Fail(EINVAL);
    case VIDIOC_G_TUNER:
      return camera.Tuner ? 0 : Fail(EINVAL);
    case VIDIOC_REQBUFS: {
      auto& request = *static_cast<v4l2_requestbuffers*>(argument);
      buffers_.clear();
      queued_.clear();
      done_.clear();
      if (request.count == 0) return 0;
      v4l2_format format{};
      FillFormat(camera, format);
      request.count = camera.BuffersGranted;
      buffers_.resize(request.count);
      for (Buffer& buffer : buffers_) buffer.Memory.assign(format.fmt.pix.sizeimage, 0);
      return 0;
    }
    case VIDIOC_QUERYBUF: {
      auto& buffer = *static_cast<v4l2_buffer*>(argument);
      if (buffer.index >= buffers_.size()) return Fail(EINVAL);
      buffer.length = static_cast<std::uint32_t>(buffers_[buffer.index].Memory.size());
      buffer.m.offset = buffer.index * kOffsetStep;
      return 0;
    }
    case VIDIOC_QBUF: {
      auto& buffer = *static_cast<v4l2_buffer*>(argument);
      if (buffer.index >= buffers_.size()) return Fail(EINVAL);
      queued_.push_back(buffer.index);
      Fill();
      return 0;
    }
    case VIDIOC_DQBUF: {
      if (lostError_ > 0) return Fail(lostError_);
      if (done_.empty()) return Fail(EAGAIN);
      auto& buffer = *static_cast<v4l2_buffer*>(argument);
      buffer.index = done_.front();
      done_.erase(done_.begin());
      buffer.bytesused = buffers_[buffer.index].BytesUsed;
      buffer.flags = buffers_[buffer.index].Flags;
      ++calls_.Dequeues;
      return 0;
    }
    case VIDIOC_STREAMON:
      if (camera.StreamOnError != 0) return Fail(camera.StreamOnError);
      ++calls_.StreamOns;
      return 0;
    case VIDIOC_STREAMOFF:
      ++calls_.StreamOffs;
      return 0;
    default:
      return Fail(ENOTTY);
  }
}

void* FakeV4l2Device::Mmap(std::size_t length, int fd, off_t offset) {
  std::lock_guard lock(mutex_);
  FakeCamera* camera = CameraOf(fd);
  const std::size_t index = static_cast<std::size_t>(offset) / kOffsetStep;
  if (camera == nullptr || camera->MmapFails || index >= buffers_.size() ||
      length != buffers_[index].Memory.size()) {
    errno = EINVAL;
    return MAP_FAILED;
  }
  ++calls_.Maps;
  buffers_[index].Mapped = true;
  return buffers_[index].Memory.data();
}

int FakeV4l2Device::Munmap(void* address, std::size_t /*length*/) {
  std::lock_guard lock(mutex_);
  for (Buffer& buffer : buffers_) {
    if (buffer.Memory.data() == address && buffer.Mapped) {
      buffer.Mapped = false;
      ++calls_.Unmaps;
      return 0;
    }
  }
  return Fail(EINVAL);
}

int FakeV4l2Device::Poll(pollfd* fds, nfds_t count, int /*timeoutMs*/) {
  for (;;) {
    std::vector<pollfd> real;
    int ready = 0;
    {
      std::lock_guard lock(mutex_);
      for (nfds_t i = 0; i < count; ++i) {
        fds[i].revents = 0;
        if (CameraOf(fds[i].fd) == nullptr) {
          real.push_back({fds[i].fd, fds[i].events, 0});
          continue;
        }
        if (lostError_ == 0) fds[i].revents = POLLERR;
        else if (lostError_ > 0 || !done_.empty()) fds[i].revents = POLLIN;
        if (fds[i].revents != 0) ++ready;
      }
    }
    if (ready > 0) return ready;
    // Nothing for the camera yet: block on its own descriptors and on our kick.
    real.push_back({kick_, POLLIN, 0});
    if (::poll(real.data(), real.size(), -1) < 0 && errno != EINTR) return -1;
    if ((real.back().revents & POLLIN) != 0) {
      eventfd_t drained = 0;
      ::eventfd_read(kick_, &drained);
    }
    for (std::size_t r = 0; r + 1 < real.size(); ++r) {
      if (real[r].revents == 0) continue;
      for (nfds_t i = 0; i < count; ++i)
        if (fds[i].fd == real[r].fd) fds[i].revents = real[r].revents;
      ++ready;
    }
    if (ready > 0) return ready;
  }
}

}  // namespace orvale::testing
