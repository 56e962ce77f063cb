#pragma once
// The crop limits of a video standard (2, no signal, gives the 525-line ones) and the
// horizontal start of the active picture in digitizer samples.
#include <cstdint>

#include "cards/melvex/zelvo32.h"

namespace orvale::melvex {

inline constexpr int k525Line = 0;
inline constexpr int k625Line = 1;
inline constexpr int kNoSignal = 2;

inline ZlpLimits LimitsOf(int standard) {
  const bool pal = standard == k625Line;
  return ZlpLimits{static_cast<std::uint16_t>(pal ? 950 : 780), 3200, 14, 1,
                   static_cast<std::uint16_t>(pal ? 610 : 510), 2400, 14, 1};
}

inline int HorizontalBase(int standard) { return standard == k625Line ? 176 : 126; }

}  // namespace orvale::melvex
