#pragma once
// Loading the board EEPROM into the live record and saving the configuration to it.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// Reads the 256 bytes. True when they were all read and carry the signature; otherwise
// the built-in image and identifier 0x319 replace them.
bool LoadBoardEeprom(Library& lib);

// Writes the configuration with the given values (-1 keeps the current one). The
// signature is invalidated first and written last, so an interrupted save loads as
// "not valid" rather than as a mix of old and new bytes.
std::int32_t SaveConfigToEeprom(Library& lib, std::int16_t key, std::int16_t value16,
                                std::int32_t value32, std::int32_t configId);

}  // namespace orvale::korrin
