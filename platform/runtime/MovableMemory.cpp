#include "platform/runtime/MovableMemory.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace orvale {

namespace {
// Handles step by this much, so that an address-like value near a live one is not live.
constexpr std::uintptr_t kHandleStep = 0x10;
}  // namespace

bool MovableMemory::Plan::Fails() {
  if (count <= 0) return false;
  if (skip > 0) {
    --skip;
    return false;
  }
  --count;
  return true;
}

MovableMemory::Block* MovableMemory::Find(MemoryHandle handle) {
  const auto it = blocks_.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == blocks_.end() ? nullptr : &it->second;
}

const MovableMemory::Block* MovableMemory::Find(MemoryHandle handle) const {
  const auto it = blocks_.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == blocks_.end() ? nullptr : &it->second;
}

MemoryHandle MovableMemory::Alloc(std::size_t bytes, bool zeroed) {
  std::lock_guard lock(mutex_);
  if (allocFailures_.Fails()) return nullptr;
  Block block;
  block.size = std::max<std::size_t>(bytes, 1);
  block.bytes.reset(new (std::nothrow) std::uint8_t[block.size]);
  if (!block.bytes) return nullptr;
  std::memset(block.bytes.get(), zeroed ? 0 : kUnwrittenByte, block.size);
  const std::uintptr_t handle = nextHandle_;
  nextHandle_ += kHandleStep;
  blocks_.emplace(handle, std::move(block));
  return reinterpret_cast<MemoryHandle>(handle);
}

void* MovableMemory::Lock(MemoryHandle handle) {
  std::lock_guard lock(mutex_);
  Block* block = Find(handle);
  if (block == nullptr || lockFailures_.Fails()) return nullptr;
  ++block->locks;
  return block->bytes.get();
}

bool MovableMemory::Unlock(MemoryHandle handle) {
  std::lock_guard lock(mutex_);
  Block* block = Find(handle);
  if (block == nullptr || block->locks == 0) return false;
  --block->locks;
  return true;
}

std::size_t MovableMemory::Size(MemoryHandle handle) const {
  std::lock_guard lock(mutex_);
  const Block* block = Find(handle);
  return block == nullptr ? 0 : block->size;
}

bool MovableMemory::Resize(MemoryHandle handle, std::size_t bytes) {
  std::lock_guard lock(mutex_);
  Block* block = Find(handle);
  if (block == nullptr || block->locks > 0) return false;
  const std::size_t size = std::max<std::size_t>(bytes, 1);
  // A fresh buffer of the new size, so that a read past the end stays detectable.
  std::unique_ptr<std::uint8_t[]> resized(new (std::nothrow) std::uint8_t[size]);
  if (!resized) return false;
  const std::size_t kept = std::min(size, block->size);
  std::memcpy(resized.get(), block->bytes.get(), kept);
  std::memset(resized.get() + kept, kUnwrittenByte, size - kept);
  block->bytes = std::move(resized);
  block->size = size;
  return true;
}

bool MovableMemory::Free(MemoryHandle handle) {
  std::lock_guard lock(mutex_);
  return blocks_.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1;
}

bool MovableMemory::IsLive(MemoryHandle handle) const {
  std::lock_guard lock(mutex_);
  return Find(handle) != nullptr;
}

std::size_t MovableMemory::LiveBlocks() const {
  std::lock_guard lock(mutex_);
  return blocks_.size();
}

int MovableMemory::LockCount(MemoryHandle handle) const {
  std::lock_guard lock(mutex_);
  const Block* block = Find(handle);
  return block == nullptr ? 0 : block->locks;
}

void MovableMemory::FailAlloc(int nth, int count) {
  std::lock_guard lock(mutex_);
  allocFailures_ = {nth - 1, count};
}

void MovableMemory::FailLock(int nth, int count) {
  std::lock_guard lock(mutex_);
  lockFailures_ = {nth - 1, count};
}

MovableMemory& ProcessMemory() {
  static MovableMemory memory;
  return memory;
}

}  // namespace orvale
