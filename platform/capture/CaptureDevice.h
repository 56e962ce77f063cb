#pragma once
// What every camera backend offers once a camera is open: its format, what it can be
// set to, and streaming of frames to a sink on a thread of its own.
#include <cstdint>

#include "platform/capture/VideoFrame.h"

namespace orvale {

struct VideoFormat {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int64_t FrameTime100ns = 0;  // time per frame in 100-ns units; 0 when unknown
};

// What a camera lets the user set beyond its format: the entries of its settings menu.
struct VideoCapabilities {
  bool UserControls = false;    // brightness, contrast and the like
  bool SeveralFormats = false;  // more than one pixel format or frame size
  bool SeveralInputs = false;   // a choice of video inputs
  bool Tuner = false;
};

// Receives the frames of a running camera, on the camera's thread.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // Each good frame, in the order the camera delivered them.
  virtual void OnFrame(const FramePtr& frame) = 0;
  // Once, when the camera went away; no frame follows.
  virtual void OnLost() = 0;
};

// Runs a camera thread's streaming loop. A failure inside it (memory running out for a
// frame, in the camera or in a sink) ends the stream as a lost camera would: waiting
// grabs wake and fail, and the program goes on.
template <typename Loop>
void RunStreamLoop(FrameSink& sink, Loop&& loop) noexcept {
  try {
    loop();
  } catch (...) {
    sink.OnLost();
  }
}

class CaptureDevice {
 public:
  virtual ~CaptureDevice() = default;
  // Asks for a frame size and, unless 0, a time per frame (100-ns units). Every step
  // that fails keeps the camera's own setting; true when all of them took.
  virtual bool SetFormat(std::int32_t width, std::int32_t height, std::int64_t frameTime100ns) = 0;
  virtual VideoFormat Format() const = 0;
  virtual VideoCapabilities Capabilities() const = 0;
  // Starts streaming into `sink`, which must outlive Stop. False when streaming could
  // not start (nothing runs then).
  virtual bool Start(FrameSink& sink) = 0;
  // Wakes and joins the camera's thread; no call reaches the sink afterwards.
  virtual void Stop() = 0;
};

}  // namespace orvale
