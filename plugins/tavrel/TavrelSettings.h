#pragma once
// The plug-in's own settings: the private profile file "OVVGPlugTavrel.ini" (beside the
// other Halvern settings of the user), section "CurrentVersion", decimal values.
#include <cstddef>
#include <cstdint>

namespace orvale {

class PrivateProfile;

inline constexpr char kTavrelProfileFile[] = "OVVGPlugTavrel.ini";
inline constexpr char kTavrelSection[] = "CurrentVersion";

struct TavrelSettings {
  std::int32_t SelectedDevice = 0;    // position in the camera list
  std::int32_t DefaultWidth = 640;    // the capture format asked for
  std::int32_t DefaultHeight = 480;
  std::int32_t DefaultFrameTime = 0;  // 100-ns units; 0 keeps the camera's
};

// Reads every value: its text, with the default when the key is missing or empty, taken
// by its leading decimal number (0 without one), limited to the key's range. A camera
// position that is not below `cameraCount` becomes 0.
TavrelSettings ReadSettings(const PrivateProfile& profile, std::size_t cameraCount);

// Writes the camera position; false when the file could not be written.
bool SaveSelectedDevice(PrivateProfile& profile, std::int32_t cameraIndex);

// The plug-in's settings file on disk.
PrivateProfile& TavrelProfile();

}  // namespace orvale
