#include "cards/korrin/session/KrgIni.h"

#include <charconv>
#include <string>

namespace orvale::korrin {
namespace {

template <class T>
T Parse(const std::string& text, T fallback) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return fallback;
  return value;
}

// Values are read into a 128-byte buffer, as the board's original library does.
std::string Read(const PrivateProfile& profile, const char* key, const std::string& fallback) {
  char text[128];
  profile.GetString(kKrgIniSection, key, fallback.c_str(), text, sizeof text, kKrgIniName);
  return text;
}

std::uint32_t ReadUnsigned(const PrivateProfile& profile, const char* key, std::uint32_t fallback) {
  return Parse<std::uint32_t>(Read(profile, key, std::to_string(fallback)), fallback);
}

}  // namespace

KrgIniSettings ReadKrgIni(const PrivateProfile& profile) {
  KrgIniSettings ini;
  ini.offscreen = ReadUnsigned(profile, "offscreen", 1) != 0;
  ini.onscreen = ReadUnsigned(profile, "onscreen", 1) != 0;
  ini.vgaDepth = ReadUnsigned(profile, "VGADepth", 0);
  ini.latency = Parse<std::int32_t>(Read(profile, "latency", "-1"), -1);
  ini.burstThresh = ReadUnsigned(profile, "BurstThresh", kDefaultBurstThresh);
  return ini;
}

}  // namespace orvale::korrin
