// Digitizer set-up: input and signal type, the video standard, picture adjustments,
// gamma, the flash and raw register access.
#include <cmath>

#include "cards/melvex/DigitizerLimits.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/PictureMaps.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

namespace {
constexpr std::uint32_t kStatusRegister = 0;
constexpr std::uint32_t kOutputFormatRegister = 18;
constexpr std::uint32_t kControlRegister = 11;
constexpr std::uint32_t kBrightnessRegister = 10;
constexpr std::uint32_t kHueRegister = 15;
constexpr std::uint8_t kSignalPresent = 0x80;
constexpr std::uint8_t k625LineBit = 0x10;
constexpr std::uint8_t kSignalTypeBits[3] = {0x00, 0x40, 0x80};
constexpr std::uint8_t kWideLineBit = 0x20;
constexpr std::size_t kRegisterBlockBytes = 24;
constexpr std::uint32_t kReadableRegisters = 27;

inline std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }
}  // namespace

std::int32_t ZelvoLibrary::ZLP_videoConfig(std::int32_t input, std::int32_t signalType,
                                           std::int32_t* standard) {
  ExportScope scope(*this, export_name::ZLP_videoConfig);
  CardSession* session = Current();
  if (session != nullptr) {
    session->configured = false;
    session->ClearSnapFlags();
  }
  if (session == nullptr) return Fail(code::kNotInitialised);
  if (standard == nullptr) return Fail(code::kBadPointer);
  const int inputByte = input & 0xFF;
  if (inputByte >= 2 || signalType < 0 || signalType > 2) return Fail(code::kOutOfRange);

  std::uint8_t status = 0;
  if (!ReadRegister(kStatusRegister, status)) return Fail(code::kLostContact);
  session->videoStandard = (status & k625LineBit) ? k625Line : k525Line;
  *standard = (status & kSignalPresent) ? session->videoStandard : kNoSignal;
  if (!WriteRegisters(kStatusRegister, {Byte(status & 0x7F), Byte((inputByte << 5) | 0x58), 0})) {
    return Fail(code::kLostContact);
  }
  std::uint8_t control = 0;
  if (!ReadRegister(kControlRegister, control) ||
      !WriteRegisters(kControlRegister,
                      {Byte(kSignalTypeBits[signalType] | (control & 0x07) | kWideLineBit)})) {
    return Fail(code::kLostContact);
  }
  // The analogue delays follow the session's standard, which the snap limits use too.
  const bool pal = session->videoStandard == k625Line;
  if (!WriteRegisters(kOutputFormatRegister, {6}) || !WriteRegisters(22, {0}) ||
      !WriteRegisters(24, {Byte(pal ? 0x80 : 0x68), Byte(pal ? 0x72 : 0x5D),
                           Byte(signalType == 1 ? 0x80 : 0x82)})) {
    return Fail(code::kLostContact);
  }
  session->configured = true;
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_testSignal(std::int32_t* standard) {
  ExportScope scope(*this, export_name::ZLP_testSignal);
  if (standard == nullptr) return Fail(code::kBadPointer);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  *standard = k525Line;
  std::uint8_t status = 0;
  if (!ReadRegister(kStatusRegister, status)) return Fail(code::kLostContact);
  *standard = (status & kSignalPresent) ? ((status & k625LineBit) ? k625Line : k525Line) : kNoSignal;
  if (!WriteRegisters(kStatusRegister, {Byte(status & 0x7F)})) return Fail(code::kLostContact);
  return code::kOk;
}

std::int32_t ZelvoLibrary::SetSignedRegister(std::uint32_t reg, std::int8_t value) {
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  return WriteRegisters(reg, {Byte(value)}) ? code::kOk : Fail(code::kLostContact);
}

std::int32_t ZelvoLibrary::GetSignedRegister(std::uint32_t reg, std::int8_t* value) {
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  if (value == nullptr) return Fail(code::kBadPointer);
  std::uint8_t byte = 0;
  if (!ReadRegister(reg, byte)) return Fail(code::kLostContact);
  *value = static_cast<std::int8_t>(byte);
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_setBrightness(std::int8_t value) {
  ExportScope scope(*this, export_name::ZLP_setBrightness);
  return SetSignedRegister(kBrightnessRegister, value);
}

std::int32_t ZelvoLibrary::ZLP_setHue(std::int8_t value) {
  ExportScope scope(*this, export_name::ZLP_setHue);
  return SetSignedRegister(kHueRegister, value);
}

std::int32_t ZelvoLibrary::ZLP_setContrast(std::int8_t value) {
  ExportScope scope(*this, export_name::ZLP_setContrast);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  const int v = ContrastRegister(value);
  std::uint8_t control = 0;
  if (!ReadRegister(kControlRegister, control) ||
      !WriteRegisters(kControlRegister, {Byte((control & 0xFB) | ((v >> 6) & 0xFC)), Byte(v)})) {
    return Fail(code::kLostContact);
  }
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_setSaturation(std::int8_t value) {
  ExportScope scope(*this, export_name::ZLP_setSaturation);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  const int u = SaturationURegister(value);
  const int v = SaturationVRegister(value);
  std::uint8_t control = 0;
  if (!ReadRegister(kControlRegister, control) ||
      !WriteRegisters(kControlRegister,
                      {Byte((control & 0xFC) | (((u >> 8) & 1) << 1) | ((v >> 8) & 1))}) ||
      !WriteRegisters(13, {Byte(u), Byte(v)})) {
    return Fail(code::kLostContact);
  }
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_setGamma(float gamma) {
  ExportScope scope(*this, export_name::ZLP_setGamma);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  if (gamma == 0.0f || std::isnan(gamma)) return Fail(code::kOutOfRange);
  tables_.Build(gamma);
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_getBrightness(std::int8_t* value) {
  ExportScope scope(*this, export_name::ZLP_getBrightness);
  return GetSignedRegister(kBrightnessRegister, value);
}

std::int32_t ZelvoLibrary::ZLP_getHue(std::int8_t* value) {
  ExportScope scope(*this, export_name::ZLP_getHue);
  return GetSignedRegister(kHueRegister, value);
}

std::int32_t ZelvoLibrary::ZLP_getContrast(std::int8_t* value) {
  ExportScope scope(*this, export_name::ZLP_getContrast);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  if (value == nullptr) return Fail(code::kBadPointer);
  std::uint8_t regs[2] = {};
  if (ReadDigitizerRegs(kControlRegister, regs, 2) != 2) return Fail(code::kLostContact);
  *value = static_cast<std::int8_t>(ContrastFromRegister(((regs[0] >> 2) & 1) * 256 + regs[1]));
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_getSaturation(std::int8_t* value) {
  ExportScope scope(*this, export_name::ZLP_getSaturation);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  if (value == nullptr) return Fail(code::kBadPointer);
  std::uint8_t regs[3] = {};
  if (ReadDigitizerRegs(kControlRegister, regs, 3) != 3) return Fail(code::kLostContact);
  *value = static_cast<std::int8_t>(SaturationFromRegister(((regs[0] >> 1) & 1) * 256 + regs[2]));
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_enableFlash(std::int32_t flashType, ZlpFlashRoutine routine,
                                           std::uint16_t delay) {
  ExportScope scope(*this, export_name::ZLP_enableFlash);
  CardSession* session = Current();
  if (session == nullptr) return Fail(code::kNotInitialised);
  const int maxDelay = session->videoStandard == k625Line ? 20 : 16;
  if (flashType < 1 || flashType > 3 || delay > maxDelay) return Fail(code::kOutOfRange);
  session->flashRoutine = routine;
  session->builtInFlash = routine == nullptr;
  session->flashType = flashType;
  session->flashDelay = delay;
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_disableFlash() {
  ExportScope scope(*this, export_name::ZLP_disableFlash);
  CardSession* session = Current();
  if (session == nullptr) return Fail(code::kNotInitialised);
  session->flashRoutine = nullptr;
  session->builtInFlash = false;
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_getLimits(std::int32_t standard, ZlpLimits* limits) {
  ExportScope scope(*this, export_name::ZLP_getLimits);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  if (standard < k525Line || standard > kNoSignal) return Fail(code::kOutOfRange);
  if (limits == nullptr) return Fail(code::kBadPointer);
  *limits = LimitsOf(standard);
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_setDigitizerRegister(std::int32_t reg, std::uint8_t value) {
  ExportScope scope(*this, export_name::ZLP_setDigitizerRegister);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  // Any register number goes to the driver, which refuses those the card lacks.
  if (WriteDigitizerRegs(static_cast<std::uint32_t>(reg), &value, 1) != 1) return Fail(code::kLostContact);
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_getDigitizerRegister(std::int32_t reg, std::uint8_t* value) {
  ExportScope scope(*this, export_name::ZLP_getDigitizerRegister);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  if (value == nullptr) return Fail(code::kBadPointer);
  if (!ReadRegister(static_cast<std::uint32_t>(reg), *value)) return Fail(code::kLostContact);
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_setDigitizerRegisters(const std::uint8_t* block) {
  ExportScope scope(*this, export_name::ZLP_setDigitizerRegisters);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  if (block == nullptr) return Fail(code::kBadPointer);
  // Registers 16, 17, 21 and the read-only 23 are left alone.
  struct Span {
    std::uint32_t first;
    std::size_t offset;
    std::uint32_t count;
  };
  static constexpr Span kSpans[] = {{0, 0, 16}, {18, 16, 3}, {22, 19, 1}, {24, 21, 3}};
  for (const Span& span : kSpans) {
    if (WriteDigitizerRegs(span.first, block + span.offset, span.count) != static_cast<int>(span.count)) {
      return Fail(code::kLostContact);
    }
  }
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_getDigitizerRegisters(std::uint8_t* block) {
  ExportScope scope(*this, export_name::ZLP_getDigitizerRegisters);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  if (block == nullptr) return Fail(code::kBadPointer);
  std::uint8_t regs[kReadableRegisters] = {};
  if (ReadDigitizerRegs(0, regs, kReadableRegisters) != static_cast<int>(kReadableRegisters)) {
    return Fail(code::kLostContact);
  }
  std::uint8_t out[kRegisterBlockBytes];
  for (int i = 0; i < 16; ++i) out[i] = regs[i];
  for (int i = 0; i < 3; ++i) out[16 + i] = regs[18 + i];
  out[19] = regs[22];
  out[20] = regs[23];
  for (int i = 0; i < 3; ++i) out[21 + i] = regs[24 + i];
  for (std::size_t i = 0; i < kRegisterBlockBytes; ++i) block[i] = out[i];
  return code::kOk;
}

}  // namespace orvale::melvex
