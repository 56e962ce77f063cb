#pragma once
// The external switch (trigger input). On boards with the on-board controller its level
// is the controller's switch byte (command 6); on the others we read it from input pin 0
// of the SAA7146's general-purpose port (bit 2 of register 0xE0): the board's original
// description does not say where they take it from.
#include <cstdint>
#include <optional>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

std::optional<int> SwitchLevel(Library& lib);
// Waits until the level differs from `level`; false after `timeoutMs`.
bool WaitSwitchLeaves(Library& lib, int level, std::uint32_t timeoutMs);
// 0 once the switch has left level 0, -1 when `timeoutMs` passed first (a time-out of 0
// polls one round).
std::int32_t CheckSwitch(Library& lib, std::int32_t word, std::int32_t timeoutMs);

}  // namespace orvale::korrin
