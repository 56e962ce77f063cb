#include "app/document/ImageFileChecks.h"

#include <algorithm>
#include <cstdlib>

#include "app/document/BitmapFile.h"
#include "platform/runtime/ByteFields.h"

namespace orvale {

namespace {

constexpr std::uint32_t kCoreHeaderBytes = 12;  // the old header with 16-bit sizes
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
// The most bytes a coded picture (JPEG, PNG, GIF) can take per pixel, with room for
// what its file carries besides (profiles, thumbnails, text): 16-bit RGBA stored
// without compression takes 8, a JPEG's worst Huffman codes about 3.4 per component.
constexpr std::uint64_t kMostCodedBytesPerPixel = 16;
constexpr std::uint64_t kPictureFileExtras = std::uint64_t{16} << 20;

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

bool IsRunLengthCoded(const BitmapHeader& header) {
  return header.compression == kRle8 || header.compression == kRle4;
}

enum class CodedFormat { None, Jpeg, Png, Gif };

CodedFormat CodedFormatOf(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return CodedFormat::Jpeg;
  if (bytes.size() >= 4 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
    return CodedFormat::Png;
  if (bytes.size() >= 4 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == '8')
    return CodedFormat::Gif;
  return CodedFormat::None;
}

CodedPictureStructure WalkCodedPicture(CodedFormat format, std::span<const std::uint8_t> bytes) {
  switch (format) {
    case CodedFormat::Jpeg: return WalkJpeg(bytes);
    case CodedFormat::Png: return WalkPng(bytes);
    case CodedFormat::Gif: return WalkGif(bytes);
    case CodedFormat::None: break;
  }
  return {};
}

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
    return {PictureSize{header.width, header.rows}, PixelArray(bytes, header).size(), true};
  }
  const CodedFormat format = CodedFormatOf(bytes);
  if (format == CodedFormat::None) return {std::nullopt, bytes.size(), true};
  return WalkCodedPicture(format, bytes);
}

std::optional<std::uint64_t> MostBytesOfPictureFile(std::span<const std::uint8_t> head) {
  if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M') {
    BitmapHeader header;
    // Nothing past a header the decoder cannot take either.
    if (!ReadBitmapHeader(head, header) || header.width <= 0 ||
        !PictureSizeIsWithinLimits(header.width, header.rows)) {
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
  const CodedFormat format = CodedFormatOf(head);
  if (format == CodedFormat::None) return std::nullopt;
  const std::optional<PictureSize> size = WalkCodedPicture(format, head).Size;
  // Without a header in sight, or with one the decoder refuses, there is nothing more to
  // read; the caller reads on for a JPEG frame header still to come.
  if (!size || size->Width < 0 || size->Height < 0 || !PictureSizeIsWithinLimits(size->Width, size->Height))
    return head.size();
  return kPictureFileExtras + static_cast<std::uint64_t>(size->Width * size->Height) * kMostCodedBytesPerPixel;
}

bool JpegFrameHeaderMayFollow(std::span<const std::uint8_t> head) {
  return CodedFormatOf(head) == CodedFormat::Jpeg && !WalkJpeg(head).Size;
}

bool PictureSizeIsWithinLimits(std::int64_t width, std::int64_t height) {
  return width <= kMaxPictureSide && height <= kMaxPictureSide && width * height <= kMaxPicturePixels;
}

bool BitmapFileIsPlausible(std::span<const std::uint8_t> bytes) {
  BitmapHeader header;
  if (!ReadBitmapHeader(bytes, header)) return false;
  if (header.width <= 0 || header.rows == 0 || header.bitCount == 0 ||
      !PictureSizeIsWithinLimits(header.width, header.rows)) {
    return false;
  }
  if (IsRunLengthCoded(header)) return true;
  const std::int64_t stride = (header.width * header.bitCount + 31) / 32 * 4;
  return header.bitsOffset <= bytes.size() &&
         stride * header.rows <= static_cast<std::int64_t>(bytes.size() - header.bitsOffset);
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
