#pragma once
// The devices on the simulated board's local bus: a register per address, the line
// counter at 0xF800, the timing device behind 0xF000/0xF001 and the readable status at
// 0xFC00.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace orvale::korrin::sim {

struct LocalWrite {
  std::uint32_t address;
  std::uint32_t value;
};

class SimLocalBus {
 public:
  using TimeSource = std::function<std::uint32_t()>;
  // Counts of the line counter per millisecond (1170 per line).
  static constexpr std::uint32_t kCountsPerMs = 18427;

  explicit SimLocalBus(TimeSource now) : now_(std::move(now)) {}

  void Write(std::uint32_t address, std::uint32_t value);
  std::uint32_t Read(std::uint32_t address);

  std::uint32_t Value(std::uint32_t address) const;
  const std::vector<LocalWrite>& Writes() const { return writes_; }
  std::vector<std::uint32_t> WritesTo(std::uint32_t address) const;
  // (register, value) pairs the timing device took.
  const std::vector<std::pair<int, int>>& TimingWrites() const { return timing_; }

  // What a read of 0xFC00 shows (the controller's ready line is bit 4).
  std::function<std::uint32_t()> statusBits = [] { return 0u; };
  // The value read at 0xF100 (board inputs).
  std::function<std::uint32_t()> inputs = [] { return 0u; };
  bool counterFrozen = false;

 private:
  void TimingDevice(std::uint32_t address, std::uint32_t value);
  TimeSource now_;
  std::map<std::uint32_t, std::uint32_t> values_;
  std::vector<LocalWrite> writes_;
  std::vector<std::pair<int, int>> timing_;
  std::uint32_t counterStart_ = 0;
  int timingRegister_ = 0;
  int timingLow_ = -1;
};

}  // namespace orvale::korrin::sim
