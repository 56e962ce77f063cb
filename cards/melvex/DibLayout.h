#pragma once
// The DIBs the toolkit makes from each output format, and the checks a DIB from a caller
// must pass before any of its offsets or sizes is trusted.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/gdi/Dib.h"

namespace orvale::melvex {

inline constexpr std::uint32_t kBitFields = gdi::BI_BITFIELDS;
inline constexpr std::int32_t kMemoryPixelsPerMetre = 5905;
inline constexpr std::int32_t kFilePixelsPerMetre = 11810;
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kV4HeaderSize = 108;
inline constexpr std::size_t kV5HeaderSize = 124;
inline constexpr std::size_t kColourSpaceField = 56;       // of a V4 or V5 header
inline constexpr std::size_t kV5ProfileOffsetField = 112;  // then the profile's size

struct DibLayout {
  int bitCount = 0;
  std::uint32_t compression = gdi::BI_RGB;
  std::uint32_t coloursUsed = 0;  // also written as colours important
  std::size_t tableBytes = 0;     // the colour table, or the three masks of 5:6:5
};

// The layout of output format 1, 2, 3, 4, 5, 7 or 8; nullopt for any other.
std::optional<DibLayout> DibLayoutFor(int outputFormat);

std::int64_t DibRowBytes(std::int64_t width, int bitCount);

// Writes the 40-byte header and then the colour table or masks of `outputFormat`.
void WriteDibStart(std::uint8_t* out, int outputFormat, const DibLayout& layout, int width,
                   int height, std::int32_t pixelsPerMetre);

// Entry i of the 3:3:2 palette as red, green, blue.
struct Rgb {
  std::uint8_t red, green, blue;
};
Rgb Palette332(int index);

// A DIB from a caller, checked against the size of its block: a 40-byte header or a V4
// (108-byte) or V5 (124-byte) one, a width above 0 and a height not 0 (negative: rows stored
// from the top), 1, 4, 8, 16, 24 or 32 bits, uncompressed or (16 and 32 bits) with bit-field
// masks, no more colours than the bit count holds, and the table and every row inside the
// block. Masks (after a 40-byte header, inside a longer one) must each be one run of bits
// inside the pixel, none empty and no two overlapping. Colours used 0 counts as all the bit
// count holds; image size 0 as the rows x row bytes. The colour space of a V4 or V5 header must
// be one it can name; a V5 header's linked or embedded profile, found at its offset from the
// start of the header, must lie in the block after the pixels.
struct DibView {
  gdi::BitmapInfo info;        // the header, and the colour table or masks
  int rows = 0;                // the height, whatever the storage order
  bool topDown = false;        // row 0 is the top of the picture
  std::size_t bitsOffset = 0;  // from the start of the block
  std::int64_t stride = 0;
  std::size_t imageBytes = 0;  // what the header's image size says, at least the rows
  // The three masks of a bit-field DIB (red, green, blue); none for others.
  std::uint32_t masks[3] = {0, 0, 0};
  std::size_t profileOffset = 0;  // a V5 header's profile, from the start of the block
  std::size_t profileBytes = 0;
  // All the DIB's bytes from the start of the block: header, table, pixels and profile.
  std::size_t Bytes() const { return std::max(bitsOffset + imageBytes, profileOffset + profileBytes); }
};
std::optional<DibView> CheckDib(std::span<const std::uint8_t> block);

}  // namespace orvale::melvex
