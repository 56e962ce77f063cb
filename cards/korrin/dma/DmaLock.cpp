#include "cards/korrin/dma/DmaLock.h"

#include <algorithm>

#include "cards/korrin/session/Status.h"

namespace orvale::korrin {

std::size_t PagesSpanned(const void* buffer, std::size_t size) {
  const auto start = reinterpret_cast<std::uintptr_t>(buffer);
  const std::uintptr_t first = start / kPageSize;
  const std::uintptr_t last = (start + size - 1) / kPageSize;
  return size == 0 ? 0 : static_cast<std::size_t>(last - first + 1);
}

namespace {

void TargetDriverBuffer(BoardResources& res) {
  res.dmaTarget = res.session->Device().DmaBuffer();
  res.callerTarget = false;
}

std::int32_t Unlock(BoardResources& res, void* buffer, std::uint32_t flags) {
  for (auto& row : res.session->Locks()) {
    if (!row || row->buffer != buffer) continue;
    const bool wasTarget = res.callerTarget && res.dmaTarget.linear == buffer;
    ReleaseLock(res, row);
    if ((flags & lockflag::kKeepTarget) == 0 || wasTarget) TargetDriverBuffer(res);
    return kOk;
  }
  return kFail;
}

// Locks `buffer` into a free row without touching the DMA target.
std::optional<LockedBuffer>* LockRow(Library& lib, void* buffer, std::size_t size) {
  BoardResources& res = lib.Live().resources;
  if (!lib.Live().Located() || !res.session->Dma() || buffer == nullptr) return nullptr;
  // One page table maps the target, so a larger buffer could not be reached whole.
  const std::size_t pages = PagesSpanned(buffer, size);
  if (pages == 0 || pages > kMaxLockPages) return nullptr;
  LockRows& rows = res.session->Locks();
  auto free = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return !r; });
  if (free == rows.end()) return nullptr;
  auto locked = res.session->Device().Lock(buffer, size);
  if (!locked) return nullptr;
  locked->pages.resize(std::min(locked->pages.size(), pages));
  *free = LockedBuffer{buffer, size, locked->handle,
                       static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(buffer) % kPageSize),
                       std::move(locked->pages)};
  return &*free;
}

}  // namespace

std::optional<LockedBuffer>* LockDmaTarget(Library& lib, void* buffer, std::size_t size) {
  auto* row = LockRow(lib, buffer, size);
  if (row != nullptr) RestoreDmaTarget(lib.Live().resources, &**row);
  return row;
}

std::optional<LockedBuffer>* TargetLock(BoardResources& res) {
  if (!res.callerTarget) return nullptr;
  for (auto& row : res.session->Locks()) {
    if (row && row->buffer == res.dmaTarget.linear) return &row;
  }
  return nullptr;
}

void RestoreDmaTarget(BoardResources& res, const LockedBuffer* row) {
  if (row == nullptr) {
    TargetDriverBuffer(res);
    return;
  }
  // Through the page table, the buffer starts at its offset into the first page.
  res.dmaTarget = {row->pageOffset, static_cast<std::uint8_t*>(row->buffer), static_cast<std::uint32_t>(row->size)};
  res.callerTarget = true;
  res.session->Dma()->WritePageTable(kTargetPageTableAt, row->pages);
}

void ReleaseLock(BoardResources& res, std::optional<LockedBuffer>& row) {
  if (!row) return;
  res.session->Device().Unlock(row->handle);
  row.reset();
}

std::int32_t LockDmaMemory(Library& lib, void* buffer, std::size_t size, std::uint32_t flags) {
  BoardResources& res = lib.Live().resources;
  if (!lib.Live().Located() || !res.session->Dma() || buffer == nullptr) return kFail;
  if (flags & lockflag::kUnlock) return Unlock(res, buffer, flags);
  if (flags & lockflag::kKeepTarget) return LockRow(lib, buffer, size) ? kOk : kFail;
  return LockDmaTarget(lib, buffer, size) ? kOk : kFail;
}

}  // namespace orvale::korrin
