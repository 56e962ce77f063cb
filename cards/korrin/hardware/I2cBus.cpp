#include "cards/korrin/hardware/I2cBus.h"

#include "cards/korrin/hardware/Saa7146.h"
#include "platform/clock/Deadline.h"

namespace orvale::korrin {
namespace {

constexpr int kAttempts = 3;
constexpr std::uint32_t kBusyTimeoutMs = 4;
constexpr std::uint32_t kPollsPerClockRead = 1000;
constexpr std::uint32_t kStatusIdle = 0x600;
constexpr std::uint32_t kStatusAbort = 0x680;

// Control words: byte attributes in the low byte select start/continue/stop per byte.
constexpr std::uint32_t kWriteWithRegister = 0xE4;
constexpr std::uint32_t kWriteWithoutRegister = 0xC4;
constexpr std::uint32_t kAddressPhase = 0xE0;
constexpr std::uint32_t kReadByte = 0xD0;

}  // namespace

bool I2cBus::Transfer(std::uint32_t word) {
  registers_.Write32(saa::kI2cStatus, kStatusIdle);
  registers_.Write32(saa::kI2cTransfer, word);
  registers_.Write32(saa::kMainControl2, saa::kUploadI2c);
  const bool finished = PollUntil(
      clock_, kBusyTimeoutMs,
      [&] { return (registers_.Read32(saa::kI2cStatus) & saa::kI2cBusy) == 0; },
      kPollsPerClockRead);
  if (!finished) {
    registers_.Write32(saa::kI2cStatus, kStatusAbort);
    registers_.Write32(saa::kI2cStatus, kStatusIdle);
    registers_.Write32(saa::kI2cStatus, kStatusIdle);
    return false;
  }
  return (registers_.Read32(saa::kI2cStatus) & saa::kI2cError) == 0;
}

bool I2cBus::Write(std::uint8_t device, int reg, std::uint8_t value) {
  const std::uint32_t word =
      reg == kNoRegister
          ? (std::uint32_t{device} << 24) | (std::uint32_t{value} << 8) | kWriteWithoutRegister
          : (std::uint32_t{device} << 24) | ((static_cast<std::uint32_t>(reg) & 0xFF) << 16) |
                (std::uint32_t{value} << 8) | kWriteWithRegister;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (Transfer(word)) return true;
  }
  return false;
}

std::optional<std::uint8_t> I2cBus::Read(std::uint8_t device, int reg) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (device == kEepromRead) {
      const std::uint32_t address = (std::uint32_t{kEepromWrite} << 24) |
                                    ((static_cast<std::uint32_t>(reg) & 0xFF) << 16) |
                                    kAddressPhase;
      if (!Transfer(address)) continue;
    }
    if (Transfer((std::uint32_t{device} << 24) + kReadByte)) {
      return static_cast<std::uint8_t>(registers_.Read32(saa::kI2cTransfer) >> 16);
    }
  }
  return std::nullopt;
}

}  // namespace orvale::korrin
