#include "cards/korrin/dma/DmaArea.h"

#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace orvale::korrin {

std::unique_ptr<DmaArea> DmaArea::Create(DeviceSession& session) {
  // Page-aligned, so the tables at fixed offsets each fill one page.
  auto* base = static_cast<std::uint8_t*>(std::aligned_alloc(kPageSize, kDmaAreaSize));
  if (base == nullptr) return nullptr;
  std::memset(base, 0, kDmaAreaSize);
  auto lock = session.Lock(base, kDmaAreaSize);
  if (!lock) {
    std::free(base);
    return nullptr;
  }
  std::unique_ptr<DmaArea> area(new DmaArea(session, base, std::move(*lock)));
  area->WritePageTable(kAreaPageTableAt, area->lock_.pages);
  return area;
}

DmaArea::DmaArea(DeviceSession& session, std::uint8_t* base, LockedPages lock)
    : session_(session), base_(base), lock_(std::move(lock)) {}

DmaArea::~DmaArea() {
  session_.Unlock(lock_.handle);
  std::free(base_);
}

std::uint32_t DmaArea::PhysicalAt(std::uint32_t offset) const {
  return lock_.pages.at(offset / kPageSize) + offset % kPageSize;
}

void DmaArea::WritePageTable(std::uint32_t tableAt, const std::vector<std::uint32_t>& pages) {
  auto* table = base_ + tableAt;
  std::memset(table, 0, kPageTableEntries * 4);
  const std::size_t n = std::min<std::size_t>(pages.size(), kPageTableEntries);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t entry = pages[i] & ~(kPageSize - 1);
    std::memcpy(table + i * 4, &entry, 4);
  }
}

}  // namespace orvale::korrin
