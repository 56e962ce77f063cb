#pragma once
// Locating, configuring, initialising and cleaning up the live board.
#include <cstdint>

#include "cards/korrin/core/Library.h"

namespace orvale::korrin {

std::int32_t Locate(Library& lib);
// 2 when the board's EEPROM was valid, 1 when defaults were used, -1 when locating failed.
std::int32_t LoadConfig(Library& lib);
std::int32_t Init(Library& lib);
std::int32_t Cleanup(Library& lib);
// Cleans up a board record that is not the live one (a multi-board copy).
void CleanupOther(Library& lib, BoardState& board);

// Runs the busy-wait calibration: the mask delay of the auto-window.
std::int32_t CalibrateBusyWait(Clock& clock);

}  // namespace orvale::korrin
