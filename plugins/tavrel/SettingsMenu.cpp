#include "plugins/tavrel/SettingsMenu.h"

namespace orvale {

std::vector<SettingsMenuEntry> BuildSettingsMenu(const VideoCapabilities& capabilities) {
  std::vector<SettingsMenuEntry> entries;
  const auto add = [&entries](bool offered, const char* text) {
    if (offered)
      entries.push_back({kFirstSettingsCommand + static_cast<std::int32_t>(entries.size()), text});
  };
  add(capabilities.UserControls, "Video Capture Filter...");
  add(capabilities.SeveralFormats, "Video Capture Pin...");
  add(capabilities.SeveralInputs, "Video Crossbar...");
  add(capabilities.Tuner, "TV Tuner...");
  return entries;
}

}  // namespace orvale
