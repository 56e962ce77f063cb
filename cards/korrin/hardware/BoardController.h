#pragma once
// The on-board controller of some boards: registers at I2C 0xD6 (read at 0xD7, without
// a register byte) and a ready line that is high while it works on a command.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

namespace controller {
inline constexpr std::uint8_t kWriteAddress = 0xD6;
inline constexpr std::uint8_t kReadAddress = 0xD7;
inline constexpr int kStatus = 0;
inline constexpr int kSetBaud = 1;
inline constexpr int kReadSerial = 2;
inline constexpr int kWriteSerial = 3;
inline constexpr int kByteTimeout = 4;
inline constexpr int kOutputs = 5;
inline constexpr int kSwitchState = 6;
inline constexpr int kStrobe = 7;
inline constexpr int kGate = 8;
inline constexpr int kExposure = 9;
inline constexpr int kCameraTiming = 10;
inline constexpr int kReset = 214;
// The serial commands move at most this many bytes through registers 6 and up.
inline constexpr std::size_t kMaxChunk = 250;
}  // namespace controller

// Whether the board has a controller: it acknowledges its address. Stored per board.
void ProbeController(Library& lib);

// One command: `count` into register 1 when given, `data` into registers 6 and up,
// then the command into register 0. Waits up to `riseMs` for the ready line to go high
// and up to `fallMs` for it to fall. False when the command was dropped (the line stayed
// high even after a reset) or the line did not fall in time.
struct ControllerCall {
  int command = 0;
  std::optional<int> count;
  std::vector<std::uint8_t> data;
  std::uint32_t riseMs = 2;
  std::uint32_t fallMs = 2;
};
bool RunControllerCommand(Library& lib, const ControllerCall& call);
std::optional<std::uint8_t> ReadControllerByte(Library& lib);

// The commands the library sends.
std::optional<std::uint8_t> ControllerStatus(Library& lib);
bool ControllerReset(Library& lib);
bool ControllerSetBaud(Library& lib, std::int32_t baud);
bool ControllerOutputs(Library& lib, std::uint8_t first, std::uint8_t second);
std::optional<std::uint8_t> ControllerSwitchState(Library& lib);
// Serial transfers through the controller's own buffers; the number of bytes moved.
std::int32_t ControllerReadSerial(Library& lib, std::span<std::uint8_t> buffer,
                                  std::int32_t byteTimeoutMs);
std::int32_t ControllerWriteSerial(Library& lib, std::span<const std::uint8_t> bytes,
                                   std::int32_t byteTimeoutMs);

}  // namespace orvale::korrin
