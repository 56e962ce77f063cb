#include "cards/korrin/core/DmaLock.h"

#include <algorithm>

#include "cards/korrin/core/Status.h"

namespace orvale::korrin {

std::size_t PagesSpanned(const void* buffer, std::size_t size) {
  const auto start = reinterpret_cast<std::uintptr_t>(buffer);
  const std::uintptr_t first = start / kPageSize;
  const std::uintptr_t last = (start + size - 1) / kPageSize;
  return size == 0 ? 0 : static_cast<std::size_t>(last - first + 1);
}

namespace {

void TargetDriverBuffer(BoardResources& res) {
  res.dmaTarget = res.session->DmaBuffer();
  res.callerTarget = false;
}

std::int32_t Unlock(BoardResources& res, void* buffer, std::uint32_t flags) {
  for (auto& row : res.locks) {
    if (!row || row->buffer != buffer) continue;
    res.session->Unlock(row->handle);
    const bool wasTarget = res.callerTarget && res.dmaTarget.linear == buffer;
    row.reset();
    if ((flags & lockflag::kKeepTarget) == 0 || wasTarget) TargetDriverBuffer(res);
    return kOk;
  }
  return kFail;
}

}  // namespace

std::int32_t LockDmaMemory(Library& lib, void* buffer, std::size_t size, std::uint32_t flags) {
  BoardResources& res = lib.Live().resources;
  if (!lib.Live().Located() || !res.dmaArea || buffer == nullptr) return kFail;
  if (flags & lockflag::kUnlock) return Unlock(res, buffer, flags);

  // One page table maps the target, so a larger buffer could not be reached whole.
  const std::size_t pages = PagesSpanned(buffer, size);
  if (pages == 0 || pages > kMaxLockPages) return kFail;
  auto locked = res.session->Lock(buffer, size);
  if (!locked) return kFail;
  auto free = std::find_if(res.locks.begin(), res.locks.end(), [](const auto& r) { return !r; });
  if (free == res.locks.end()) {
    res.session->Unlock(locked->handle);
    return kFail;
  }
  locked->pages.resize(std::min(locked->pages.size(), pages));
  LockedBuffer row{buffer, size, locked->handle,
                   static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(buffer) % kPageSize),
                   std::move(locked->pages)};
  if ((flags & lockflag::kKeepTarget) == 0) {
    // Through the page table, the buffer starts at its offset into the first page.
    res.dmaTarget = {row.pageOffset, static_cast<std::uint8_t*>(buffer),
                     static_cast<std::uint32_t>(size)};
    res.callerTarget = true;
    res.dmaArea->WritePageTable(kTargetPageTableAt, row.pages);
  }
  *free = std::move(row);
  return kOk;
}

}  // namespace orvale::korrin
