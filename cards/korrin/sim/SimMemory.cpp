#include "cards/korrin/sim/SimMemory.h"

#include <cstring>

namespace orvale::korrin::sim {

void SimMemory::Map(std::uint32_t address, std::uint8_t* host, std::uint32_t size) {
  std::lock_guard lock(mutex_);
  ranges_[address] = {host, size};
}

void SimMemory::Unmap(std::uint32_t address) {
  std::lock_guard lock(mutex_);
  ranges_.erase(address);
}

std::uint8_t* SimMemory::TranslateLocked(std::uint32_t address, std::uint32_t size) {
  auto it = ranges_.upper_bound(address);
  if (it == ranges_.begin()) return nullptr;
  --it;
  const std::uint64_t offset = address - it->first;
  if (offset + size > it->second.size) return nullptr;
  return it->second.host + offset;
}

std::uint8_t* SimMemory::Translate(std::uint32_t address, std::uint32_t size) {
  std::lock_guard lock(mutex_);
  return TranslateLocked(address, size);
}

bool SimMemory::DmaWrite(std::uint32_t address, const std::uint8_t* data, std::uint32_t size,
                         const std::string& what) {
  std::lock_guard lock(mutex_);
  if (std::uint8_t* host = TranslateLocked(address, size)) {
    std::memcpy(host, data, size);
    return true;
  }
  faults_.push_back({address, size, what});
  return false;
}

void SimMemory::LogFault(std::uint32_t address, std::uint32_t size, const std::string& what) {
  std::lock_guard lock(mutex_);
  faults_.push_back({address, size, what});
}

std::vector<BusFault> SimMemory::Faults() const {
  std::lock_guard lock(mutex_);
  return faults_;
}

std::uint32_t SimMemory::NewPageAddress() {
  std::lock_guard lock(mutex_);
  const std::uint32_t page = nextPage_;
  nextPage_ += 2 * 4096;
  return page;
}

}  // namespace orvale::korrin::sim
