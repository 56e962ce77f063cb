#pragma once
// The SAA7146's register window as the simulated board shows it: plain registers,
// main controls 1 and 2 with masked writes (the high half selects which low bits
// change), write-1-to-clear interrupt status, and hooks for the parts of the board
// that act on a write or answer a read.
#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "cards/korrin/hardware/DeviceAccess.h"

namespace orvale::korrin::sim {

struct RegisterWrite {
  std::uint32_t offset;
  std::uint32_t value;  // as written, before any masking
  std::uint32_t timeMs;
};

class SimRegisters final : public RegisterWindow {
 public:
  static constexpr std::uint32_t kSize = 0x200;
  using WriteHook = std::function<void(std::uint32_t offset, std::uint32_t value)>;
  using ReadHook = std::function<std::uint32_t(std::uint32_t offset, std::uint32_t stored)>;
  using TimeSource = std::function<std::uint32_t()>;

  explicit SimRegisters(TimeSource now) : now_(std::move(now)) {}

  std::uint32_t Size() const override { return kSize; }
  std::uint32_t Read32(std::uint32_t offset) override;
  void Write32(std::uint32_t offset, std::uint32_t value) override;

  // Runs after each write has been stored; reads pass through the read hook.
  void SetWriteHook(WriteHook hook) { writeHook_ = std::move(hook); }
  void SetReadHook(ReadHook hook) { readHook_ = std::move(hook); }

  // The stored value, without hooks.
  std::uint32_t Peek(std::uint32_t offset) const;
  void Poke(std::uint32_t offset, std::uint32_t value);
  // Raises interrupt status bits (as hardware does).
  void RaiseStatus(std::uint32_t bits);

  std::vector<RegisterWrite> Writes() const;
  std::vector<std::uint32_t> WritesTo(std::uint32_t offset) const;
  std::size_t ReadCount() const;
  void ClearLog();

 private:
  TimeSource now_;
  mutable std::recursive_mutex mutex_;
  std::array<std::uint32_t, kSize / 4> words_{};
  std::vector<RegisterWrite> log_;
  std::size_t reads_ = 0;
  WriteHook writeHook_;
  ReadHook readHook_;
};

}  // namespace orvale::korrin::sim
