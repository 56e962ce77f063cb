#pragma once
// The on-board controller of the simulated board: registers at I2C 0xD6, answers read
// at 0xD7, and a ready line that is high for a while after each command.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "cards/korrin/sim/SimI2c.h"

namespace orvale::korrin::sim {

struct ControllerCommandRecord {
  int command;
  int count;
  std::vector<std::uint8_t> data;  // registers 6 and up, as far as count or 4 bytes
  std::uint32_t timeMs;
};

class SimController final : public SimI2cDevice {
 public:
  using TimeSource = std::function<std::uint32_t()>;
  explicit SimController(TimeSource now) : now_(std::move(now)) {}

  bool Write(std::span<const std::uint8_t> bytes) override;
  std::optional<std::uint8_t> Read() override;

  bool LineHigh() const;
  const std::vector<ControllerCommandRecord>& Commands() const { return commands_; }
  std::vector<int> CommandCodes() const;
  std::array<std::uint8_t, 256>& Registers() { return registers_; }
  // Every register write as (register, value).
  const std::vector<std::pair<int, int>>& RegisterWrites() const { return writes_; }

  std::uint8_t status = 20;                   // sequencer status byte (command 0)
  std::uint32_t busyMs = 1;                   // how long the line stays high
  bool stuckBusy = false;                     // the line never falls
  std::deque<std::uint8_t> serialIn;          // bytes its serial port has received
  std::vector<std::uint8_t> serialOut;        // bytes it has sent
  std::optional<std::uint8_t> reportCount;    // a wrong byte count for command 2
  // The switch state byte at a time (command 6).
  std::function<std::uint8_t(std::uint32_t timeMs)> switchState = [](std::uint32_t) { return 0; };
  // The capture gate (command 8: register 6 non-zero opens it); open at power-up.
  bool gateOpen = true;

 private:
  void Execute(int command);
  TimeSource now_;
  std::array<std::uint8_t, 256> registers_{};
  std::vector<std::pair<int, int>> writes_;
  std::vector<ControllerCommandRecord> commands_;
  std::deque<std::uint8_t> answers_;
  std::optional<std::uint32_t> busySince_;
  int count_ = 1;
};

}  // namespace orvale::korrin::sim
