#pragma once
// Colour values as the drawing code passes them around: 0x00BBGGRR.
#include <cstdint>

namespace orvale::gdi {

using Color = std::uint32_t;

// Returned by pixel reads and writes that did not happen (outside the surface or clip).
inline constexpr Color kInvalidColor = 0xFFFFFFFF;

constexpr Color RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<Color>(red) | (static_cast<Color>(green) << 8) |
         (static_cast<Color>(blue) << 16);
}
constexpr std::uint8_t GetRValue(Color c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(Color c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(Color c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// The 0x00RRGGBB word a 32-bit raster surface stores for a colour, and back.
constexpr std::uint32_t ColorToRgbWord(Color c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr Color RgbWordToColor(std::uint32_t w) {
  return ((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF);
}

}  // namespace orvale::gdi
