#pragma once
// Movable memory blocks, in place of GlobalAlloc, GlobalLock, GlobalUnlock, GlobalSize,
// GlobalReAlloc and GlobalFree, for libraries that hand images to their callers as
// blocks the caller owns and frees. A handle is a number, not an address: one a caller
// made up, or one already freed, is refused by every call instead of being read.
//
// New blocks are not zeroed unless asked (they hold a fill pattern, so code that forgets
// to write part of a block shows it). Tests can make allocations and locks fail and count
// the blocks still alive, to prove that a failing call leaks nothing.
//
//   MovableMemory& memory = ProcessMemory();
//   const MemoryHandle block = memory.Alloc(bytes);
//   auto* bytes = static_cast<std::uint8_t*>(memory.Lock(block));
//   ...
//   memory.Unlock(block);
//   memory.Free(block);
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace orvale {

using MemoryHandle = void*;

// The byte new blocks hold when they are not zeroed.
inline constexpr std::uint8_t kUnwrittenByte = 0xCD;

class MovableMemory {
 public:
  // A block of `bytes` (at least 1); null when memory runs out or a failure is planned.
  MemoryHandle Alloc(std::size_t bytes, bool zeroed = false);
  // The block's bytes, which stay where they are until the block is unlocked as often
  // as it was locked; null for an unknown handle or a planned failure.
  void* Lock(MemoryHandle handle);
  bool Unlock(MemoryHandle handle);
  // 0 for an unknown handle.
  std::size_t Size(MemoryHandle handle) const;
  // Shrinks or grows an unlocked block, keeping its leading bytes; false for a locked or
  // unknown block, or when memory runs out (the block is then unchanged).
  bool Resize(MemoryHandle handle, std::size_t bytes);
  // False for an unknown handle.
  bool Free(MemoryHandle handle);

  bool IsLive(MemoryHandle handle) const;
  std::size_t LiveBlocks() const;
  int LockCount(MemoryHandle handle) const;

  // The `nth` (1-based) allocation or lock from now fails, and `count` - 1 after it.
  void FailAlloc(int nth, int count = 1);
  void FailLock(int nth, int count = 1);

 private:
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
    int locks = 0;
  };
  struct Plan {
    int skip = 0;
    int count = 0;
    bool Fails();
  };
  Block* Find(MemoryHandle handle);
  const Block* Find(MemoryHandle handle) const;

  mutable std::mutex mutex_;
  std::map<std::uintptr_t, Block> blocks_;
  std::uintptr_t nextHandle_ = 0x10000;
  Plan allocFailures_;
  Plan lockFailures_;
};

// The instance for the whole process.
MovableMemory& ProcessMemory();

}  // namespace orvale
