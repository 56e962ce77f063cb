#pragma once
// A machine with simulated Korrin boards, behind the same DeviceAccess interface a
// kernel driver would answer: PCI configuration space, board attach, the display's
// frame buffer, DMA memory and locks, and interrupts, all on one virtual clock.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "cards/korrin/hardware/DeviceAccess.h"
#include "cards/korrin/sim/SimCard.h"
#include "cards/korrin/sim/SimMemory.h"
#include "platform/clock/VirtualClock.h"
#include "platform/display/DisplayService.h"

namespace orvale::korrin::sim {

struct SimOptions {
  int boards = 1;
  std::vector<ControllerKind> controllers{};  // per board; missing entries: none
  std::uint32_t displayAdapterId = 0x01231002;
  int displayWidth = 1024;
  int displayHeight = 768;
  int displayBits = 32;
  std::uint32_t dmaBufferSize = SimCard::kDefaultDmaBufferSize;
  std::uint8_t latencyTimer = 64;  // the SAA7146's latency timer at power-up
  int maxLocks = 16;               // locks one attach may hold
};

struct PciWrite {
  std::uint16_t handle;
  int reg;
  std::uint32_t value;
  int bytes;  // 4 or 1
};

class SimBoard final : public DeviceAccess {
 public:
  static constexpr std::uint32_t kFrameBufferAddress = 0xE0000000;
  static constexpr std::uint32_t kFrameBufferSize = 0x800000;

  SimBoard(VirtualClock& clock, SimOptions options = {});
  ~SimBoard() override;

  std::unique_ptr<DeviceSession> Attach(int boardIndex) override;
  std::uint16_t FindDevice(std::uint16_t vendor, std::uint16_t device, int index) override;
  std::uint16_t FindClass(std::uint32_t classCode, int index) override;
  std::optional<std::uint32_t> ReadConfigDword(std::uint16_t handle, int reg) override;
  bool WriteConfigDword(std::uint16_t handle, int reg, std::uint32_t value) override;
  std::optional<std::uint8_t> ReadConfigByte(std::uint16_t handle, int reg) override;
  bool WriteConfigByte(std::uint16_t handle, int reg, std::uint8_t value) override;

  VirtualClock& Clock() { return clock_; }
  SimMemory& Memory() { return memory_; }
  FakeDisplay& Display() { return display_; }
  std::vector<std::uint8_t>& FrameBuffer() { return frameBuffer_; }
  int Boards() const { return static_cast<int>(cards_.size()); }
  SimCard& Card(int index) { return *cards_.at(index); }
  std::uint16_t CardHandle(int index) const;
  std::uint16_t DisplayHandle() const { return kDisplayHandle; }
  std::array<std::uint8_t, 256>& ConfigSpace(std::uint16_t handle) { return config_.at(handle); }
  const std::vector<PciWrite>& PciWrites() const { return pciWrites_; }
  // Attaches currently held, over all boards; locks currently held.
  int Attached() const;
  std::size_t Locks() const;

 private:
  friend class SimSession;
  static constexpr std::uint16_t kDisplayHandle = 0x0008;
  VirtualClock& clock_;
  SimOptions options_;
  SimMemory memory_;
  FakeDisplay display_;
  std::vector<std::uint8_t> frameBuffer_;
  std::vector<std::unique_ptr<SimCard>> cards_;
  std::map<std::uint16_t, std::array<std::uint8_t, 256>> config_;
  std::vector<PciWrite> pciWrites_;
  std::uint32_t nextLockHandle_ = 1;
};

}  // namespace orvale::korrin::sim
