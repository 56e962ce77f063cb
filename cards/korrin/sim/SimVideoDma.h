#pragma once
// The simulated board's video DMA: channels 1 and 3 write each captured field into
// memory through the bus address space (and the page table when one is enabled);
// channel 2 reads the clip mask, whose set bits keep pixels from being written.
#include <cstdint>
#include <functional>
#include <optional>

#include "cards/korrin/sim/SimCamera.h"
#include "cards/korrin/sim/SimMemory.h"
#include "cards/korrin/sim/SimRegisters.h"

namespace orvale::korrin::sim {

struct ChannelWords {
  std::uint32_t base = 0;
  std::uint32_t even = 0;
  std::uint32_t protection = 0;
  std::uint32_t pitch = 0;
  std::uint32_t pageTable = 0;
  std::uint32_t lines = 0;
};

// The byte a captured pixel carries: never 0, never above 200, so sentinels of 0 or
// 0xEE stand out. `frame` counts frames from the start of the board.
std::uint8_t PatternByte(std::uint64_t frame, int field, int line, int column, int byte);

class SimVideoDma {
 public:
  SimVideoDma(SimRegisters& registers, SimMemory& memory, SimCamera& camera)
      : registers_(registers), memory_(memory), camera_(camera) {}

  // Upload bits written to main control 2 (or by the programming sequence).
  void Upload(std::uint32_t bits);
  // One field has been digitised: every enabled channel writes it.
  void CaptureField(int field, std::uint64_t fieldNumber);

  const ChannelWords& Channel(int number) const;
  std::uint64_t FieldsWritten() const { return fieldsWritten_; }
  std::uint64_t PixelsMasked() const { return pixelsMasked_; }

 private:
  void WriteField(const ChannelWords& c, int width, int lines, int field, std::uint64_t fieldNumber);
  bool Masked(int field, int line, int column);
  // Four bytes channel `c` reads at `address`, through its page table when it has one.
  const std::uint8_t* Read(const ChannelWords& c, std::uint32_t address);
  // Writes through the page table when the channel has one.
  void Write(const ChannelWords& c, std::uint32_t address, const std::uint8_t* data, std::uint32_t size);

  SimRegisters& registers_;
  SimMemory& memory_;
  SimCamera& camera_;
  ChannelWords channel1_, channel2_, channel3_;
  std::uint32_t scalerGain_ = 0;
  std::uint32_t scalerHorizontal_ = 0;
  std::uint32_t selector1Scaler_ = 0;
  std::uint64_t fieldsWritten_ = 0;
  std::uint64_t pixelsMasked_ = 0;
};

}  // namespace orvale::korrin::sim
