#pragma once
// Video input selection, the decoder's picture adjustments and the iris output.
#include <cstdint>

#include "cards/korrin/core/Library.h"

namespace orvale::korrin {

inline constexpr std::uint8_t kGainDevice = 0x4A;

// Writes the iris level to I2C 0x4A registers 240 and 241; -1 without an iris output.
std::int32_t SetIrisLevel(Library& lib, std::int32_t level);

}  // namespace orvale::korrin
