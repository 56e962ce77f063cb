#pragma once
// The board's DMA area: 81920 bytes of page-aligned host memory, locked for DMA for as
// long as the board is located. It holds the page table of the current DMA target, its
// own page list, the register-programming sequences and the hardware clip mask.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "cards/korrin/hardware/DeviceAccess.h"

namespace orvale::korrin {

inline constexpr std::size_t kDmaAreaSize = 81920;
inline constexpr std::uint32_t kTargetPageTableAt = 0x2000;
inline constexpr std::uint32_t kAreaPageTableAt = 0x3000;
inline constexpr std::uint32_t kSpareTableAt = 0x4000;
inline constexpr std::uint32_t kProgramsAt = 0x5000;
inline constexpr std::uint32_t kHardwareMaskAt = 0x6000;
inline constexpr std::uint32_t kPageTableEntries = 1024;

class DmaArea {
 public:
  // Allocates and locks the area; null when either fails.
  static std::unique_ptr<DmaArea> Create(DeviceSession& session);
  // Unlocks and frees it.
  ~DmaArea();
  DmaArea(const DmaArea&) = delete;
  DmaArea& operator=(const DmaArea&) = delete;

  std::uint8_t* Base() const { return base_; }
  // Bus address of the byte `offset` into the area.
  std::uint32_t PhysicalAt(std::uint32_t offset) const;
  // Writes `pages` (bus addresses, low 12 bits cleared) as the page table at `tableAt`.
  void WritePageTable(std::uint32_t tableAt, const std::vector<std::uint32_t>& pages);

 private:
  DmaArea(DeviceSession& session, std::uint8_t* base, LockedPages lock);
  DeviceSession& session_;
  std::uint8_t* base_;
  LockedPages lock_;
};

}  // namespace orvale::korrin
