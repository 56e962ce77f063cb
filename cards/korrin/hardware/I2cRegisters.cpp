#include "cards/korrin/hardware/I2cRegisters.h"

#include <algorithm>

#include "cards/korrin/hardware/Decoder.h"
#include "cards/korrin/hardware/I2cBus.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/VideoConfig.h"

namespace orvale::korrin {
namespace {

constexpr int kContrast = 19;
constexpr int kBrightness = 25;
constexpr int kFirstGain = 53;
constexpr int kLastGain = 58;
constexpr int kStoredGain = 59;
constexpr int kGainRedirect = 189;  // decoder gain register r lives at 0x4A register r + 189

bool ValidRegister(std::int32_t reg) { return reg == kNoRegister || (reg >= 0 && reg <= 255); }

// One decoder register to the bus; the gain registers go to their device instead.
bool WriteDecoderBus(Library& lib, int reg, std::uint8_t value) {
  I2cBus bus(lib.Live().Registers(), lib.GetClock());
  if (reg >= kFirstGain && reg <= kLastGain) return bus.Write(kGainDevice, reg + kGainRedirect, value);
  return bus.Write(kDecoderWrite, reg, value);
}

bool WriteGain(Library& lib, int reg, int value) {
  const auto v = static_cast<std::uint8_t>(std::clamp(value, 0, 63));
  DecoderShadow(lib.Settings())[reg] = v;
  return WriteDecoderBus(lib, reg, v);
}

// Contrast and brightness of the external inputs live in gain stages: type 4 has one
// pair per input group, the other types three colour stages with per-source offsets.
bool SpreadGain(Library& lib, int reg, std::uint8_t value) {
  BoardSettings& s = lib.Settings();
  const int source = EffectiveSource(s.video);
  const bool contrast = reg == kContrast;
  if (s.video.type == 4) {
    int out;
    if (contrast) {
      const int g = value / 2;
      out = g > 62 ? 0 : std::min(63 - g, 63);
    } else {
      const int g = value / 4;
      out = g < 1 ? 0 : std::min(g, 63);
    }
    const int first = contrast ? (source == 0 ? 0x39 : 0x38) : (source == 0 ? 0x36 : 0x37);
    bool ok = WriteGain(lib, first, out);
    if (s.misc.acquisitionMode == 2) {
      const int other = contrast ? (first == 0x39 ? 0x38 : 0x39) : (first == 0x36 ? 0x37 : 0x36);
      ok = WriteGain(lib, other, out) && ok;
    }
    return ok;
  }
  const int standard = StandardIndex(s.video.standard);
  const SourceGainOffsets& offsets = s.decoder.offsets[standard][source];
  int sum;
  const std::array<std::int8_t, 3>* colour;
  int first;
  if (contrast) {
    sum = s.decoder.sourceContrast[standard][source] = 63 - value / 2;
    colour = &offsets.contrast;
    first = 56;
  } else {
    sum = s.decoder.sourceBrightness[standard][source] = value / 4;
    colour = &offsets.brightness;
    first = 53;
  }
  bool ok = true;
  for (int c = 0; c < 3; ++c) {
    sum += (*colour)[c];
    ok = WriteGain(lib, first + c, sum) && ok;
  }
  return ok;
}

bool SetDecoderRegister(Library& lib, int reg, std::uint8_t value) {
  BoardSettings& s = lib.Settings();
  if (reg < 0 || reg >= kDecoderTableSize) {
    return I2cBus(lib.Live().Registers(), lib.GetClock()).Write(kDecoderWrite, reg, value);
  }
  DecoderTable& shadow = DecoderShadow(s);
  shadow[reg] = value;
  if (s.video.type > 1 && (reg == kContrast || reg == kBrightness)) return SpreadGain(lib, reg, value);
  if (reg == 39 || reg == 42 || reg == 43) shadow[kStoredGain] = value & 0x3F;
  if (reg == kStoredGain) {
    // The gain of the current input, keeping the two high bits the decoder holds (as
    // its shadow knows them).
    const int gain = GainRegister(s.video.type, EffectiveSource(s.video));
    shadow[gain] = static_cast<std::uint8_t>((shadow[gain] & 0xC0) | (value & 0x3F));
    return WriteDecoderBus(lib, gain, shadow[gain]);
  }
  return WriteDecoderBus(lib, reg, value);
}

}  // namespace

std::int32_t SetI2cReg(Library& lib, std::int32_t device, std::int32_t reg, std::int32_t value) {
  RegisterWindow* regs = lib.LocatedRegisters();
  if (regs == nullptr || device < 0 || device > 255 || !ValidRegister(reg)) return kFail;
  const auto byte = static_cast<std::uint8_t>(value);
  if (device == kDecoderWrite && reg != kNoRegister) return StatusOf(SetDecoderRegister(lib, reg, byte));
  if (device == kAux8A) {
    if (reg == kNoRegister) return kFail;
    if (const auto position = Aux8AShadowPosition(reg)) DecoderShadow(lib.Settings())[*position] = byte;
  }
  return StatusOf(I2cBus(*regs, lib.GetClock()).Write(static_cast<std::uint8_t>(device), reg, byte));
}

std::int32_t GetI2cReg(Library& lib, std::int32_t device, std::int32_t reg) {
  RegisterWindow* regs = lib.LocatedRegisters();
  if (regs == nullptr || device < 0 || device > 255 || !ValidRegister(reg)) return kFail;
  const DecoderTable& shadow = DecoderShadow(lib.Settings());
  if (device == kDecoderWrite && reg >= 0 && reg < kDecoderTableSize) return shadow[reg];
  if (device == kAux8A && reg != 255) {
    if (const auto position = Aux8AShadowPosition(reg)) return shadow[*position];
  }
  const auto value = I2cBus(*regs, lib.GetClock()).Read(static_cast<std::uint8_t>(device | 1), reg);
  return value.value_or(0);
}

}  // namespace orvale::korrin
