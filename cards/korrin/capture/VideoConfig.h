#pragma once
// Video input selection, the decoder's picture adjustments, the video-frequency pair
// and the iris output.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

inline constexpr std::uint8_t kGainDevice = 0x4A;

// Selects type (0..4), standard (0: 640 x 480 family, else 760 x 570) and source
// (0..5; with type 2 and a non-zero fourth selector, the source counts from 3). Fails,
// changing nothing, for a selection outside the tables or a type the board lacks.
std::int32_t SetVideoConfig(Library& lib, std::int32_t type, std::int32_t standard,
                            std::int32_t source, std::int32_t fourth);

// 0, 1 when the type has no such adjustment, -1 for an index outside 0..11.
std::int32_t SetVideoAdjustment(Library& lib, std::int32_t index, std::int32_t value);
// The value, 0 when the type has no such adjustment, -1 for an index outside 0..11.
std::int32_t GetVideoAdjustment(Library& lib, std::int32_t index);
// The same, read from the register sets as the EEPROM gave them.
std::int32_t GetStoredVideoAdjustment(Library& lib, std::int32_t standard, std::int32_t type,
                                      std::int32_t index);

// The bridge's input format for the selection (registers 0x54 and 0x50, uploaded).
void ProgramInputFormat(Library& lib);

std::int32_t SetVidFreq(Library& lib, std::int16_t first, std::int16_t second);
// Writes the iris level to I2C 0x4A registers 240 and 241; -1 without an iris output.
std::int32_t SetIrisLevel(Library& lib, std::int32_t level);

}  // namespace orvale::korrin
