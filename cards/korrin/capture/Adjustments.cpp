#include <algorithm>

#include "cards/korrin/hardware/Decoder.h"
#include "cards/korrin/hardware/I2cRegisters.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/VideoConfig.h"

namespace orvale::korrin {
namespace {

constexpr int kBrightnessRegister = 25;

bool ValidIndex(std::int32_t index) { return index >= 0 && index < kAdjustments; }

bool Supported(int index, int type) {
  return type >= 0 && type < kVideoTypes && AdjustmentOf(index).supported[type];
}

// Adjustments 4, 5 and 10 are the brightness offsets of the three colour stages.
int OffsetColour(int index) { return index == 4 ? 0 : index == 5 ? 1 : 2; }
bool IsOffset(int index) { return index == 4 || index == 5 || index == 10; }

std::int8_t& SourceOffset(BoardSettings& s, int index) {
  return s.decoder.offsets[StandardIndex(s.video.standard)][EffectiveSource(s.video)]
      .brightness[OffsetColour(index)];
}

// A register value as the caller sees it.
std::int32_t Reverse(int index, std::uint8_t r) {
  switch (index) {
    case 0:
    case 2:
      return (r >> 2) & 0x3F;
    case 1:
    case 3:
      return (r >> 1) & 0x3F;
    case 6:
      return (r & 0x53 ? r & 3 : 0) * 2;
    case 7:
    case 8:
      return (r >> 7) & 1;
    default:
      return r;
  }
}

}  // namespace

std::int32_t SetVideoAdjustment(Library& lib, std::int32_t index, std::int32_t value) {
  if (!ValidIndex(index) || !lib.Live().Located()) return kFail;
  BoardSettings& s = lib.Settings();
  if (!Supported(index, s.video.type)) return 1;
  const int reg = *AdjustmentOf(index).reg;
  const std::uint8_t current = DecoderShadow(s)[reg];
  std::uint8_t r;
  switch (index) {
    case 0:
    case 2:
      r = static_cast<std::uint8_t>(value << 2);
      break;
    case 1:
    case 3:
      r = s.misc.colourMode ? static_cast<std::uint8_t>((s.video.type < 2 ? 0x80 : 0) | ((value * 2) & 0x7F))
                            : static_cast<std::uint8_t>((value & 0x3F) * 2);
      break;
    case 4:
    case 5:
    case 10:
      SourceOffset(s, index) = static_cast<std::int8_t>(std::clamp(value - 32, -128, 127));
      return SetI2cReg(lib, 0x9C, kBrightnessRegister, DecoderShadow(s)[kBrightnessRegister]);
    case 6:
      r = static_cast<std::uint8_t>((current & 0xAC) | ((value >> 1) & 3) | (value & 6 ? 0x50 : 0));
      break;
    case 7:
    case 8:
      r = static_cast<std::uint8_t>((current & 0x7F) | (value != 0 ? 0x80 : 0));
      break;
    default:
      r = static_cast<std::uint8_t>(value);
      break;
  }
  return SetI2cReg(lib, 0x9C, reg, r);
}

std::int32_t GetVideoAdjustment(Library& lib, std::int32_t index) {
  if (!ValidIndex(index)) return kFail;
  BoardSettings& s = lib.Settings();
  if (!Supported(index, s.video.type)) return 0;
  if (IsOffset(index)) return SourceOffset(s, index) + 32;
  return Reverse(index, DecoderShadow(s)[*AdjustmentOf(index).reg]);
}

std::int32_t GetStoredVideoAdjustment(Library& lib, std::int32_t standard, std::int32_t type,
                                      std::int32_t index) {
  if (!ValidIndex(index) || standard < 0 || standard > 1 || type < 0 || type >= kVideoTypes) {
    return kFail;
  }
  if (!Supported(index, type)) return 0;
  const BoardSettings& s = lib.Settings();
  const DecoderTable& stored = s.decoder.stored[standard][type];
  if (IsOffset(index)) {
    return s.frame.eeprom.offsets[standard][EffectiveSource(s.video)].brightness[OffsetColour(index)] +
           32;
  }
  if (index == 11) return stored[59] & 0x3F;
  return Reverse(index, stored[*AdjustmentOf(index).reg]);
}

}  // namespace orvale::korrin
