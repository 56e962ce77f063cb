#include "plugins/tavrel/TavrelSettings.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/profile/PrivateProfile.h"

namespace orvale {

namespace {

std::int32_t ReadValue(const PrivateProfile& profile, const char* key, std::int32_t fallback,
                       std::int32_t low, std::int32_t high) {
  char text[64] = {};
  const std::string defaultText = std::to_string(fallback);
  profile.GetString(kTavrelSection, key, defaultText.c_str(), text, sizeof text, kTavrelProfileFile);
  if (text[0] == '\0') return fallback;
  // The leading decimal number, as the C library reads one; huge values saturate.
  const long long value = std::strtoll(text, nullptr, 10);
  return static_cast<std::int32_t>(std::max<long long>(std::min<long long>(value, high), low));
}

}  // namespace

TavrelSettings ReadSettings(const PrivateProfile& profile, std::size_t cameraCount) {
  TavrelSettings settings;
  settings.SelectedDevice = ReadValue(profile, "SelectedDevice", 0, 0, 16);
  if (static_cast<std::size_t>(settings.SelectedDevice) >= cameraCount) settings.SelectedDevice = 0;
  settings.DefaultWidth = ReadValue(profile, "DefaultWidth", 640, 16, 4096);
  settings.DefaultHeight = ReadValue(profile, "DefaultHeight", 480, 16, 4096);
  settings.DefaultFrameTime = ReadValue(profile, "DefaultFrameTime", 0, 0, 10000000);
  return settings;
}

bool SaveSelectedDevice(PrivateProfile& profile, std::int32_t cameraIndex) {
  return profile.WriteString(kTavrelSection, "SelectedDevice", std::to_string(cameraIndex).c_str(),
                             kTavrelProfileFile);
}

PrivateProfile& TavrelProfile() {
  static PrivateProfile profile;
  return profile;
}

}  // namespace orvale
