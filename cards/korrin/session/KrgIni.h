#pragma once
// The library's settings file "krg.ini", section "config".
#include <cstdint>

#include "platform/profile/PrivateProfile.h"

namespace orvale::korrin {

inline constexpr char kKrgIniName[] = "krg.ini";
inline constexpr char kKrgIniSection[] = "config";
inline constexpr std::uint32_t kDefaultBurstThresh = 0x10101210;

struct KrgIniSettings {
  bool offscreen = true;
  bool onscreen = true;
  std::uint32_t vgaDepth = 0;  // 0: probe the display
  std::int32_t latency = -1;   // negative: leave the latency timer unless it is below 8
  std::uint32_t burstThresh = kDefaultBurstThresh;
};

// The values the library reads at locate time. "latency" is signed, the other keys are
// unsigned decimal; a value that is not a number, or out of range, gives the key's
// default.
KrgIniSettings ReadKrgIni(const PrivateProfile& profile);

}  // namespace orvale::korrin
