#pragma once
// Transfers on the SAA7146's I2C engine. A transfer is tried up to three times; a busy
// engine that does not finish within 4 ms is aborted before the next try.
#include <cstdint>
#include <optional>

#include "cards/korrin/hardware/DeviceAccess.h"
#include "platform/clock/Clock.h"

namespace orvale::korrin {

inline constexpr int kNoRegister = -1;
inline constexpr std::uint8_t kEepromWrite = 0xA0;
inline constexpr std::uint8_t kEepromRead = 0xA1;

class I2cBus {
 public:
  I2cBus(RegisterWindow& registers, Clock& clock) : registers_(registers), clock_(clock) {}

  // Writes `value` to `device` (a write address), at `reg` unless it is kNoRegister.
  bool Write(std::uint8_t device, int reg, std::uint8_t value);
  // Reads one byte from `device` (a read address). Only the EEPROM read address sends
  // `reg` first; other devices answer from where they are. Empty when the bus failed.
  std::optional<std::uint8_t> Read(std::uint8_t device, int reg);

 private:
  bool Transfer(std::uint32_t word);
  RegisterWindow& registers_;
  Clock& clock_;
};

}  // namespace orvale::korrin
