#pragma once
// Checks made on a picture file before it is decoded, so that a damaged file is refused
// instead of decoded in part, and nothing is allocated for a picture larger than any
// camera makes or than the file's data describes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orvale {

// The largest picture the program takes, in any format. No camera's single shot comes
// near: the largest make about 150 megapixels (14204 x 10652), the largest scientific
// sensors about 250 (19580 x 12600). A picture this size already takes gigabytes once
// it is masked and traced, and 32-bit colour decodes to a gigabyte.
inline constexpr std::int64_t kMaxPictureSide = 32767;
inline constexpr std::int64_t kMaxPicturePixels = 250'000'000;

// True when a picture of width x height pixels (neither negative) is within those
// limits. Whether a side of 0 or less is a picture at all is left to the caller.
bool PictureSizeIsWithinLimits(std::int64_t width, std::int64_t height);

struct PictureSize {
  std::int64_t Width = 0;
  std::int64_t Height = 0;  // a bitmap's row count, whichever way its rows run
};

// The size the header of a bitmap or JPEG file claims, read without decoding anything;
// none for any other file and for a header that cannot be read.
std::optional<PictureSize> ReadPictureHeaderSize(std::span<const std::uint8_t> bytes);

// A picture of up to this many pixels is taken whatever its data describes: it costs
// little, and coded formats may leave most of it blank.
inline constexpr std::int64_t kSmallPicturePixels = std::int64_t{1} << 20;

// True when the headers of a bitmap file describe an image its bytes can hold: a known
// header, a positive width, a height other than 0, a size within the limits and, for
// uncompressed rows, every row inside the file. Run-length coded rows are checked by
// the decoder as it reads them.
bool BitmapFileIsPlausible(std::span<const std::uint8_t> bytes);

// True when a bitmap file's rows are run-length coded (8 or 4 bits).
bool IsRunLengthCodedBitmap(std::span<const std::uint8_t> bytes);

// True when the data of a plausible bitmap file describes the picture its header
// claims. Uncompressed rows are all in the file. Run-length codes may leave pixels
// unset (end of line, delta, end of bitmap), but the runs of a picture larger than
// kSmallPicturePixels must paint at least a sixteenth of it.
bool BitmapDataDescribesPicture(std::span<const std::uint8_t> bytes);

// True when a JPEG stream can describe the picture its frame header claims. Huffman
// coding spends at least one bit on every 8 x 8 block of a component, so a file
// describes at most 512 pixels per byte; a picture of up to kSmallPicturePixels passes.
bool JpegDataDescribesPicture(const PictureSize& size, std::size_t fileBytes);

// True when a JPEG stream runs from its start-of-image marker through its segments and
// scans to the end-of-image marker, so that no part of it was cut off.
bool JpegIsComplete(std::span<const std::uint8_t> bytes);

}  // namespace orvale
