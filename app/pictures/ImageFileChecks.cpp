#include "app/pictures/ImageFileChecks.h"

#include <algorithm>
#include <cstdlib>

#include "app/pictures/PictureFormat.h"
#include "app/pictures/PngRowData.h"
#include "platform/runtime/ByteFields.h"

namespace orvale {

namespace {

constexpr std::uint32_t kCoreHeaderBytes = 12;  // the old header with 16-bit sizes
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
// Room for what a picture file carries besides its picture: colour profiles, EXIF and
// its thumbnails, XMP, comments.
constexpr std::uint64_t kPictureFileExtras = kMostPictureMetadataBytes;

struct BitmapHeader {
  std::uint32_t bitsOffset = 0;
  std::int64_t width = 0;
  std::int64_t rows = 0;  // the height without its sign (negative: rows from the top)
  int bitCount = 0;
  std::uint32_t compression = 0;
};

// The fields of a bitmap file's headers; false when the file has no header we know.
bool ReadBitmapHeader(std::span<const std::uint8_t> bytes, BitmapHeader& header) {
  const std::size_t size = bytes.size();
  if (size < kBitmapFileHeaderBytes + kCoreHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M') {
    return false;
  }
  const std::uint8_t* p = bytes.data();
  header.bitsOffset = ReadLE32(p + 10);
  const std::uint32_t headerBytes = ReadLE32(p + 14);
  if (headerBytes == kCoreHeaderBytes) {
    header.width = ReadLE16(p + 18);
    header.rows = ReadLE16(p + 20);
    header.bitCount = ReadLE16(p + 24);
  } else if (headerBytes >= kInfoHeaderBytes &&
             headerBytes <= size - kBitmapFileHeaderBytes) {
    header.width = static_cast<std::int32_t>(ReadLE32(p + 18));
    header.rows = std::abs(std::int64_t{static_cast<std::int32_t>(ReadLE32(p + 22))});
    header.bitCount = ReadLE16(p + 28);
    header.compression = ReadLE32(p + 30);
  } else {
    return false;
  }
  return true;
}

// The bit counts the bitmap decoder takes.
bool BitCountIsDecoded(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

bool IsRunLengthCoded(const BitmapHeader& header) {
  return header.compression == kRle8 || header.compression == kRle4;
}

// The furthest a bitmap's pixels may start: after its headers, the largest colour
// table or masks, and room for a colour profile.
std::uint64_t MostBitmapBitsOffset(std::span<const std::uint8_t> bytes) {
  const std::uint64_t headerBytes = bytes.size() >= kBitmapFileHeaderBytes + 4 ? ReadLE32(&bytes[14]) : 0;
  return kBitmapFileHeaderBytes + headerBytes + 4 * 256 + 12 + kPictureFileExtras;
}

CodedPictureStructure WalkCodedPicture(PictureFormat format, std::span<const std::uint8_t> bytes) {
  switch (format) {
    case PictureFormat::Jpeg: return WalkJpeg(bytes);
    case PictureFormat::Png: return WalkPng(bytes);
    case PictureFormat::Gif: return WalkGif(bytes);
    default: break;
  }
  return {};
}

// The most bytes a pixel of a coded picture can take in its file: a JPEG's Huffman
// codes of noise at quality 100 take about 1.3 a component (a GIF's are
// kMostGifBytesPerPixel); a PNG's are counted from its rows instead.
constexpr std::uint64_t kMostJpegBytesPerPixelAndComponent = 4;

// True when every literal run of a run-length coded stream has its pixels in `code`,
// up to its end-of-bitmap code or the end of its data.
bool LiteralRunsArePresent(std::span<const std::uint8_t> code, bool fourBit) {
  std::size_t i = 0;
  while (i + 2 <= code.size()) {
    const std::uint8_t count = code[i];
    const std::uint8_t escape = code[i + 1];
    i += 2;
    if (count > 0 || escape == 0) continue;  // a run, or the end of a line
    if (escape == 1) return true;             // end of bitmap
    if (escape == 2) {                        // delta: two bytes of offsets
      i += 2;
      continue;
    }
    const std::size_t literal = fourBit ? (escape + 1u) / 2 : escape;
    if (literal > code.size() - i) return false;
    i += literal + (literal & 1);  // padded to a whole word
  }
  return true;
}

std::span<const std::uint8_t> PixelArray(std::span<const std::uint8_t> bytes, const BitmapHeader& header) {
  return header.bitsOffset < bytes.size() ? bytes.subspan(header.bitsOffset) : std::span<const std::uint8_t>();
}

}  // namespace

CodedPictureStructure InspectPictureFile(std::span<const std::uint8_t> bytes) {
  BitmapHeader header;
  if (ReadBitmapHeader(bytes, header)) {
    CodedPictureStructure bitmap{PictureSize{header.width, header.rows}, PixelArray(bytes, header).size(), true};
    bitmap.Refused = !BitCountIsDecoded(header.bitCount);
    return bitmap;
  }
  const PictureFormat format = PictureFormatOf(bytes);
  if (format != PictureFormat::Jpeg && format != PictureFormat::Png && format != PictureFormat::Gif)
    return {std::nullopt, bytes.size(), true};
  return WalkCodedPicture(format, bytes);
}

std::uint64_t MostBytesOfPictureFile(std::span<const std::uint8_t> head) {
  const PictureFormat format = PictureFormatOf(head);
  if (format == PictureFormat::Bmp) {
    BitmapHeader header;
    // Nothing past a header the decoder cannot take either, nor past pixels that lie
    // beyond any room a profile may need.
    if (!ReadBitmapHeader(head, header) || header.width <= 0 || !BitCountIsDecoded(header.bitCount) ||
        !PictureSizeIsWithinLimits(header.width, header.rows) || header.bitsOffset > MostBitmapBitsOffset(head)) {
      return head.size();
    }
    const auto width = static_cast<std::uint64_t>(header.width);
    const auto rows = static_cast<std::uint64_t>(header.rows);
    // Run-length codes take at most two bytes a pixel, and an end-of-line code a row.
    const std::uint64_t pixelBytes = IsRunLengthCoded(header)
                                         ? rows * (2 * width + 2) + 2
                                         : rows * ((width * static_cast<std::uint64_t>(header.bitCount) + 31) / 32 * 4);
    return std::uint64_t{header.bitsOffset} + pixelBytes;
  }
  if (!IsDecodedPictureFormat(format)) return head.size();
  return MostBytesOfPictureFile(head, WalkCodedPicture(format, head));
}

std::uint64_t MostBytesOfPictureFile(std::span<const std::uint8_t> head, const CodedPictureStructure& structure) {
  const PictureFormat format = PictureFormatOf(head);
  if (format != PictureFormat::Jpeg && format != PictureFormat::Png && format != PictureFormat::Gif)
    return MostBytesOfPictureFile(head);
  // A header value no decoder takes, or more metadata than any file holds, is damage
  // whatever follows it.
  if (structure.Refused) return head.size();
  if (!structure.Size) {
    // The metadata before a JPEG's frame header (EXIF, colour profiles, XMP) may be
    // longer than the head.
    return format == PictureFormat::Jpeg ? std::max<std::uint64_t>(head.size(), kPictureFileExtras) : head.size();
  }
  const PictureSize size = *structure.Size;
  // A header the decoder refuses needs nothing more.
  if (size.Width < 0 || size.Height < 0 || !PictureSizeIsWithinLimits(size.Width, size.Height)) return head.size();
  const auto pixels = static_cast<std::uint64_t>(size.Width * size.Height);
  switch (format) {
    case PictureFormat::Jpeg:
      return kPictureFileExtras +
             pixels * static_cast<std::uint64_t>(std::max(1, structure.Components)) * kMostJpegBytesPerPixelAndComponent;
    case PictureFormat::Png:
      // Interlacing, stored blocks and chunk headers take less than the rows again.
      return kPictureFileExtras + 2 * PngRowDataBytes(head).value_or(0);
    default:
      return kPictureFileExtras + pixels * kMostGifBytesPerPixel;
  }
}

bool PictureEndIsAmong(std::span<const std::uint8_t> bytes) {
  const PictureFormat format = PictureFormatOf(bytes);
  return format != PictureFormat::Bmp && IsDecodedPictureFormat(format) && WalkCodedPicture(format, bytes).Complete;
}

bool PictureSizeIsWithinLimits(std::int64_t width, std::int64_t height) {
  return width <= kMaxPictureSide && height <= kMaxPictureSide && width * height <= kMaxPicturePixels;
}

bool BitmapFileIsPlausible(std::span<const std::uint8_t> bytes) {
  BitmapHeader header;
  if (!ReadBitmapHeader(bytes, header)) return false;
  if (header.width <= 0 || header.rows == 0 || !BitCountIsDecoded(header.bitCount) ||
      !PictureSizeIsWithinLimits(header.width, header.rows) || header.bitsOffset >= bytes.size()) {
    return false;
  }
  if (IsRunLengthCoded(header)) return true;
  const std::int64_t stride = (header.width * header.bitCount + 31) / 32 * 4;
  return stride * header.rows <= static_cast<std::int64_t>(bytes.size() - header.bitsOffset);
}

bool IsRunLengthCodedBitmap(std::span<const std::uint8_t> bytes) {
  BitmapHeader header;
  return ReadBitmapHeader(bytes, header) && IsRunLengthCoded(header);
}

bool RunLengthCodesAreSound(std::span<const std::uint8_t> bytes) {
  BitmapHeader header;
  if (!ReadBitmapHeader(bytes, header) || !IsRunLengthCoded(header)) return true;
  const bool fourBit = header.compression == kRle4;
  if (header.bitCount != (fourBit ? 4 : 8)) return false;
  return LiteralRunsArePresent(PixelArray(bytes, header), fourBit);
}

}  // namespace orvale
