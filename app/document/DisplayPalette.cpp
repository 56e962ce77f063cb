#include "app/document/DisplayPalette.h"

#include "platform/runtime/Markers.h"

namespace orvale {

void SetDisplayPalette(bool redDisplay, bool autoStretch, std::span<const std::uint8_t> pixels,
                       gdi::BitmapInfo& info, std::int32_t& firstIndex) {
  if (firstIndex == kNotGivenLong) firstIndex = 0;
  if (info.header.biBitCount != 8) return;
  auto& table = info.colors;
  if (!autoStretch) {
    for (int i = 0; i < 256; ++i) {
      const auto level = static_cast<std::uint8_t>(i);
      gdi::RgbQuad& entry = table[static_cast<std::size_t>(i)];
      entry.rgbRed = level;
      entry.rgbGreen = redDisplay ? 0 : level;
      entry.rgbBlue = redDisplay ? 0 : level;
    }
    return;
  }
  int lo = 255;
  int hi = 0;
  bool any = false;
  if (firstIndex >= 0) {
    for (std::size_t k = static_cast<std::size_t>(firstIndex); k < pixels.size(); ++k) {
      const int b = pixels[k];
      any = true;
      if (b != 0 && b < lo) lo = b;
      if (b > hi) hi = b;
    }
  }
  if (!any || hi <= lo) {
    lo = 0;
    hi = 255;
  }
  for (int i = 0; i < 256; ++i) {
    int level = 0;
    if (i >= hi) {
      level = 255;
    } else if (i > lo) {
      level = (255 * i - 255 * lo) / (hi - lo);
    }
    const auto byte = static_cast<std::uint8_t>(level);
    gdi::RgbQuad& entry = table[static_cast<std::size_t>(i)];
    entry.rgbRed = byte;
    if (!redDisplay) {
      entry.rgbGreen = byte;
      entry.rgbBlue = byte;
    }
  }
}

}  // namespace orvale
