#include "cards/korrin/sim/SimController.h"

#include <algorithm>

namespace orvale::korrin::sim {

bool SimController::LineHigh() const {
  if (stuckBusy) return true;
  return busySince_ && now_() - *busySince_ < busyMs;
}

bool SimController::Write(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 2) return true;
  int reg = bytes[0];
  for (std::size_t i = 1; i < bytes.size(); ++i, ++reg) {
    const std::uint8_t value = bytes[i];
    writes_.emplace_back(reg & 0xFF, value);
    registers_[reg & 0xFF] = value;
    if (reg == 1) count_ = value;
    if (reg == 0) Execute(value == 214 ? 214 : value);
  }
  return true;
}

std::optional<std::uint8_t> SimController::Read() {
  if (answers_.empty()) return std::uint8_t{0};
  const std::uint8_t value = answers_.front();
  answers_.pop_front();
  return value;
}

std::vector<int> SimController::CommandCodes() const {
  std::vector<int> codes;
  for (const auto& c : commands_) codes.push_back(c.command);
  return codes;
}

void SimController::Execute(int command) {
  const int count = count_;
  std::vector<std::uint8_t> data;
  const int dataBytes = command == 3 ? count : 4;
  for (int i = 0; i < dataBytes && 6 + i < 256; ++i) data.push_back(registers_[6 + i]);
  commands_.push_back({command, count, data, now_()});
  answers_.clear();
  switch (command) {
    case 0:
      answers_.push_back(status);
      break;
    case 2: {
      const auto n = std::min<std::size_t>(static_cast<std::size_t>(count), serialIn.size());
      answers_.push_back(reportCount.value_or(static_cast<std::uint8_t>(n)));
      for (std::size_t i = 0; i < n; ++i) {
        answers_.push_back(serialIn.front());
        serialIn.pop_front();
      }
      break;
    }
    case 3:
      serialOut.insert(serialOut.end(), data.begin(), data.end());
      answers_.push_back(static_cast<std::uint8_t>(count));
      break;
    case 6:
      answers_.push_back(switchState(now_()));
      break;
    case 8:
      gateOpen = data[0] != 0;
      break;
    default:
      break;
  }
  count_ = 1;
  busySince_ = now_();
}

}  // namespace orvale::korrin::sim
