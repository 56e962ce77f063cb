#pragma once
// Scoped use of movable blocks: a block freed unless the caller keeps it, and a lock
// released at the end of a scope.
#include <cstdint>

#include "platform/runtime/MovableMemory.h"

namespace orvale::melvex {

class OwnedBlock {
 public:
  OwnedBlock(MovableMemory& memory, MemoryHandle handle) : memory_(memory), handle_(handle) {}
  ~OwnedBlock() {
    if (handle_ != nullptr) memory_.Free(handle_);
  }
  OwnedBlock(const OwnedBlock&) = delete;
  OwnedBlock& operator=(const OwnedBlock&) = delete;

  MemoryHandle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // The block is the caller's from now on.
  MemoryHandle Keep() {
    MemoryHandle kept = handle_;
    handle_ = nullptr;
    return kept;
  }

 private:
  MovableMemory& memory_;
  MemoryHandle handle_;
};

class LockedBlock {
 public:
  LockedBlock(MovableMemory& memory, MemoryHandle handle)
      : memory_(memory), handle_(handle), bytes_(static_cast<std::uint8_t*>(memory.Lock(handle))) {}
  ~LockedBlock() { Unlock(); }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;

  explicit operator bool() const { return bytes_ != nullptr; }
  std::uint8_t* Bytes() const { return bytes_; }
  std::size_t Size() const { return memory_.Size(handle_); }
  void Unlock() {
    if (bytes_ != nullptr) memory_.Unlock(handle_);
    bytes_ = nullptr;
  }

 private:
  MovableMemory& memory_;
  MemoryHandle handle_;
  std::uint8_t* bytes_;
};

// A new block, locked for the scope and freed at its end unless kept.
class NewBlock {
 public:
  NewBlock(MovableMemory& memory, std::size_t bytes, bool zeroed = false)
      : owned_(memory, memory.Alloc(bytes, zeroed)), locked_(memory, owned_.Get()) {}

  explicit operator bool() const { return static_cast<bool>(locked_); }
  std::uint8_t* Bytes() const { return locked_.Bytes(); }
  MemoryHandle Handle() const { return owned_.Get(); }
  void Unlock() { locked_.Unlock(); }
  // Unlocked, and the caller's from now on.
  MemoryHandle Keep() {
    locked_.Unlock();
    return owned_.Keep();
  }

 private:
  OwnedBlock owned_;
  LockedBlock locked_;
};

}  // namespace orvale::melvex
