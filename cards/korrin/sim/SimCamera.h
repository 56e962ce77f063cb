#pragma once
// A camera on one input of the simulated board. Fields alternate in virtual time while
// the signal is on the input the board has selected.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace orvale::korrin::sim {

// The input the board has selected, as the decoder's input registers 32, 33, 34 (low
// six bits) and 44 show it.
using InputKey = std::array<std::uint8_t, 4>;

struct SimCamera {
  bool signal = true;
  int fieldsPerSecond = 60;
  // The input the camera is plugged into; empty: every input sees it.
  std::optional<InputKey> input;
  // When set, every pixel of line `line` of field `fieldNumber` has this brightness
  // (a flash script); otherwise fields carry the board's test pattern.
  std::function<int(std::uint64_t fieldNumber, int line)> brightness;

  bool SeenOn(const InputKey& selected) const { return signal && (!input || *input == selected); }
  // Length of field `n` in ms: 20 at 50 fields a second, 17, 17, 16, ... at 60.
  std::uint32_t FieldLengthMs(std::uint64_t n) const {
    if (fieldsPerSecond == 50) return 20;
    return n % 3 == 2 ? 16 : 17;
  }
};

}  // namespace orvale::korrin::sim
