#pragma once
// Platform bitmaps of several pixel formats to the 8-bit intensity buffer.
#include <array>
#include <cstdint>
#include <span>

#include "platform/gdi/Dib.h"

namespace orvale {

// The compression code of 16- and 32-bit pixels whose channels are given by masks.
inline constexpr std::uint32_t kBitFieldsCompression = 3;

// A bitmap as the platform hands out its pixels: the format it reports and its rows.
struct BitmapPixels {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  int BitCount = 0;
  std::uint32_t Compression = gdi::BI_RGB;
  // Red, green and blue masks of 16- and 32-bit pixels when Compression is bit fields.
  std::array<std::uint32_t, 3> Masks{};
  // 8 bits per pixel: the 256-entry colour table.
  std::span<const gdi::RgbQuad> ColorTable;
  // The rows, Stride bytes apart, bottom-up unless TopDown.
  std::span<const std::uint8_t> Bits;
  std::int64_t Stride = 0;
  bool TopDown = false;
};

// The grey value of a pixel whose channels sum to `sum`: the mean of three, rounded
// to the nearest. A sum of whole numbers divided by 3 is never a half, so the rounding
// rule for halves does not come into play.
constexpr std::uint32_t MeanOfThree(std::uint32_t sum) { return (sum + 1) / 3; }

// Converts `bitmap` to grey into `data` (width x height bytes, rows from the top):
// 8 bits by the rounded mean of red, green and blue of the colour-table entry, 24 and
// 32 bits by the rounded mean of the three channels, 16 bits with each channel first
// scaled to 8 bits. Refuses, with a message, a bitmap whose size is not the one given
// ("Could not convert bitmap to valid data") and a pixel format other than 8, 16, 24
// or 32 bits ("Display adapter must have at least 256 color support").
bool BitmapToImageData(const BitmapPixels& bitmap, std::span<std::uint8_t> data,
                       std::int32_t width, std::int32_t height);

}  // namespace orvale
