#pragma once
// Checks made on a picture file before it is decoded, so that a damaged file is refused
// instead of decoded in part, and nothing is allocated for a picture larger than any
// camera makes or than the file's data can describe.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "app/pictures/CodedPictureStructure.h"

namespace orvale {

// A bitmap file starts with a 14-byte file header ("BM", its size, the offset of its
// pixels).
inline constexpr std::size_t kBitmapFileHeaderBytes = 14;

// The largest picture the program takes, in any format. No camera's single shot comes
// near: the largest make about 150 megapixels (14204 x 10652), the largest scientific
// sensors about 250 (19580 x 12600). A picture this size already takes gigabytes once
// it is masked and traced, and 32-bit colour decodes to a gigabyte.
inline constexpr std::int64_t kMaxPictureSide = 32767;
inline constexpr std::int64_t kMaxPicturePixels = 250'000'000;

// True when a picture of width x height pixels (neither negative) is within those
// limits. Whether a side of 0 or less is a picture at all is left to the caller.
bool PictureSizeIsWithinLimits(std::int64_t width, std::int64_t height);

// What a picture file's structure says before anything is decoded:
// - the size the header of a bitmap, JPEG, PNG or GIF file claims (for a GIF the logical
//   screen its decoder allocates; none for any other file and for a header that cannot
//   be read);
// - the bytes that code its pixels (a bitmap's pixel array as far as the file holds it,
//   a JPEG's entropy-coded data, a PNG's IDAT data, a GIF's image data; for any other
//   format the whole file);
// - for a JPEG, PNG or GIF, whether it reaches its end marker (always true for others).
CodedPictureStructure InspectPictureFile(std::span<const std::uint8_t> bytes);

// The most bytes a picture file can need, judged from its first bytes (`head`): a
// bitmap's headers give its extent exactly; a JPEG, PNG or GIF may need what its header
// describes can take coded (far more than any encoder writes) and room for metadata.
// Nothing beyond `head` for any other file, for a bitmap whose pixels lie beyond any
// room its headers may leave, and for a header that cannot be read or claims a size
// beyond the limits; a JPEG whose frame header is not in `head` yet may need room for
// the metadata before it. A header value no decoder takes, or more metadata than any
// file holds, needs nothing beyond `head`.
std::uint64_t MostBytesOfPictureFile(std::span<const std::uint8_t> head);
// The same, for a JPEG, PNG or GIF whose walk over `head` gave `walked`.
std::uint64_t MostBytesOfPictureFile(std::span<const std::uint8_t> head, const CodedPictureStructure& walked);

// True when `bytes` hold a JPEG, PNG or GIF up to its end marker: nothing after it
// belongs to the picture.
bool PictureEndIsAmong(std::span<const std::uint8_t> bytes);

// True when the headers of a bitmap file describe an image its bytes can hold: a known
// header, a positive width, a height other than 0, a size within the limits, pixels that
// start inside the file and, for uncompressed rows, every row inside it. Run-length coded rows are checked by
// RunLengthCodesAreSound.
bool BitmapFileIsPlausible(std::span<const std::uint8_t> bytes);

// True when a bitmap file's rows are run-length coded (8 or 4 bits).
bool IsRunLengthCodedBitmap(std::span<const std::uint8_t> bytes);

// True when the run-length codes of a bitmap file are what its decoder takes: 8-bit
// codes for 8 bits per pixel, 4-bit codes for 4, and every literal run's pixels in the
// file. True for a bitmap that is not run-length coded.
bool RunLengthCodesAreSound(std::span<const std::uint8_t> bytes);

}  // namespace orvale
