#pragma once
// The camera driver behind the plug-in object: opens the chosen camera with the saved
// format and streams it, keeps the newest frame, and on request turns it into 16-bit
// grey and colour buffers, from which the plug-in writes the caller's bitmap. Its
// operations and status codes are those of the camera-driver interface the plug-in was
// written against; status 0 is success:
//   -1 no camera index given          -2 no buffers (could not be allocated)
//   -3 the region does not fit         -4 the camera could not be opened and started
//   -6 the region does not fit the frame, or the frame is not whole
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/capture/CaptureDevice.h"
#include "platform/capture/VideoSource.h"
#include "plugins/tavrel/FrameHandover.h"

namespace orvale {

class PrivateProfile;

// The running picture shown to the user (the live-video window).
class LiveDisplay {
 public:
  virtual ~LiveDisplay() = default;
  // Called on the camera's thread with each frame.
  virtual void PostFrame(const FramePtr& frame) = 0;
  // Another camera streams into the same display, with frames of this size.
  virtual void FrameSize(std::int32_t width, std::int32_t height) = 0;
};
using LiveDisplayFactory =
    std::function<std::unique_ptr<LiveDisplay>(std::int32_t width, std::int32_t height)>;

// What the engine runs on; tests replace the pieces.
struct CaptureEnvironment {
  V4l2Io* Io = nullptr;                    // null: the system's calls
  PrivateProfile* Profile = nullptr;       // null: the plug-in's settings file
  // The shortest wait for a frame; the wait is at least three frame times long.
  std::chrono::milliseconds MinimumFrameWait{5000};
  LiveDisplayFactory LiveWindow;           // empty: no live window
};

class CaptureEngine final : private FrameSink {
 public:
  explicit CaptureEngine(CaptureEnvironment environment);
  ~CaptureEngine() override;
  CaptureEngine(const CaptureEngine&) = delete;
  CaptureEngine& operator=(const CaptureEngine&) = delete;

  // --- Cameras and settings ---
  // The names of the cameras present now, in the order positions count.
  std::vector<std::string> EnumerateVideoDevices();
  PrivateProfile& Profile() const { return *profile_; }
  std::int32_t CameraIndex() const { return cameraIndex_; }
  VideoCapabilities Capabilities() const { return source_.Capabilities(); }

  // --- The driver's operations ---
  // Closes the camera in use, then opens camera `*cameraIndex`, sets the saved format,
  // shows the live window (the one already open, when there is one) and starts
  // streaming. Any failure closes the live window and leaves the size 0 x 0.
  std::int8_t OpenDevice(const std::int32_t* cameraIndex);
  // Stops streaming, frees the buffers, closes the camera and the live window.
  void CloseDevice();
  // The negotiated frame size; 0 x 0 while no camera is open.
  void GetSize(std::int32_t& width, std::int32_t& height) const;
  void GetRegion(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) const;
  // The buffer chosen by SelectBuffer (1 red, 2 green, 3 blue, otherwise grey), whose
  // region width x height values hold the last frame read; the choice goes back to grey.
  const std::uint16_t* GetBuffer();
  std::int16_t SelectBuffer(std::int16_t buffer);
  // Starts a one-frame exposure of the region (x, y, width, height) at the binning;
  // clears the region of the four buffers. The exposure time is not used.
  std::int8_t StartExposure(double exposure, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, std::int16_t binX, std::int16_t binY);
  void AbortExposure();
  // Status 6 while the exposure waits for a frame that came after it began, else 7.
  void GetStatus(std::int32_t& status, std::int16_t& extra);
  // Reads the newest frame's region into the buffers.
  std::int8_t ReadImage(std::int16_t& frames, std::int32_t& percent);

  // Waits for the exposure's frame, as long as the frame wait allows; false when the
  // camera is lost or no frame came in time.
  bool WaitForExposure();
  std::chrono::milliseconds FrameWait() const;

 private:
  void OnFrame(const FramePtr& frame) override;
  void OnLost() override;
  // OpenDevice's steps; false at the first that fails.
  bool StartCamera(std::int32_t cameraIndex);
  // Stops and closes the camera and frees the buffers; the live window stays.
  void StopCamera();
  bool AllocateBuffers();
  void AccumulateFrame(const VideoFrame& frame);

  CaptureEnvironment environment_;
  PrivateProfile* profile_;
  VideoSource source_;
  FrameHandover handover_;
  std::unique_ptr<LiveDisplay> live_;

  std::int32_t cameraIndex_ = -1;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int64_t frameTime100ns_ = 0;
  std::vector<std::uint16_t> grey_, red_, green_, blue_;
  std::int32_t regionX_ = 0, regionY_ = 0, regionWidth_ = 0, regionHeight_ = 0;
  bool exposing_ = false;
  std::uint64_t exposureStart_ = 0;  // the handover's count when the exposure began
  std::int16_t selected_ = -1;
};

}  // namespace orvale
