#include "cards/korrin/core/KrgIni.h"

#include <charconv>
#include <limits>

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

std::uint32_t ReadUnsigned(const IniReader& read, const char* key, std::uint32_t fallback) {
  return Parse<std::uint32_t>(read(key, std::to_string(fallback)), fallback);
}

}  // namespace

KrgIniSettings ReadKrgIni(const IniReader& read) {
  KrgIniSettings ini;
  ini.offscreen = ReadUnsigned(read, "offscreen", 1) != 0;
  ini.onscreen = ReadUnsigned(read, "onscreen", 1) != 0;
  ini.vgaDepth = ReadUnsigned(read, "VGADepth", 0);
  ini.latency = Parse<std::int32_t>(read("latency", "-1"), -1);
  ini.burstThresh = ReadUnsigned(read, "BurstThresh", kDefaultBurstThresh);
  return ini;
}

}  // namespace orvale::korrin
