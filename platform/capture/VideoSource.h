#pragma once
// The cameras of this machine and the one in use: the V4L2 capture devices, in the order
// of their nodes, followed by the synthetic cameras when they are switched on
// (SyntheticCameraConfig.h). Open a camera by its position in the last enumeration, set
// its format, then start it with a sink that receives its frames on the camera's thread.
//
//   VideoSource source;
//   auto names = source.Enumerate();
//   if (source.Open(0, error)) { source.SetFormat(640, 480, 0); source.Start(sink); }
//   ...
//   source.Stop();
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/capture/CaptureDevice.h"
#include "platform/capture/SyntheticCameraConfig.h"
#include "platform/capture/V4l2Io.h"

namespace orvale {

class VideoSource {
 public:
  explicit VideoSource(V4l2Io& io = SystemV4l2Io());
  ~VideoSource();
  VideoSource(const VideoSource&) = delete;
  VideoSource& operator=(const VideoSource&) = delete;

  // The names of the cameras present now; the list Open counts in.
  std::vector<std::string> Enumerate();
  // How many cameras the last enumeration found.
  std::size_t CameraCount() const { return cameras_ ? cameras_->size() : 0; }
  // Closes the camera in use, then opens camera `index` of the last enumeration (of a
  // fresh one when there was none). False, with `error`, when it cannot be opened.
  bool Open(std::size_t index, std::string& error);
  bool IsOpen() const { return device_ != nullptr; }
  // Stops and closes the camera in use.
  void Close();

  // Of the open camera (CaptureDevice.h); without one SetFormat and Start fail and the
  // format is 0 x 0.
  bool SetFormat(std::int32_t width, std::int32_t height, std::int64_t frameTime100ns);
  VideoFormat Format() const;
  VideoCapabilities Capabilities() const;
  bool Start(FrameSink& sink);
  void Stop();

 private:
  struct Entry {
    std::string Name;
    std::string Node;           // a V4L2 device's node
    std::int32_t Synthetic = -1;  // a synthetic camera's index
  };

  V4l2Io& io_;
  std::optional<std::vector<Entry>> cameras_;
  std::optional<SyntheticCameraConfig> synthetic_;
  std::unique_ptr<CaptureDevice> device_;
};

}  // namespace orvale
