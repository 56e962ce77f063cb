#pragma once
// Device-independent bitmaps: a 40-byte header, an optional colour table, then rows
// padded to 4 bytes, bottom-up unless the height is negative.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orvale::gdi {

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t DIB_RGB_COLORS = 0;
inline constexpr std::uint32_t DIB_PAL_COLORS = 1;
inline constexpr std::size_t kBitmapInfoHeaderSize = 40;
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

// A header followed by its 256-entry colour table.
struct BitmapInfo {
  BitmapInfoHeader header;
  std::array<RgbQuad, kColorTableSize> colors{};
};

// Bytes per row of `width` pixels of `bitCount` bits, padded to a multiple of 4.
std::int64_t DibStride(std::int32_t width, int bitCount);

// The 40 header bytes at `p`, little-endian, read or written field by field.
BitmapInfoHeader ReadBitmapInfoHeader(const std::uint8_t* p);
void WriteBitmapInfoHeader(const BitmapInfoHeader& header, std::uint8_t* p);

// The header, and the colour table when there is one, from the start of a packed DIB
// (header, table, bits). `bitsOffset` gets where the rows start. Fails for a buffer
// too short for its header and table or a header size below 40.
std::optional<BitmapInfo> ReadPackedDib(std::span<const std::uint8_t> packed,
                                        std::size_t& bitsOffset);
// The 40 header bytes and the whole 256-entry table (1064 bytes), little-endian.
void WriteBitmapInfo(const BitmapInfo& info, std::span<std::uint8_t, 1064> out);

}  // namespace orvale::gdi
