#include "cards/korrin/sim/SimBoard.h"

#include <algorithm>
#include <cstring>

#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin::sim {
namespace {

void Put32(std::array<std::uint8_t, 256>& space, int reg, std::uint32_t value) {
  std::memcpy(space.data() + reg, &value, 4);
}

}  // namespace

// The driver side of one attach.
class SimSession final : public DeviceSession {
 public:
  SimSession(SimBoard& machine, SimCard& card) : machine_(machine), card_(card) {
    card_.attached = true;
    ++card_.attachCount;
  }
  ~SimSession() override {
    for (const auto& [handle, pages] : card_.locks) {
      for (std::uint32_t page : pages) machine_.memory_.Unmap(page);
    }
    card_.locks.clear();
    card_.driverIrqSources = 0;
    card_.attached = false;
    --card_.attachCount;
  }

  RegisterWindow& Registers() override { return card_.Registers(); }
  MemoryRegion FrameBuffer() const override {
    return {SimBoard::kFrameBufferAddress, machine_.frameBuffer_.data(), SimBoard::kFrameBufferSize};
  }
  MemoryRegion DmaBuffer() const override {
    return {card_.DmaBufferAddress(), card_.DmaBuffer().data(),
            static_cast<std::uint32_t>(card_.DmaBuffer().size())};
  }

  std::optional<LockedPages> Lock(void* buffer, std::size_t size) override {
    if (buffer == nullptr || size == 0) return std::nullopt;
    if (static_cast<int>(card_.locks.size()) >= machine_.options_.maxLocks) return std::nullopt;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t end = start + size;
    LockedPages locked;
    locked.handle = machine_.nextLockHandle_++;
    for (std::uintptr_t page = start & ~std::uintptr_t{kPageSize - 1}; page < end; page += kPageSize) {
      // Only the buffer's own bytes of each page count as memory DMA may reach.
      const std::uintptr_t from = std::max(page, start);
      const std::uintptr_t to = std::min<std::uintptr_t>(page + kPageSize, end);
      const std::uint32_t address = machine_.memory_.NewPageAddress();
      machine_.memory_.Map(address + static_cast<std::uint32_t>(from - page),
                           reinterpret_cast<std::uint8_t*>(from), static_cast<std::uint32_t>(to - from));
      locked.pages.push_back(address);
    }
    std::vector<std::uint32_t> mapped;
    for (std::size_t i = 0; i < locked.pages.size(); ++i) {
      const std::uintptr_t page = (start & ~std::uintptr_t{kPageSize - 1}) + i * kPageSize;
      mapped.push_back(locked.pages[i] + static_cast<std::uint32_t>(std::max(page, start) - page));
    }
    card_.locks[locked.handle] = mapped;
    return locked;
  }

  bool Unlock(std::uint32_t handle) override {
    const auto it = card_.locks.find(handle);
    if (it == card_.locks.end()) return false;
    for (std::uint32_t page : it->second) machine_.memory_.Unmap(page);
    card_.locks.erase(it);
    return true;
  }

  bool EnableIrq(int source, std::int32_t) override {
    card_.driverIrqSources |= 1u << (source & 31);
    return true;
  }
  bool DisableIrq(int source) override {
    card_.driverIrqSources &= ~(1u << (source & 31));
    return true;
  }
  bool ClearIrq(int) override { return true; }
  bool WaitIrq(std::uint32_t timeoutMs, const std::function<void()>& waiting) override {
    return card_.WaitIrq(timeoutMs, waiting);
  }
  void WakeIrq() override { card_.irqEvent->Signal(); }

 private:
  SimBoard& machine_;
  SimCard& card_;
};

SimBoard::SimBoard(VirtualClock& clock, SimOptions options)
    : clock_(clock),
      options_(std::move(options)),
      display_(options_.displayWidth, options_.displayHeight, options_.displayBits),
      frameBuffer_(kFrameBufferSize) {
  memory_.Map(kFrameBufferAddress, frameBuffer_.data(), kFrameBufferSize);
  for (int i = 0; i < options_.boards; ++i) {
    const ControllerKind kind = i < static_cast<int>(options_.controllers.size())
                                    ? options_.controllers[i]
                                    : ControllerKind::kNone;
    cards_.push_back(std::make_unique<SimCard>(clock_, memory_, i, kind, options_.dmaBufferSize));
    auto& space = config_[CardHandle(i)];
    space.fill(0);
    Put32(space, 0, (std::uint32_t{saa::kDevice} << 16) | saa::kVendor);
    Put32(space, 8, 0x04800001);
    Put32(space, 12, 0x00000008u | (std::uint32_t{options_.latencyTimer} << 8));
    Put32(space, 16, 0xFEB00000u + static_cast<std::uint32_t>(i) * 0x1000u);
    Put32(space, 60, 0x0000010Bu - static_cast<std::uint32_t>(i));
  }
  auto& display = config_[kDisplayHandle];
  display.fill(0);
  Put32(display, 0, options_.displayAdapterId);
  Put32(display, 8, (saa::kDisplayClass << 8) | 0x01);
  Put32(display, 16, kFrameBufferAddress);
}

SimBoard::~SimBoard() = default;

std::uint16_t SimBoard::CardHandle(int index) const {
  return static_cast<std::uint16_t>(0x0110 + index * 8);
}

std::unique_ptr<DeviceSession> SimBoard::Attach(int boardIndex) {
  if (boardIndex < 0 || boardIndex >= Boards()) return nullptr;
  SimCard& card = *cards_[boardIndex];
  if (card.attached) return nullptr;  // the device opens without sharing
  return std::make_unique<SimSession>(*this, card);
}

std::uint16_t SimBoard::FindDevice(std::uint16_t vendor, std::uint16_t device, int index) {
  if (vendor != saa::kVendor || device != saa::kDevice) return 0;
  if (index < 0 || index >= Boards()) return 0;
  return CardHandle(index);
}

std::uint16_t SimBoard::FindClass(std::uint32_t classCode, int index) {
  return classCode == saa::kDisplayClass && index == 0 ? kDisplayHandle : 0;
}

std::optional<std::uint32_t> SimBoard::ReadConfigDword(std::uint16_t handle, int reg) {
  const auto it = config_.find(handle);
  if (it == config_.end() || reg < 0 || reg > 252 || reg % 4 != 0) return std::nullopt;
  std::uint32_t value;
  std::memcpy(&value, it->second.data() + reg, 4);
  return value;
}

bool SimBoard::WriteConfigDword(std::uint16_t handle, int reg, std::uint32_t value) {
  const auto it = config_.find(handle);
  if (it == config_.end() || reg < 0 || reg > 252 || reg % 4 != 0) return false;
  pciWrites_.push_back({handle, reg, value, 4});
  std::memcpy(it->second.data() + reg, &value, 4);
  return true;
}

std::optional<std::uint8_t> SimBoard::ReadConfigByte(std::uint16_t handle, int reg) {
  const auto it = config_.find(handle);
  if (it == config_.end() || reg < 0 || reg > 255) return std::nullopt;
  return it->second[reg];
}

bool SimBoard::WriteConfigByte(std::uint16_t handle, int reg, std::uint8_t value) {
  const auto it = config_.find(handle);
  if (it == config_.end() || reg < 0 || reg > 255) return false;
  pciWrites_.push_back({handle, reg, value, 1});
  it->second[reg] = value;
  return true;
}

int SimBoard::Attached() const {
  int n = 0;
  for (const auto& card : cards_) n += card->attachCount;
  return n;
}

std::size_t SimBoard::Locks() const {
  std::size_t n = 0;
  for (const auto& card : cards_) n += card->locks.size();
  return n;
}

}  // namespace orvale::korrin::sim
