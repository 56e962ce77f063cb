#include "cards/korrin/hardware/SerialPort.h"

#include <array>
#include <optional>

#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/hardware/I2cBus.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/interrupts/YieldingWait.h"
#include "platform/clock/Deadline.h"

namespace orvale::korrin {
namespace {

constexpr std::uint8_t kStrobesIdle = 0x18;
constexpr std::uint8_t kReadStrobe = 0x08;   // bit 4 low
constexpr std::uint8_t kWriteStrobe = 0x10;  // bit 3 low
constexpr int kModeRegister = 0;
constexpr int kStatusRegister = 1;
constexpr int kClockSelect = 1;
constexpr int kCommandRegister = 2;
constexpr int kDataRegister = 3;
constexpr std::uint8_t kReceiverReady = 0x01;
constexpr std::uint8_t kTransmitterReady = 0x04;
constexpr std::uint32_t kPollsPerClockRead = 20;

// Board's table, index = clock-select code (1050, not 1800, at code 7).
constexpr std::array<std::int32_t, 13> kBaudTable = {50,   110,  134,  200,  300,  600, 1200,
                                                     1050, 2400, 4800, 7200, 9600, 38400};

class Uart {
 public:
  explicit Uart(Library& lib)
      : bus_(lib.Live().Registers(), lib.GetClock()),
        base_(static_cast<std::uint8_t>(lib.Settings().uartBase)) {}

  std::uint8_t Read(int reg) {
    const auto c = static_cast<std::uint8_t>(base_ | reg);
    bus_.Write(kUartControl, kNoRegister, c | kStrobesIdle);
    bus_.Write(kUartControl, kNoRegister, c | kReadStrobe);
    bus_.Write(kUartData, kNoRegister, 0xFF);
    const std::uint8_t value = bus_.Read(kUartData | 1, kNoRegister).value_or(0);
    bus_.Write(kUartControl, kNoRegister, c | kStrobesIdle);
    return value;
  }

  bool Write(int reg, std::uint8_t value) {
    const auto c = static_cast<std::uint8_t>(base_ | reg);
    return bus_.Write(kUartControl, kNoRegister, c | kStrobesIdle) &&
           bus_.Write(kUartControl, kNoRegister, c | kWriteStrobe) &&
           bus_.Write(kUartData, kNoRegister, value) &&
           bus_.Write(kUartControl, kNoRegister, c | kStrobesIdle);
  }

 private:
  I2cBus bus_;
  std::uint8_t base_;
};

bool ValidRegister(std::int32_t reg) { return reg >= 0 && reg <= 7; }

// Moves up to `length` bytes while the status bit says the UART is ready. Without a
// time-out it stops at the first poll that finds it not ready; otherwise the time-out
// runs from that first such poll.
template <class Step>
std::int32_t Transfer(Library& lib, std::int32_t length, std::int32_t timeoutMs,
                      std::uint8_t readyBit, Step&& step) {
  Uart uart(lib);
  std::int32_t moved = 0;
  std::optional<Deadline> deadline;
  std::uint32_t emptyPolls = 0;
  while (moved < length) {
    if (uart.Read(kStatusRegister) & readyBit) {
      step(uart, moved++);
      continue;
    }
    if (timeoutMs <= 0) break;
    if (!deadline) deadline.emplace(lib.GetClock(), static_cast<std::uint32_t>(timeoutMs));
    if (++emptyPolls % kPollsPerClockRead != 0) continue;
    if (deadline->Expired()) break;
    lib.LetOthersIn();
  }
  return moved;
}

}  // namespace

int BaudCode(std::int32_t baud) {
  for (std::size_t i = 0; i < kBaudTable.size(); ++i) {
    if (kBaudTable[i] == baud) return static_cast<int>(i);
  }
  return 13;
}

std::int32_t GetSerialReg(Library& lib, std::int32_t reg) {
  if (!lib.Live().Located() || !ValidRegister(reg)) return kFail;
  return Uart(lib).Read(reg);
}

std::int32_t SetSerialReg(Library& lib, std::int32_t reg, std::int32_t value) {
  if (!lib.Live().Located() || !ValidRegister(reg)) return kFail;
  return StatusOf(Uart(lib).Write(reg, static_cast<std::uint8_t>(value)));
}

std::int32_t SetupSerial(Library& lib, std::int32_t baud, std::int32_t dataBits,
                         std::int32_t parity, std::int32_t stopBits) {
  if (!lib.Live().Located() || dataBits < 5 || dataBits > 8) return kFail;
  if (lib.Settings().controller.present) return StatusOf(ControllerSetBaud(lib, baud));
  Uart uart(lib);
  bool ok = uart.Write(kCommandRegister, 10);  // receiver and transmitter off
  for (std::uint8_t command : {16, 32, 48, 64}) {  // MR pointer, receiver, transmitter, errors
    Pause(lib, 60);
    ok = uart.Write(kCommandRegister, command) && ok;
  }
  Pause(lib, 60);
  ok = uart.Write(4, 10) && ok;
  uart.Read(5);
  const std::uint8_t parityBits = parity == 0 ? 0x10 : parity == 1 ? 0x04 : 0x00;
  ok = uart.Write(kModeRegister, static_cast<std::uint8_t>(parityBits | (dataBits - 5))) && ok;
  ok = uart.Write(kModeRegister, stopBits == 2 ? 15 : 7) && ok;
  const int code = BaudCode(baud);
  ok = uart.Write(kClockSelect, static_cast<std::uint8_t>(code | (code << 4))) && ok;
  ok = uart.Write(kCommandRegister, 5) && ok;  // receiver and transmitter on
  return StatusOf(ok);
}

std::int32_t ReadSerialBytes(Library& lib, std::uint8_t* buffer, std::int32_t length,
                             std::int32_t timeoutMs) {
  if (!lib.Live().Located() || buffer == nullptr || length <= 0) return 0;
  if (lib.Settings().controller.present) {
    return ControllerReadSerial(lib, {buffer, static_cast<std::size_t>(length)}, timeoutMs);
  }
  return Transfer(lib, length, timeoutMs, kReceiverReady,
                  [&](Uart& uart, std::int32_t i) { buffer[i] = uart.Read(kDataRegister); });
}

std::int32_t WriteSerialBytes(Library& lib, const std::uint8_t* buffer, std::int32_t length,
                              std::int32_t timeoutMs) {
  if (!lib.Live().Located() || buffer == nullptr || length <= 0) return 0;
  if (lib.Settings().controller.present) {
    return ControllerWriteSerial(lib, {buffer, static_cast<std::size_t>(length)}, timeoutMs);
  }
  return Transfer(lib, length, timeoutMs, kTransmitterReady,
                  [&](Uart& uart, std::int32_t i) { uart.Write(kDataRegister, buffer[i]); });
}

}  // namespace orvale::korrin
