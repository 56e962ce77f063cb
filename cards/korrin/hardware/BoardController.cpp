#include "cards/korrin/hardware/BoardController.h"

#include <algorithm>

#include "cards/korrin/hardware/I2cBus.h"
#include "cards/korrin/hardware/LocalBus.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "platform/clock/Deadline.h"

namespace orvale::korrin {
namespace {

constexpr std::uint32_t kIdleTimeoutMs = 1000;
constexpr std::uint32_t kResetSettleMs = 1000;
constexpr std::uint32_t kPollsPerClockRead = 1000;

bool ReadyLineHigh(Library& lib) {
  BoardSettings& s = lib.Settings();
  if (s.frame.configId & config::kControllerGate) {
    return (lib.Live().Registers().Read32(saa::kStatus) & 0x08) != 0;
  }
  return (LocalBus(lib).Read(0xFC00) & 0x10) != 0;
}

bool WaitForLine(Library& lib, bool high, std::uint32_t timeoutMs) {
  return PollUntil(
      lib.GetClock(), timeoutMs, [&] { return ReadyLineHigh(lib) == high; }, kPollsPerClockRead);
}

void WriteRegister(Library& lib, int reg, std::uint8_t value) {
  I2cBus(lib.Live().Registers(), lib.GetClock()).Write(controller::kWriteAddress, reg, value);
}

// The line must be idle before a command; a controller that stays busy is reset once.
bool ReadyForCommand(Library& lib) {
  if (WaitForLine(lib, false, kIdleTimeoutMs)) return true;
  WriteRegister(lib, controller::kReset, controller::kReset);
  lib.GetClock().SleepMs(kResetSettleMs);
  return !ReadyLineHigh(lib);
}

std::uint32_t SerialFallMs(std::size_t count, std::int32_t byteTimeoutMs) {
  const std::int64_t ms = static_cast<std::int64_t>(count) * std::max(byteTimeoutMs, 0);
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(ms, 100, 30000));
}

// Command 4 goes out only when the per-byte time-out differs from the last one sent.
bool SendByteTimeout(Library& lib, std::int32_t byteTimeoutMs) {
  auto& last = lib.Settings().controller.lastByteTimeout;
  if (last == byteTimeoutMs) return true;
  const auto t = static_cast<std::uint16_t>(byteTimeoutMs);
  ControllerCall call{controller::kByteTimeout, std::nullopt,
                      {static_cast<std::uint8_t>(t), static_cast<std::uint8_t>(t >> 8)}, 0, 2};
  if (!RunControllerCommand(lib, call)) return false;
  last = byteTimeoutMs;
  return true;
}

}  // namespace

void ProbeController(Library& lib) {
  I2cBus bus(lib.Live().Registers(), lib.GetClock());
  lib.Settings().controller.present = bus.Read(controller::kReadAddress, kNoRegister).has_value();
}

bool RunControllerCommand(Library& lib, const ControllerCall& call) {
  if (!ReadyForCommand(lib)) return false;
  if (call.count) WriteRegister(lib, 1, static_cast<std::uint8_t>(*call.count));
  for (std::size_t i = 0; i < call.data.size(); ++i) {
    WriteRegister(lib, static_cast<int>(6 + i), call.data[i]);
  }
  WriteRegister(lib, 0, static_cast<std::uint8_t>(call.command));
  WaitForLine(lib, true, call.riseMs);  // a quick command may be done before we look
  return WaitForLine(lib, false, call.fallMs);
}

std::optional<std::uint8_t> ReadControllerByte(Library& lib) {
  return I2cBus(lib.Live().Registers(), lib.GetClock()).Read(controller::kReadAddress, kNoRegister);
}

std::optional<std::uint8_t> ControllerStatus(Library& lib) {
  if (!RunControllerCommand(lib, {controller::kStatus, std::nullopt, {}, 2, 2})) return std::nullopt;
  return ReadControllerByte(lib);
}

bool ControllerReset(Library& lib) {
  WriteRegister(lib, controller::kReset, controller::kReset);
  WriteRegister(lib, controller::kReset, controller::kReset);
  WriteRegister(lib, 0, static_cast<std::uint8_t>(controller::kReset));
  WaitForLine(lib, true, 10);
  return WaitForLine(lib, false, 1000);
}

bool ControllerSetBaud(Library& lib, std::int32_t baud) {
  return RunControllerCommand(
      lib, {controller::kSetBaud, std::nullopt, {static_cast<std::uint8_t>(baud / 300)}, 2, 2});
}

bool ControllerOutputs(Library& lib, std::uint8_t first, std::uint8_t second) {
  return RunControllerCommand(lib, {controller::kOutputs, 2, {first, second}, 0, 2});
}

std::optional<std::uint8_t> ControllerSwitchState(Library& lib) {
  if (!RunControllerCommand(lib, {controller::kSwitchState, 1, {}, 2, 2})) return std::nullopt;
  return ReadControllerByte(lib);
}

std::int32_t ControllerReadSerial(Library& lib, std::span<std::uint8_t> buffer,
                                  std::int32_t byteTimeoutMs) {
  std::int32_t total = 0;
  while (!buffer.empty()) {
    const std::size_t n = std::min(buffer.size(), controller::kMaxChunk);
    if (!SendByteTimeout(lib, byteTimeoutMs)) return total;
    ControllerCall call{controller::kReadSerial, std::nullopt, {}, byteTimeoutMs == 0 ? 0u : 2u,
                        SerialFallMs(n, byteTimeoutMs)};
    if (n != 1) call.count = static_cast<int>(n);
    if (!RunControllerCommand(lib, call)) return total;
    const auto count = ReadControllerByte(lib);
    if (!count || *count > n) return total;
    for (std::size_t i = 0; i < *count; ++i) {
      const auto byte = ReadControllerByte(lib);
      if (!byte) return total;
      buffer[i] = *byte;
      ++total;
    }
    if (*count < n) break;
    buffer = buffer.subspan(n);
  }
  return total;
}

std::int32_t ControllerWriteSerial(Library& lib, std::span<const std::uint8_t> bytes,
                                   std::int32_t byteTimeoutMs) {
  std::int32_t total = 0;
  while (!bytes.empty()) {
    const std::size_t n = std::min(bytes.size(), controller::kMaxChunk);
    if (!SendByteTimeout(lib, byteTimeoutMs)) return total;
    ControllerCall call{controller::kWriteSerial, std::nullopt,
                        {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)},
                        byteTimeoutMs == 0 ? 0u : 2u, SerialFallMs(n, byteTimeoutMs)};
    if (n != 1) call.count = static_cast<int>(n);
    if (!RunControllerCommand(lib, call)) return total;
    const auto accepted = ReadControllerByte(lib);
    if (!accepted || *accepted > n) return total;
    total += *accepted;
    if (*accepted < n) break;
    bytes = bytes.subspan(n);
  }
  return total;
}

}  // namespace orvale::korrin
