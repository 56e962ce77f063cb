#pragma once
// Device-independent bitmaps: a header (40 bytes, or a longer version of it such as the
// 108-byte V4 and 124-byte V5 headers, which begin with the same fields), an optional
// colour table, then rows padded to 4 bytes, bottom-up unless the height is negative.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orvale::gdi {

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_BITFIELDS = 3;
inline constexpr std::uint32_t DIB_RGB_COLORS = 0;
inline constexpr std::uint32_t DIB_PAL_COLORS = 1;
inline constexpr std::size_t kBitmapInfoHeaderSize = 40;
// Headers of this size and more hold the red, green and blue masks themselves (V2 onwards).
inline constexpr std::size_t kHeaderWithMasksSize = 52;
inline constexpr std::size_t kColorTableSize = 256;

struct BitmapInfoHeader {
  std::uint32_t biSize = kBitmapInfoHeaderSize;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;  // negative = rows from the top
  std::uint16_t biPlanes = 1;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = BI_RGB;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
  friend bool operator==(const BitmapInfoHeader&, const BitmapInfoHeader&) = default;
};

struct RgbQuad {
  std::uint8_t rgbBlue = 0;
  std::uint8_t rgbGreen = 0;
  std::uint8_t rgbRed = 0;
  std::uint8_t rgbReserved = 0;
  friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

// A header followed by its 256-entry colour table. For a 16- or 32-bit DIB with bit-field
// masks, the first three entries are the red, green and blue masks wherever the DIB keeps them.
struct BitmapInfo {
  BitmapInfoHeader header;
  std::array<RgbQuad, kColorTableSize> colors{};
  // Mask 0, 1 or 2 (red, green, blue) of a bit-field DIB.
  std::uint32_t Mask(std::size_t i) const {
    const RgbQuad& q = colors[i];
    return q.rgbBlue | (std::uint32_t{q.rgbGreen} << 8) | (std::uint32_t{q.rgbRed} << 16) |
           (std::uint32_t{q.rgbReserved} << 24);
  }
};

// Bytes per row of `width` pixels of `bitCount` bits, padded to a multiple of 4.
std::int64_t DibStride(std::int32_t width, int bitCount);

// The 40 header bytes at `p`, little-endian, read or written field by field.
BitmapInfoHeader ReadBitmapInfoHeader(const std::uint8_t* p);
void WriteBitmapInfoHeader(const BitmapInfoHeader& header, std::uint8_t* p);

// The header, and the colour table or the masks, from the start of a packed DIB (header,
// masks and table, bits). The masks of a bit-field DIB lie in a header long enough for them,
// else right after it (a 40-byte header may count them as three colours). `bitsOffset` gets
// where the rows start. Fails for a buffer too short for its header, masks and table, a
// header size below 40, or more than 256 colours.
std::optional<BitmapInfo> ReadPackedDib(std::span<const std::uint8_t> packed,
                                        std::size_t& bitsOffset);
// The 40 header bytes and the whole 256-entry table (1064 bytes), little-endian.
void WriteBitmapInfo(const BitmapInfo& info, std::span<std::uint8_t, 1064> out);

}  // namespace orvale::gdi
