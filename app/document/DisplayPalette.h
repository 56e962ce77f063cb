#pragma once
// The colour table an 8-bit interferogram is shown with: grey or black-to-red, and with
// automatic contrast stretching over the bytes actually used.
#include <cstdint>
#include <span>

#include "platform/gdi/Dib.h"

namespace orvale {

// Reshapes the colour table of `info`; nothing happens unless it is an 8-bit bitmap.
// With `autoStretch` the bytes of `pixels` from `firstIndex` on give the range that is
// spread over the whole ramp. `firstIndex` kNotGivenLong means the start of the array
// and is replaced by 0; an index outside the array scans nothing.
void SetDisplayPalette(bool redDisplay, bool autoStretch, std::span<const std::uint8_t> pixels,
                       gdi::BitmapInfo& info, std::int32_t& firstIndex);

}  // namespace orvale
