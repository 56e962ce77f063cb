#pragma once
// Locking a caller's buffer for DMA, and making it (or the driver's buffer again) the
// current DMA target. A board holds at most eight such locks.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

namespace lockflag {
inline constexpr std::uint32_t kUnlock = 0x4000;
inline constexpr std::uint32_t kKeepTarget = 0x8000;  // do not change the DMA target
}  // namespace lockflag

inline constexpr std::size_t kMaxLockPages = kPageTableEntries;

// Pages a buffer touches: its size rounded up, plus one when it starts inside a page
// and so crosses one more boundary.
std::size_t PagesSpanned(const void* buffer, std::size_t size);

std::int32_t LockDmaMemory(Library& lib, void* buffer, std::size_t size, std::uint32_t flags);

// Locks `buffer` and makes it the DMA target; its lock row, or null when it cannot be locked
// (then nothing has changed).
std::optional<LockedBuffer>* LockDmaTarget(Library& lib, void* buffer, std::size_t size);
// The lock row of the current DMA target, or null when the target is the driver's buffer.
std::optional<LockedBuffer>* TargetLock(BoardResources& res);
// Makes `row` the DMA target again, or the driver's buffer when it is null.
void RestoreDmaTarget(BoardResources& res, const LockedBuffer* row);
// Unlocks exactly this row and empties it; the DMA target is left to the caller.
void ReleaseLock(BoardResources& res, std::optional<LockedBuffer>& row);

}  // namespace orvale::korrin
