#pragma once
// The trigger output that grabs pulse: a general-purpose pin on plain boards, an output
// of the on-board controller, or a bit of local register 0xFC00.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// Drives the output from bit 0 of `value`.
bool WriteTriggerOutput(Library& lib, std::uint32_t value);
// The level last driven (bit 0).
std::uint32_t TriggerOutputState(Library& lib);

}  // namespace orvale::korrin
