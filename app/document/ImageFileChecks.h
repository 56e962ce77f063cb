#pragma once
// Structure checks made on a picture file before it is decoded, so that a damaged file
// is refused instead of decoded in part, and nothing is allocated for sizes the file
// cannot hold.
#include <cstdint>
#include <span>

namespace orvale {

// The largest image the program takes: its pixels are addressed with 32-bit indices.
inline constexpr std::int64_t kMaxImagePixels = 2147483647;

// True when the headers of a bitmap file describe an image its bytes can hold: a known
// header, a positive width, a height other than 0, at most kMaxImagePixels pixels and,
// for uncompressed rows, every row inside the file. Run-length coded rows are checked
// by the decoder as it reads them.
bool BitmapFileIsPlausible(std::span<const std::uint8_t> bytes);

// True when a JPEG stream runs from its start-of-image marker through its segments and
// scans to the end-of-image marker, so that no part of it was cut off.
bool JpegIsComplete(std::span<const std::uint8_t> bytes);

}  // namespace orvale
