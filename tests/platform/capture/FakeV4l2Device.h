#pragma once
// V4L2 cameras in the test process, behind the backend's system-call seam: the test
// describes the devices, hands them pictures to deliver and injects the errors real
// drivers give. The streaming thread's poll blocks until the fake has a buffer for it,
// the device is lost, or the camera's wake-up descriptor is signalled; it never returns
// on a time-out, so a Stop that returns proves the wake.
#include <linux/videodev2.h>

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/capture/V4l2Io.h"

namespace orvale::testing {

struct FakeCamera {
  std::string Node = "/dev/video0";
  std::string Card = "Fake Camera";
  std::uint32_t DeviceCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
  std::vector<std::uint32_t> Formats = {V4L2_PIX_FMT_YUYV};
  std::uint32_t PixelFormat = 0;  // the current one; 0: the first of Formats
  std::uint32_t Width = 640;
  std::uint32_t Height = 480;
  bool FixedSize = false;         // S_FMT keeps the size
  std::uint32_t ExtraBytesPerLine = 0;
  bool Controls = false;
  std::uint32_t Inputs = 1;
  bool Tuner = false;
  std::uint32_t FrameSizes = 1;
  std::uint32_t BuffersGranted = 4;  // what REQBUFS answers with

  // Injected errors (errno values; 0: none).
  int OpenError = 0;
  int SetFormatError = 0;
  int StreamOnError = 0;
  bool MmapFails = false;
};

class FakeV4l2Device final : public V4l2Io {
 public:
  explicit FakeV4l2Device(std::vector<FakeCamera> cameras);
  ~FakeV4l2Device() override;

  // --- The test's side ---
  // A picture for the streaming camera: the bytes it finds in the next buffer, with
  // `flags` and, when given, a bytesused of its own.
  void Deliver(std::vector<std::uint8_t> bytes, std::uint32_t flags = 0,
               std::optional<std::uint32_t> bytesUsed = std::nullopt);
  // The device goes away: the next dequeue fails with `error`, or, for 0, poll reports
  // POLLERR.
  void Lose(int error);
  // What the camera asked for.
  struct Record {
    int Opens = 0;
    int Closes = 0;
    int StreamOns = 0;
    int StreamOffs = 0;
    int Maps = 0;
    int Unmaps = 0;
    int Dequeues = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> SizesAsked;  // S_FMT
    std::optional<v4l2_fract> FrameTimeSet;                            // S_PARM
  };
  Record Calls() const;
  // Descriptors open now, and buffers the camera holds mapped.
  int OpenDescriptors() const;
  // Pictures delivered but not yet dequeued by the camera.
  std::size_t Pending() const;

  // --- V4l2Io ---
  std::vector<std::string> VideoNodes() override;
  int Open(const std::string& path, int flags) override;
  int Close(int fd) override;
  int Ioctl(int fd, unsigned long request, void* argument) override;
  void* Mmap(std::size_t length, int fd, off_t offset) override;
  int Munmap(void* address, std::size_t length) override;
  int Poll(pollfd* fds, nfds_t count, int timeoutMs) override;

 private:
  struct Picture {
    std::vector<std::uint8_t> Bytes;
    std::uint32_t Flags = 0;
    std::optional<std::uint32_t> BytesUsed;
  };
  struct Buffer {
    std::vector<std::uint8_t> Memory;
    std::uint32_t BytesUsed = 0;
    std::uint32_t Flags = 0;
    bool Mapped = false;
  };

  FakeCamera* CameraOf(int fd);
  std::uint32_t CurrentFormat(const FakeCamera& camera) const;
  void FillFormat(const FakeCamera& camera, v4l2_format& format) const;
  int Fail(int error);
  int Control(FakeCamera& camera, unsigned long request, void* argument);
  // Moves pending pictures into queued buffers.
  void Fill();
  void Kick();

  mutable std::mutex mutex_;
  std::vector<FakeCamera> cameras_;
  std::map<int, std::size_t> open_;  // descriptor -> camera
  int nextFd_ = 1000;
  Record calls_;
  v4l2_fract frameTime_{1, 30};
  std::vector<Buffer> buffers_;
  std::vector<std::uint32_t> queued_;  // by the camera, to be filled
  std::vector<std::uint32_t> done_;    // filled, to be dequeued
  std::vector<Picture> pending_;
  int lostError_ = -1;  // -1: present; 0: POLLERR; else the dequeue's errno
  int kick_ = -1;       // wakes a poll when something changes
};

}  // namespace orvale::testing
