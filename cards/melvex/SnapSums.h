#pragma once
// The 16-bit sums snap averaging keeps per byte of a raw line, stored little-endian in
// the DIB's block: 255 snaps of 255 (65025) still fit.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/runtime/ByteFields.h"

namespace orvale::melvex {

inline void AddToSums(std::uint8_t* sums, const std::uint8_t* line, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    WriteLE16(sums + 2 * i, static_cast<std::uint16_t>(ReadLE16(sums + 2 * i) + line[i]));
  }
}

// Each sum divided (toward zero) and capped at 255.
inline void DivideSums(const std::uint8_t* sums, std::size_t count, int divisor, std::uint8_t* out) {
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = static_cast<std::uint8_t>(std::min(ReadLE16(sums + 2 * i) / divisor, 255));
  }
}

}  // namespace orvale::melvex
