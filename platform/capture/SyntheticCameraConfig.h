#pragma once
// The switch of the synthetic cameras: the environment variable ORVALE_CAPTURE_SYNTHETIC,
// read each time cameras are enumerated, so one process can change it. Unset, no
// synthetic camera exists. Its value is a list of "name=value" items separated by ";",
// every item optional:
//
//   cameras=2           how many ("Synthetic Camera 1", "Synthetic Camera 2"), 1..16
//   size=641x480        the frame size, 16..4096 each way
//   interval=33         milliseconds between frames, 1..10000
//   pattern=fringes     the fringes of a known wavefront (SyntheticPattern.h), or "ramp":
//                       blue = x, green = y, red = the frame's number, each mod 256
//   fault=stall@3       after 3 good frames: "stall" (no more frames), "lost" (the camera
//                       goes away), "short" (frames too short for their size), "resize"
//                       (frames of another size); "busy" alone: the camera cannot be opened
//   settings=2          camera 2 lets the user set its controls (brightness and the like);
//                       the others, and every camera without this item, offer nothing
//
// "1" or an empty value switches the defaults on, "0" leaves the cameras off. An item that
// cannot be read is left out.
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvale {

inline constexpr char kSyntheticCameraVariable[] = "ORVALE_CAPTURE_SYNTHETIC";

struct SyntheticCameraConfig {
  enum class Pattern { Fringes, Ramp };
  enum class Fault { None, Busy, Stall, Lost, Short, Resize };

  std::int32_t Cameras = 1;
  std::int32_t Width = 640;
  std::int32_t Height = 480;
  std::int32_t IntervalMs = 33;
  Pattern Picture = Pattern::Fringes;
  Fault Failure = Fault::None;
  std::uint64_t GoodFrames = 0;  // frames delivered before the fault
  std::int32_t CameraWithSettings = 0;  // its number (1-based); 0: none

  static constexpr std::int32_t kMaxCameras = 16;
};

SyntheticCameraConfig ParseSyntheticCameraConfig(std::string_view text);
// The configuration the variable gives now; nullopt when it is not set or "0".
std::optional<SyntheticCameraConfig> SyntheticCamerasFromEnvironment();

}  // namespace orvale
