#pragma once
// The exported I2C register access, with the decoder shadow: writes to the decoder
// (0x9C) keep the shadow current and spread contrast and brightness over the gain
// stages of the external inputs; reads of shadowed registers never touch the bus.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

inline constexpr std::uint8_t kAux8A = 0x8A;

std::int32_t SetI2cReg(Library& lib, std::int32_t device, std::int32_t reg, std::int32_t value);
// The value; 0 after a failed bus transfer; -1 when the board is not located or the
// request is out of range.
std::int32_t GetI2cReg(Library& lib, std::int32_t device, std::int32_t reg);

}  // namespace orvale::korrin
