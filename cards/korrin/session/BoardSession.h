#pragma once
// One board attached through the driver, with everything that lives only as long as the
// attach: the DMA area, the caller buffers locked for DMA and the interrupt worker. It
// sits on the heap and the board record that located the board owns it, so moving the
// record between multi-board slots moves only the pointer. A call that waits on the
// board keeps it too, to see whether the board was let go while it waited.
//
// The session ends in one order: the worker stops (and is joined by a thread other than
// its own), then locked buffers are unlocked, the DMA area is unlocked and freed, and
// the board is detached. EndSession (Startup.h) does the first step with the library's
// gate, Release the rest; a session destroyed without both does them itself.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "cards/korrin/hardware/DeviceAccess.h"
#include "cards/korrin/dma/DmaArea.h"

namespace orvale::korrin {

class IrqMachinery;

// A caller's buffer locked for DMA.
struct LockedBuffer {
  void* buffer = nullptr;
  std::size_t size = 0;
  std::uint32_t handle = 0;
  std::uint32_t pageOffset = 0;
  std::vector<std::uint32_t> pages;
};
inline constexpr std::size_t kLockRows = 8;
using LockRows = std::array<std::optional<LockedBuffer>, kLockRows>;

class BoardSession {
 public:
  // Attaches board `index`; null when the driver has no such board to give.
  static std::shared_ptr<BoardSession> Attach(DeviceAccess& device, int index);
  ~BoardSession();
  BoardSession(const BoardSession&) = delete;
  BoardSession& operator=(const BoardSession&) = delete;

  int BoardIndex() const { return index_; }

  DeviceSession& Device() { return *device_; }
  RegisterWindow& Registers() { return device_->Registers(); }

  // Allocates and locks the DMA area unless it exists; false when either fails.
  bool MakeDmaArea();
  DmaArea* Dma() { return dmaArea_.get(); }
  LockRows& Locks() { return locks_; }

  // The worker that calls the caller back, while one runs for this board.
  std::unique_ptr<IrqMachinery>& Worker() { return worker_; }

  // Unlocks the locked buffers, unlocks and frees the DMA area, and detaches; nothing
  // above may be used afterwards. The worker must be stopped first.
  void Release();

 private:
  BoardSession(std::unique_ptr<DeviceSession> device, int index);

  std::unique_ptr<DeviceSession> device_;
  int index_;
  std::unique_ptr<DmaArea> dmaArea_;
  LockRows locks_;
  std::unique_ptr<IrqMachinery> worker_;
};

}  // namespace orvale::korrin
