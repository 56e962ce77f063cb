#pragma once
// The capture gate: with the video DMA on, the board passes fields to it or holds them
// back. Controller boards with configuration bit 0x20 gate through the controller
// (command 8), the others through the SAA7146's general-purpose port (register 0xE0,
// 0x500000 open, 0x400000 closed). Gated capture (misc parameter 16) starts and stops
// live video at the gate; camera timing opens it for the fields of one exposure.
#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// False when the controller did not take the command.
bool GateCapture(Library& lib, bool open);

}  // namespace orvale::korrin
