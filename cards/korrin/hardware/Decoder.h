#pragma once
// The video decoder (I2C 0x9C/0x9D): its register sets per standard and type, the one
// in force (the decoder shadow), and the per-source gain offsets from the EEPROM.
#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

inline constexpr std::uint8_t kDecoderWrite = 0x9C;
inline constexpr std::uint8_t kDecoderRead = 0x9D;

// Built-in register sets for every (standard, type).
void FillDecoderDefaults(Library& lib);
// Takes the per-source values of the EEPROM image into the register sets.
void InstallDecoder(Library& lib);
// The EEPROM image's per-source values from the live settings.
void StoreDecoderValues(Library& lib, EepromImage& image);

// The register set of the current selection: the decoder shadow.
DecoderTable& DecoderShadow(BoardSettings& settings);
// Patches the current set for the source and writes its 53 registers to the decoder.
void LoadDecoder(Library& lib);

// Signal present on the current selection; and whether it has 50 fields a second.
bool SignalPresent(Library& lib);
bool FiftyFieldSignal(Library& lib);

}  // namespace orvale::korrin
