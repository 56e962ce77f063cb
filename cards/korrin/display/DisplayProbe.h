#pragma once
// What the library knows of the display: its depth (from "VGADepth", or probed) and the
// resolution code reported by KR_GetVGAMode.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// The display depth in bits. A display that reports 16 bits is asked for the nearest
// colour of 256 greens: 64 distinct answers mean 5:6:5, otherwise it is 5:5:5.
std::int32_t ProbeDisplayDepth(Library& lib);

// (bits << 8) | resolution code; 0 at once when `flag` is not 0.
std::int32_t GetVgaMode(Library& lib, std::int32_t flag);

}  // namespace orvale::korrin
