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
// The runs of a larger run-length coded picture paint at least one pixel in this many.
constexpr std::int64_t kPaintedOneIn = 16;
// Pixels of a Huffman-coded JPEG stream per byte: one bit per 8 x 8 block.
constexpr std::int64_t kJpegPixelsPerByte = 64 * 8;

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

// Start-of-frame markers: every coding but the Huffman table (C4), arithmetic
// conditioning (CC) and the reserved C8.
bool IsJpegFrameMarker(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::uint32_t ReadBE16(const std::uint8_t* p) { return (std::uint32_t{p[0]} << 8) | p[1]; }

// The frame header's size, from the segments before the first scan.
std::optional<PictureSize> ReadJpegFrameSize(std::span<const std::uint8_t> bytes) {
  const std::size_t size = bytes.size();
  if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
  std::size_t i = 2;
  while (i + 4 <= size && bytes[i] == 0xFF) {
    const std::uint8_t marker = bytes[i + 1];
    if (marker == 0xFF) {  // fill byte
      ++i;
      continue;
    }
    if (IsJpegFrameMarker(marker)) {
      if (i + 9 > size) return std::nullopt;
      return PictureSize{ReadBE16(&bytes[i + 7]), ReadBE16(&bytes[i + 5])};  // height first
    }
    if (marker == 0xDA || marker == 0xD9) return std::nullopt;  // a scan or the end before any frame
    i += 2 + ReadBE16(&bytes[i + 2]);
  }
  return std::nullopt;
}

// The pixels a run-length coded stream paints before its end-of-bitmap code or the end
// of its data, each run cut at the end of its row. Nothing is decoded.
std::int64_t PaintedPixels(std::span<const std::uint8_t> code, std::int64_t width, bool fourBit) {
  std::int64_t painted = 0;
  std::int64_t x = 0;
  const auto paint = [&](std::int64_t count) {
    painted += std::clamp<std::int64_t>(width - x, 0, count);
    x += count;
  };
  std::size_t i = 0;
  while (i + 2 <= code.size()) {
    const std::uint8_t count = code[i];
    const std::uint8_t escape = code[i + 1];
    i += 2;
    if (count > 0) {
      paint(count);
    } else if (escape == 0) {  // end of line
      x = 0;
    } else if (escape == 1) {  // end of bitmap
      break;
    } else if (escape == 2) {  // delta: moves on by columns and rows, painting nothing
      if (i + 2 <= code.size()) x += code[i];
      i += 2;
    } else {  // `escape` pixels as they are, padded to a whole word
      paint(escape);
      const std::size_t literal = fourBit ? (escape + 1u) / 2 : escape;
      i += literal + (literal & 1);
    }
  }
  return painted;
}

}  // namespace

std::optional<PictureSize> ReadPictureHeaderSize(std::span<const std::uint8_t> bytes) {
  BitmapHeader header;
  if (ReadBitmapHeader(bytes, header)) return PictureSize{header.width, header.rows};
  return ReadJpegFrameSize(bytes);
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

bool BitmapDataDescribesPicture(std::span<const std::uint8_t> bytes) {
  BitmapHeader header;
  if (!ReadBitmapHeader(bytes, header) || !IsRunLengthCoded(header)) return true;
  const std::int64_t pixels = header.width * header.rows;
  if (pixels <= kSmallPicturePixels) return true;
  const std::span<const std::uint8_t> code =
      header.bitsOffset < bytes.size() ? bytes.subspan(header.bitsOffset) : std::span<const std::uint8_t>();
  return PaintedPixels(code, header.width, header.compression == kRle4) * kPaintedOneIn >= pixels;
}

bool JpegDataDescribesPicture(const PictureSize& size, std::size_t fileBytes) {
  const std::int64_t pixels = size.Width * size.Height;
  return pixels <= kSmallPicturePixels || pixels <= kJpegPixelsPerByte * static_cast<std::int64_t>(fileBytes);
}

bool JpegIsComplete(std::span<const std::uint8_t> bytes) {
  const std::size_t size = bytes.size();
  if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return false;
  std::size_t i = 2;
  for (;;) {
    // Entropy-coded data, and stray bytes between segments, up to the next marker.
    while (i < size && bytes[i] != 0xFF) ++i;
    while (i < size && bytes[i] == 0xFF) ++i;  // fill bytes
    if (i >= size) return false;
    const std::uint8_t marker = bytes[i++];
    if (marker == 0xD9) return true;  // end of image
    // A stuffed zero, restart markers and the other markers without a length.
    if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) {
      continue;
    }
    if (size - i < 2) return false;
    const std::size_t length = ReadBE16(&bytes[i]);
    if (length < 2 || length > size - i) return false;
    i += length;
  }
}

}  // namespace orvale
