#pragma once
// Read access to the pixels a blit copies from: a 32-bit raster surface or the rows of
// a DIB. Rows are addressed from the top whatever the storage order.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/gdi/Dib.h"

namespace orvale::gdi {

// A 16- or 32-bit pixel's colour channel: the bits of its mask, scaled to 0..255.
struct ChannelMask {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t maximum = 1;  // mask >> shift
  std::uint32_t Level(std::uint32_t pixel) const {
    // In 64 bits: a channel of a 32-bit pixel may be wider than 24 bits.
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>((value * 255 + maximum / 2) / maximum);
  }
  static ChannelMask Of(std::uint32_t mask);
};

struct PixelSource {
  enum class Format { Rgb32, Indexed8, Bgr24, Bgrx32, Indexed4, Indexed1, Rgb16, Masked32 };
  Format format = Format::Rgb32;
  int width = 0;
  int height = 0;
  const std::uint8_t* bits = nullptr;  // the row at the top of the picture
  std::ptrdiff_t stride = 0;           // bytes from one row to the one below (may be < 0)
  const RgbQuad* palette = nullptr;    // Indexed8, Indexed4, Indexed1: 256, 16 or 2 entries
  ChannelMask red, green, blue;        // Rgb16 and Masked32 only

  // The 0x00RRGGBB word of pixel (x, y); x and y must lie inside.
  std::uint32_t RgbAt(int x, int y) const {
    const std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * stride;
    switch (format) {
      case Format::Rgb32: return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
      case Format::Indexed8:
      case Format::Indexed4:
      case Format::Indexed1: {
        const int index = format == Format::Indexed8   ? row[x]
                          : format == Format::Indexed4 ? ((x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4)
                                                       : (row[x / 8] >> (7 - (x & 7))) & 1;
        const RgbQuad& q = palette[index];
        return (static_cast<std::uint32_t>(q.rgbRed) << 16) |
               (static_cast<std::uint32_t>(q.rgbGreen) << 8) | q.rgbBlue;
      }
      case Format::Rgb16: {
        const std::uint32_t pixel = row[2 * x] | (static_cast<std::uint32_t>(row[2 * x + 1]) << 8);
        return (red.Level(pixel) << 16) | (green.Level(pixel) << 8) | blue.Level(pixel);
      }
      case Format::Masked32: {
        const std::uint8_t* p = row + 4 * static_cast<std::ptrdiff_t>(x);
        const std::uint32_t pixel = p[0] | (static_cast<std::uint32_t>(p[1]) << 8) |
                                    (static_cast<std::uint32_t>(p[2]) << 16) |
                                    (static_cast<std::uint32_t>(p[3]) << 24);
        return (red.Level(pixel) << 16) | (green.Level(pixel) << 8) | blue.Level(pixel);
      }
      case Format::Bgr24: {
        const std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x);
        return (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) |
               p[0];
      }
      case Format::Bgrx32: {
        const std::uint8_t* p = row + 4 * static_cast<std::ptrdiff_t>(x);
        return (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) |
               p[0];
      }
    }
    return 0;
  }
};

// A source over the rows of an uncompressed 1-, 4-, 8-, 16- (5:5:5), 24- or 32-bit DIB, or a
// 16- or 32-bit DIB with bit-field masks (compression 3, the masks in the first three
// entries of the colour table). Fails for any other format, a palette-index colour table, a zero
// size, or `bits` too short for the rows.
std::optional<PixelSource> DibPixelSource(const BitmapInfo& info,
                                          std::span<const std::uint8_t> bits,
                                          std::uint32_t colorUse = DIB_RGB_COLORS);

}  // namespace orvale::gdi
