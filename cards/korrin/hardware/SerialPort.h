#pragma once
// The board's serial port: a 2681-type UART behind two I2C port expanders (0x40 takes
// the control byte, 0x42 the data), or the on-board controller's own port.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

inline constexpr std::uint8_t kUartControl = 0x40;
inline constexpr std::uint8_t kUartData = 0x42;

// Registers 0..7; the control byte's bits 3 and 4 are the strobes, so there are no more.
std::int32_t GetSerialReg(Library& lib, std::int32_t reg);
std::int32_t SetSerialReg(Library& lib, std::int32_t reg, std::int32_t value);

std::int32_t SetupSerial(Library& lib, std::int32_t baud, std::int32_t dataBits,
                         std::int32_t parity, std::int32_t stopBits);
// Bytes moved; 0 for a null buffer or a length below 1.
std::int32_t ReadSerialBytes(Library& lib, std::uint8_t* buffer, std::int32_t length,
                             std::int32_t timeoutMs);
std::int32_t WriteSerialBytes(Library& lib, const std::uint8_t* buffer, std::int32_t length,
                              std::int32_t timeoutMs);

// The clock-select code of a baud rate: its index in the board's table, 13 when absent.
int BaudCode(std::int32_t baud);

}  // namespace orvale::korrin
