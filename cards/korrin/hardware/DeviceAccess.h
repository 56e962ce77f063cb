#pragma once
// The board as the library reaches it: the requests a kernel driver would answer. The
// library talks to nothing else, so a simulated board can stand in for the driver.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orvale::korrin {

// The SAA7146's registers. Offsets are in bytes; every access is 32 bits wide.
class RegisterWindow {
 public:
  virtual ~RegisterWindow() = default;
  virtual std::uint32_t Size() const = 0;
  virtual std::uint32_t Read32(std::uint32_t offset) = 0;
  virtual void Write32(std::uint32_t offset, std::uint32_t value) = 0;
};

// Memory the board can reach by DMA: its bus address and where the host sees it.
struct MemoryRegion {
  std::uint32_t physical = 0;
  std::uint8_t* linear = nullptr;
  std::uint32_t size = 0;
};

inline constexpr std::uint32_t kPageSize = 4096;

// Host memory locked for bus-master DMA: the driver's handle and the bus address of
// every page the buffer touches, in order.
struct LockedPages {
  std::uint32_t handle = 0;
  std::vector<std::uint32_t> pages;
};

// One board attached through the driver. Destroying it detaches the board and
// releases every lock still held.
class DeviceSession {
 public:
  virtual ~DeviceSession() = default;
  virtual RegisterWindow& Registers() = 0;
  virtual MemoryRegion FrameBuffer() const = 0;
  virtual MemoryRegion DmaBuffer() const = 0;

  virtual std::optional<LockedPages> Lock(void* buffer, std::size_t size) = 0;
  virtual bool Unlock(std::uint32_t handle) = 0;

  // The driver's interrupt signalling for one source; each attach has its own event.
  virtual bool EnableIrq(int source, std::int32_t argument) = 0;
  virtual bool DisableIrq(int source) = 0;
  virtual bool ClearIrq(int source) = 0;
  // Blocks until an interrupt was signalled or WakeIrq() was called (true), or until
  // `timeoutMs` passed on the board's clock (false). Calls `waiting` (when given) once
  // the wait has begun: a signal from then on, even one that comes before the thread
  // sleeps, ends this wait.
  virtual bool WaitIrq(std::uint32_t timeoutMs, const std::function<void()>& waiting) = 0;
  virtual void WakeIrq() = 0;
};

// The driver: PCI configuration space and board attach. PCI handles are the 16-bit
// bus/device/function word; 0 means "not found".
class DeviceAccess {
 public:
  virtual ~DeviceAccess() = default;
  // Null when the driver is missing or there is no board with that index.
  virtual std::unique_ptr<DeviceSession> Attach(int boardIndex) = 0;

  virtual std::uint16_t FindDevice(std::uint16_t vendor, std::uint16_t device, int index) = 0;
  virtual std::uint16_t FindClass(std::uint32_t classCode, int index) = 0;
  virtual std::optional<std::uint32_t> ReadConfigDword(std::uint16_t handle, int reg) = 0;
  virtual bool WriteConfigDword(std::uint16_t handle, int reg, std::uint32_t value) = 0;
  virtual std::optional<std::uint8_t> ReadConfigByte(std::uint16_t handle, int reg) = 0;
  virtual bool WriteConfigByte(std::uint16_t handle, int reg, std::uint8_t value) = 0;
};

// No driver: nothing attaches and every PCI request fails.
class NoDevice final : public DeviceAccess {
 public:
  std::unique_ptr<DeviceSession> Attach(int) override { return nullptr; }
  std::uint16_t FindDevice(std::uint16_t, std::uint16_t, int) override { return 0; }
  std::uint16_t FindClass(std::uint32_t, int) override { return 0; }
  std::optional<std::uint32_t> ReadConfigDword(std::uint16_t, int) override { return {}; }
  bool WriteConfigDword(std::uint16_t, int, std::uint32_t) override { return false; }
  std::optional<std::uint8_t> ReadConfigByte(std::uint16_t, int) override { return {}; }
  bool WriteConfigByte(std::uint16_t, int, std::uint8_t) override { return false; }
};

}  // namespace orvale::korrin
