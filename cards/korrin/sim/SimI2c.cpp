#include "cards/korrin/sim/SimI2c.h"

namespace orvale::korrin::sim {

bool SimRegisterFile::Write(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return true;
  pointer_ = bytes[0];
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    OnWrite(pointer_, bytes[i]);
    ++pointer_;
  }
  return true;
}

std::optional<std::uint8_t> SimRegisterFile::Read() { return registers_[pointer_++]; }

void SimRegisterFile::OnWrite(int reg, std::uint8_t value) {
  registers_[reg] = value;
  log_.emplace_back(reg, value);
}

void SimI2cEngine::Attach(std::uint8_t address8, SimI2cDevice* device) {
  devices_[address8 & 0xFE] = device;
}

void SimI2cEngine::Detach(std::uint8_t address8) { devices_.erase(address8 & 0xFE); }

std::pair<std::uint32_t, bool> SimI2cEngine::Run(std::uint32_t word) {
  // Bytes 3, 2, 1 of the word, each with a two-bit attribute at bits 7-6, 5-4, 3-2:
  // 3 start (an address byte), 2 continue, 1 stop, 0 nothing.
  const std::size_t index = transfers_.size();
  SimI2cDevice* device = nullptr;
  bool reading = false;
  bool ok = true;
  std::vector<std::uint8_t> written;
  std::uint32_t result = word;
  for (int slot = 3; slot >= 1 && ok; --slot) {
    const int attribute = static_cast<int>((word >> (2 * slot)) & 3);
    const int shift = 8 * slot;
    if (attribute == 0) continue;
    const auto byte = static_cast<std::uint8_t>(word >> shift);
    if (attribute == 3) {
      reading = (byte & 1) != 0;
      auto it = devices_.find(byte & 0xFE);
      device = it == devices_.end() ? nullptr : it->second;
      ok = device != nullptr && !(refuse && refuse(index, byte));
    } else if (reading) {
      const auto value = device->Read();
      ok = value.has_value();
      if (ok) result = (result & ~(0xFFu << shift)) | (std::uint32_t{*value} << shift);
    } else {
      written.push_back(byte);
    }
  }
  if (ok && device != nullptr && !reading) ok = device->Write(written);
  transfers_.push_back({word, ok});
  return {result, ok};
}

}  // namespace orvale::korrin::sim
