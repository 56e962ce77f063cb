#include "cards/melvex/LineScaling.h"

#include <cstring>

namespace orvale::melvex {

namespace {

constexpr std::uint8_t kNeutralChroma = 128;

inline std::uint8_t Blend(int low, int high, std::int64_t f) {
  return static_cast<std::uint8_t>((f * high + (65536 - f) * low) >> 16);
}

// Appends one pixel to an odd line: the chroma byte of the pair before, its last luma.
void CompleteOddPair(std::uint8_t* line, int samples) {
  line[2 * samples] = samples >= 2 ? line[2 * samples - 4] : kNeutralChroma;
  line[2 * samples + 1] = line[2 * samples - 1];
}

}  // namespace

void StretchGreyLine(std::uint8_t* line, int samples, int outWidth) {
  if (samples >= outWidth || samples < 1) return;
  if (samples == 1) {
    std::memset(line + 1, line[0], static_cast<std::size_t>(outWidth - 1));
    return;
  }
  const std::int64_t step = FixedStep(samples, outWidth);
  for (int x = outWidth - 1; x >= 0; --x) {
    const std::int64_t s = x * step;
    const std::int64_t i = s >> 16;
    line[x] = Blend(line[i], line[i + 1], s & 0xFFFF);
  }
}

int StretchColourLine(std::uint8_t* line, int samples, int outWidth) {
  if (samples >= outWidth || samples < 1) return samples;
  const int even = samples + (samples & 1);
  const int target = outWidth + (outWidth & 1);
  if (samples & 1) CompleteOddPair(line, samples);
  if (samples <= 3) {
    // Too few pixels to interpolate: repeat the last pair.
    for (int p = even; p < target; p += 2) std::memcpy(line + 2 * p, line + 2 * (even - 2), 4);
    return target;
  }
  const std::int64_t lumaStep = FixedStep(even, target);
  for (int x = target - 1; x >= 0; --x) {
    const std::int64_t s = x * lumaStep;
    const std::int64_t i = s >> 16;
    line[2 * x + 1] = Blend(line[2 * i + 1], line[2 * i + 3], s & 0xFFFF);
  }
  const int pairs = target / 2;
  const std::int64_t chromaStep = FixedStep(even / 2, pairs);
  for (int q = pairs - 1; q >= 0; --q) {
    const std::int64_t s = q * chromaStep;
    const std::int64_t i = s >> 16;
    const std::int64_t f = s & 0xFFFF;
    line[4 * q] = Blend(line[4 * i], line[4 * i + 4], f);
    line[4 * q + 2] = Blend(line[4 * i + 2], line[4 * i + 6], f);
  }
  return target;
}

void InterpolateLines(const std::uint8_t* a, const std::uint8_t* b, std::uint32_t f,
                      std::size_t bytes, std::uint8_t* out) {
  const std::uint32_t g = 65536 - f;
  for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>((a[i] * g + b[i] * f) >> 16);
}

}  // namespace orvale::melvex
