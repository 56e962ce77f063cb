#pragma once
// KR_SetPalette: the library's grey palette, palettes selected into device contexts, and
// the board's output lookup tables.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// Local-bus registers of the output lookup-table RAM (ours): the table number, then 256
// data writes, all while bit 0 of 0xF900 is clear.
inline constexpr std::uint32_t kLutSelect = 0xF400;
inline constexpr std::uint32_t kLutData = 0xF500;

std::int32_t SetPalette(Library& lib, std::int32_t operation, std::intptr_t argument);
// Deletes the library's grey palette (clean-up).
void DeleteGreyPalette(Library& lib);

}  // namespace orvale::korrin
