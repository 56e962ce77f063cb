#include "cards/korrin/sim/SimLocalBus.h"

#include <algorithm>

namespace orvale::korrin::sim {

void SimLocalBus::Write(std::uint32_t address, std::uint32_t value) {
  address &= 0xFFFF;
  writes_.push_back({address, value});
  values_[address] = value;
  if (address == 0xF800) counterStart_ = now_();
  if (address == 0xF000 || address == 0xF001) TimingDevice(address, value);
}

void SimLocalBus::TimingDevice(std::uint32_t address, std::uint32_t value) {
  const bool strobe = (Value(0xFA00) & 2) != 0;
  if (!strobe) {
    if (address == 0xF001) timingRegister_ = static_cast<int>(value & 0x1F);
    return;
  }
  if (address == 0xF000) {
    timingLow_ = static_cast<int>(value & 0xFF);
  } else if (timingLow_ >= 0) {
    timing_.emplace_back(timingRegister_, timingLow_ | static_cast<int>((value & 0xFF) << 8));
    timingLow_ = -1;
  }
}

std::uint32_t SimLocalBus::Read(std::uint32_t address) {
  address &= 0xFFFF;
  if ((address & 0xFF00) == 0xF800) {
    if (counterFrozen) return 0;
    // Saturates rather than wraps: a millisecond is the simulation's finest step.
    const std::uint64_t counts = std::uint64_t{now_() - counterStart_} * kCountsPerMs;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(counts, 0xFFFF));
  }
  // The status read is not the output latch written at the same address.
  if ((address & 0xFF00) == 0xFC00) return statusBits();
  if ((address & 0xFF00) == 0xF100) return inputs();
  return Value(address);
}

std::uint32_t SimLocalBus::Value(std::uint32_t address) const {
  const auto it = values_.find(address & 0xFFFF);
  return it == values_.end() ? 0 : it->second;
}

std::vector<std::uint32_t> SimLocalBus::WritesTo(std::uint32_t address) const {
  std::vector<std::uint32_t> values;
  for (const auto& w : writes_) {
    if (w.address == address) values.push_back(w.value);
  }
  return values;
}

}  // namespace orvale::korrin::sim
