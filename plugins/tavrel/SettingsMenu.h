#pragma once
// The entries of the properties dialog's "Settings" menu, from what the camera lets the
// user set. The entries open nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/capture/CaptureDevice.h"

namespace orvale {

struct SettingsMenuEntry {
  std::int32_t Id;  // 5000, 5001, ... in the order added
  std::string Text;
};

inline constexpr std::int32_t kFirstSettingsCommand = 5000;

std::vector<SettingsMenuEntry> BuildSettingsMenu(const VideoCapabilities& capabilities);

}  // namespace orvale
