#pragma once
// The simulated board's serial port: a 2681-type UART whose bus hangs on two I2C port
// expanders. Expander 0x40 latches the control byte (register in bits 0-2, strobes in
// bits 3 and 4, the bank in bits 5-7); expander 0x42 carries the data. The UART reads
// when bit 4 falls and writes when bit 3 rises again.
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "cards/korrin/sim/SimI2c.h"

namespace orvale::korrin::sim {

class SimUart {
 public:
  using TimeSource = std::function<std::uint32_t()>;
  explicit SimUart(TimeSource now);

  SimI2cDevice& Control() { return control_; }
  SimI2cDevice& Data() { return data_; }

  // A byte the peer sends, received at `timeMs`.
  void PeerSends(std::uint8_t byte, std::uint32_t timeMs = 0) { incoming_.emplace_back(timeMs, byte); }
  const std::vector<std::uint8_t>& Sent() const { return sent_; }
  bool transmitterBlocked = false;

  std::uint8_t Mr1() const { return mr_[0]; }
  std::uint8_t Mr2() const { return mr_[1]; }
  std::uint8_t Csr() const { return csr_; }
  std::uint8_t Acr() const { return acr_; }
  // Every register write as (register, value), in order.
  const std::vector<std::pair<int, int>>& Writes() const { return writes_; }
  // Control bytes with a bank other than the UART's.
  std::size_t OtherBankStrobes() const { return otherBank_; }

 private:
  class Latch final : public SimI2cDevice {
   public:
    explicit Latch(SimUart& uart, bool control) : uart_(uart), control_(control) {}
    bool Write(std::span<const std::uint8_t> bytes) override;
    std::optional<std::uint8_t> Read() override;

   private:
    SimUart& uart_;
    bool control_;
  };

  void OnControl(std::uint8_t byte);
  std::uint8_t ReadRegister(int reg);
  void WriteRegister(int reg, std::uint8_t value);
  bool ByteWaiting() const;

  TimeSource now_;
  Latch control_;
  Latch data_;
  std::uint8_t controlByte_ = 0xFF;
  std::uint8_t dataLatch_ = 0xFF;
  std::uint8_t dataLines_ = 0xFF;
  std::deque<std::pair<std::uint32_t, std::uint8_t>> incoming_;
  std::vector<std::uint8_t> sent_;
  std::vector<std::pair<int, int>> writes_;
  std::uint8_t mr_[2] = {0, 0};
  int mrPointer_ = 0;
  std::uint8_t csr_ = 0;
  std::uint8_t acr_ = 0;
  bool rxEnabled_ = false;
  bool txEnabled_ = false;
  std::size_t otherBank_ = 0;
};

}  // namespace orvale::korrin::sim
