#pragma once
// The board's configuration EEPROM at I2C 0xA0: 256 bytes behind an address pointer.
// After a written byte it is busy for a few milliseconds and acknowledges nothing.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>

#include "cards/korrin/sim/SimI2c.h"

namespace orvale::korrin::sim {

class SimEeprom final : public SimI2cDevice {
 public:
  static constexpr std::uint32_t kWriteCycleMs = 5;
  using TimeSource = std::function<std::uint32_t()>;

  explicit SimEeprom(TimeSource now) : now_(std::move(now)) { bytes_.fill(0xFF); }

  bool Write(std::span<const std::uint8_t> bytes) override;
  std::optional<std::uint8_t> Read() override;

  std::array<std::uint8_t, 256>& Bytes() { return bytes_; }
  std::size_t ByteWrites() const { return byteWrites_; }

  // Faults: writes are acknowledged but do not change the byte; a write cycle that
  // never ends (the bus stays busy); reads of these
  // addresses are never acknowledged; the byte write with this index (0-based) and all
  // after it are refused.
  bool writesIgnored = false;
  bool writeCycleNeverEnds = false;
  std::set<int> unreadable;
  std::optional<std::size_t> refuseWritesFrom;

 private:
  bool Busy() const;
  TimeSource now_;
  std::array<std::uint8_t, 256> bytes_{};
  std::uint8_t pointer_ = 0;
  std::optional<std::uint32_t> busySince_;
  std::size_t byteWrites_ = 0;
};

}  // namespace orvale::korrin::sim
