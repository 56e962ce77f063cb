#pragma once
// Direct access to board registers: local-bus registers, the timing device, and the
// SAA7146's own registers inside the mapped window.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// Kind 4: local-bus address. Other kinds fail.
std::int32_t GetMiscReg(Library& lib, std::int32_t kind, std::int32_t address);
// Kind 4: local-bus address and value; kind 1: timing-device register 0..31 and value.
std::int32_t SetMiscReg(Library& lib, std::int32_t kind, std::int32_t reg, std::int32_t value);

// The offset must be a multiple of 4 inside the register window; a bad one reads as
// 0xFFFFFFFF (-1) and is not written.
std::int32_t GetSaaRegister(Library& lib, std::int32_t offset);
std::int32_t SetSaaRegister(Library& lib, std::int32_t offset, std::uint32_t value);

}  // namespace orvale::korrin
