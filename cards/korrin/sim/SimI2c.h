#pragma once
// The simulated I2C bus: the SAA7146's I2C engine and the devices on the bus.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace orvale::korrin::sim {

// One device at a 7-bit address. A write carries the bytes after the address; a read
// returns one byte from wherever the device stands. Empty / false means no acknowledge.
class SimI2cDevice {
 public:
  virtual ~SimI2cDevice() = default;
  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
  virtual std::optional<std::uint8_t> Read() = 0;
};

// A device with 256 byte registers and an address pointer; every write is logged.
class SimRegisterFile : public SimI2cDevice {
 public:
  bool Write(std::span<const std::uint8_t> bytes) override;
  std::optional<std::uint8_t> Read() override;
  std::array<std::uint8_t, 256>& Registers() { return registers_; }
  // (register, value) of every register write, in order.
  const std::vector<std::pair<int, int>>& Log() const { return log_; }

 protected:
  virtual void OnWrite(int reg, std::uint8_t value);
  std::array<std::uint8_t, 256> registers_{};
  std::uint8_t pointer_ = 0;
  std::vector<std::pair<int, int>> log_;
};

struct I2cTransfer {
  std::uint32_t word;  // the control word uploaded
  bool acknowledged;
};

class SimI2cEngine {
 public:
  // `address8` is the 8-bit write address (the device's 7-bit address << 1).
  void Attach(std::uint8_t address8, SimI2cDevice* device);
  void Detach(std::uint8_t address8);

  // Runs the transfer in the control word; returns the word with any read byte placed
  // and whether every byte was acknowledged.
  std::pair<std::uint32_t, bool> Run(std::uint32_t word);

  // Fault injection: the transfer with this index (0-based, counting every upload) is
  // not acknowledged; or every transfer to one address is refused.
  std::function<bool(std::size_t index, std::uint8_t address8)> refuse;
  // This many uploads leave the busy bit set until the engine is aborted.
  int stuckBusyUploads = 0;

  const std::vector<I2cTransfer>& Transfers() const { return transfers_; }

 private:
  std::map<std::uint8_t, SimI2cDevice*> devices_;
  std::vector<I2cTransfer> transfers_;
};

}  // namespace orvale::korrin::sim
