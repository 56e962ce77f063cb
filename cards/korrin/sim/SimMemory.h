#pragma once
// The simulated bus address space: which bus addresses reach which host memory (the
// display frame buffer, the boards' DMA buffers, locked pages), and a log of every DMA
// write that reached no registered memory.
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace orvale::korrin::sim {

struct BusFault {
  std::uint32_t address = 0;
  std::uint32_t size = 0;
  std::string what;
};

class SimMemory {
 public:
  // Bus addresses handed out for locked pages start here; each page gets its own,
  // with a gap after it, so that a DMA that ignores the page table goes astray.
  static constexpr std::uint32_t kLockedPagesBase = 0x40000000;

  void Map(std::uint32_t address, std::uint8_t* host, std::uint32_t size);
  void Unmap(std::uint32_t address);
  // Host memory for [address, address + size) when it lies inside one mapped range.
  std::uint8_t* Translate(std::uint32_t address, std::uint32_t size);
  // A DMA write: copied when the whole range is mapped, else logged as a fault.
  bool DmaWrite(std::uint32_t address, const std::uint8_t* data, std::uint32_t size,
                const std::string& what);
  void LogFault(std::uint32_t address, std::uint32_t size, const std::string& what);
  std::vector<BusFault> Faults() const;

  std::uint32_t NewPageAddress();

 private:
  struct Range {
    std::uint8_t* host;
    std::uint32_t size;
  };
  std::uint8_t* TranslateLocked(std::uint32_t address, std::uint32_t size);
  mutable std::mutex mutex_;
  std::map<std::uint32_t, Range> ranges_;
  std::vector<BusFault> faults_;
  std::uint32_t nextPage_ = kLockedPagesBase;
};

}  // namespace orvale::korrin::sim
