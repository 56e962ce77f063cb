#include "cards/korrin/sim/SimRegisters.h"

#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin::sim {

std::uint32_t SimRegisters::Read32(std::uint32_t offset) {
  std::lock_guard lock(mutex_);
  ++reads_;
  if (offset >= kSize || offset % 4 != 0) return 0xFFFFFFFF;
  const std::uint32_t stored = words_[offset / 4];
  return readHook_ ? readHook_(offset, stored) : stored;
}

void SimRegisters::Write32(std::uint32_t offset, std::uint32_t value) {
  std::lock_guard lock(mutex_);
  if (offset >= kSize || offset % 4 != 0) return;
  log_.push_back({offset, value, now_ ? now_() : 0});
  std::uint32_t& word = words_[offset / 4];
  if (offset == saa::kMainControl1 || offset == saa::kMainControl2) {
    const std::uint32_t mask = value >> 16;
    word = (word & ~mask & 0xFFFF) | (value & mask);
  } else if (offset == saa::kIrqStatus) {
    word &= ~value;
  } else {
    word = value;
  }
  if (writeHook_) writeHook_(offset, value);
}

std::uint32_t SimRegisters::Peek(std::uint32_t offset) const {
  std::lock_guard lock(mutex_);
  return words_.at(offset / 4);
}

void SimRegisters::Poke(std::uint32_t offset, std::uint32_t value) {
  std::lock_guard lock(mutex_);
  words_.at(offset / 4) = value;
}

void SimRegisters::RaiseStatus(std::uint32_t bits) {
  std::lock_guard lock(mutex_);
  words_[saa::kIrqStatus / 4] |= bits;
}

std::vector<RegisterWrite> SimRegisters::Writes() const {
  std::lock_guard lock(mutex_);
  return log_;
}

std::vector<std::uint32_t> SimRegisters::WritesTo(std::uint32_t offset) const {
  std::lock_guard lock(mutex_);
  std::vector<std::uint32_t> values;
  for (const auto& w : log_) {
    if (w.offset == offset) values.push_back(w.value);
  }
  return values;
}

std::size_t SimRegisters::ReadCount() const {
  std::lock_guard lock(mutex_);
  return reads_;
}

void SimRegisters::ClearLog() {
  std::lock_guard lock(mutex_);
  log_.clear();
  reads_ = 0;
}

}  // namespace orvale::korrin::sim
