#pragma once
// The scaler words for a geometry: pure arithmetic, no board.
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "cards/korrin/session/BoardState.h"

namespace orvale::korrin {

struct ScalerInput {
  int xDelay = 0;
  int yDelay = 0;
  Rect16 input;
  Rect16 window;
  int acquisitionMode = 1;  // 1 fields, 2 frames, 3 single field
  bool interleave = false;
  int channel = 0;
  int limitWidth = 640;
  bool halving = false;
};

struct ScalerWords {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> writes;  // register, value
  std::uint32_t upload = 0;
};

// Empty when the scale cannot be made: a prescale above 64, a fine scale above 4095 or
// a vertical ratio of 1024 or more; with channel selector 1, a window narrower than an
// eighth of the input.
std::optional<ScalerWords> ComputeScaler(const ScalerInput& in);

}  // namespace orvale::korrin
