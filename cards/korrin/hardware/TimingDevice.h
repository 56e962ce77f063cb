#pragma once
// The board's timing device behind local addresses 0xF000/0xF001: 5-bit registers of
// 16 bits, written inside a bracket of bit 1 of local register 0xFA00.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// Where the video-frequency pair goes (registers 19 and 20, after the timing table).
inline constexpr int kVidFreqRegister = 19;

void WriteTimingRegister(Library& lib, int reg, std::uint16_t value);

}  // namespace orvale::korrin
