#pragma once
// A V4L2 camera: negotiation of a pixel format the frames can be made from, memory-mapped
// streaming on a thread of its own, and conversion of each buffer into a frame. Every
// system call goes through V4l2Io.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/capture/CaptureDevice.h"
#include "platform/capture/V4l2Io.h"

namespace orvale {

// The name (the driver's "card" text) of the node at `path` when it is a video capture
// device; nullopt for any other node (metadata, output, codecs) or one that cannot be
// opened.
std::optional<std::string> ProbeV4l2Camera(V4l2Io& io, const std::string& path);

class V4l2Camera final : public CaptureDevice {
 public:
  // Opens the node and settles a pixel format the frames can be made from; null, with
  // `error` set, when it cannot be opened, is no streaming capture device, or offers no
  // such format.
  static std::unique_ptr<V4l2Camera> Open(V4l2Io& io, const std::string& path, std::string& error);
  ~V4l2Camera() override;
  V4l2Camera(const V4l2Camera&) = delete;
  V4l2Camera& operator=(const V4l2Camera&) = delete;

  bool SetFormat(std::int32_t width, std::int32_t height, std::int64_t frameTime100ns) override;
  VideoFormat Format() const override;
  VideoCapabilities Capabilities() const override;
  bool Start(FrameSink& sink) override;
  void Stop() override;

  std::uint32_t PixelFormat() const { return pixelFormat_; }
  // How long the streaming thread waits in poll before it looks again (a stopped
  // camera is woken at once whatever this is).
  static constexpr int kPollTimeoutMs = 200;
  static constexpr std::uint32_t kBufferCount = 4;

 private:
  struct MappedBuffer {
    void* Address = nullptr;
    std::size_t Length = 0;
  };

  V4l2Camera(V4l2Io& io, int fd) : io_(io), fd_(fd) {}
  bool Negotiate(std::string& error);
  // Reads the current format into the members; false when it is not the chosen one.
  bool ReadFormat();
  void ReadFrameTime();
  bool MapBuffers();
  void ReleaseBuffers();
  void Stream(FrameSink& sink);
  // Takes one filled buffer; false when the camera is gone.
  bool TakeBuffer(FrameSink& sink);

  V4l2Io& io_;
  int fd_ = -1;
  int wakeFd_ = -1;
  std::uint32_t pixelFormat_ = 0;
  std::vector<std::uint32_t> offered_;  // the formats the device offers that we take
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::size_t bytesPerLine_ = 0;
  std::int64_t frameTime100ns_ = 0;
  std::vector<MappedBuffer> buffers_;
  bool streaming_ = false;
  std::thread thread_;
  FramePool pool_;
};

}  // namespace orvale
