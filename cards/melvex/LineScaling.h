#pragma once
// Stretching a card line to the output width and interpolating between two card lines,
// in 16.16 fixed point. Stretches run in place, from the last output sample down, in a
// buffer that holds the output line (kLineBufferBytes).
#include <cstddef>
#include <cstdint>

namespace orvale::melvex {

// Stretches `samples` grey bytes to `outWidth`; a single sample is repeated.
void StretchGreyLine(std::uint8_t* line, int samples, int outWidth);

// Stretches `samples` CbYCrY pixels to `outWidth` rounded up to even. An odd line first
// gets one more pixel: the chroma of the pair before and its own last luma. Lines of up to
// three pixels are completed so and then repeat their last pair. Returns the pixels the
// line holds afterwards.
int StretchColourLine(std::uint8_t* line, int samples, int outWidth);

// out[i] = (a[i] x (65536 - f) + b[i] x f) >> 16 for `bytes` bytes.
void InterpolateLines(const std::uint8_t* a, const std::uint8_t* b, std::uint32_t f,
                      std::size_t bytes, std::uint8_t* out);

// The 16.16 step that maps `outCount` positions onto `inCount` samples, first onto
// first and last onto last.
inline std::int64_t FixedStep(int inCount, int outCount) {
  return (static_cast<std::int64_t>(inCount) * 65536 - 65537) / (outCount - 1);
}

}  // namespace orvale::melvex
