#include "app/document/ImageFileChecks.h"

#include <cstdlib>

#include "app/document/BitmapFile.h"
#include "platform/runtime/ByteFields.h"

namespace orvale {

namespace {
constexpr std::uint32_t kCoreHeaderBytes = 12;  // the old header with 16-bit sizes
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
}  // namespace

bool BitmapFileIsPlausible(std::span<const std::uint8_t> bytes) {
  const std::size_t size = bytes.size();
  if (size < kBitmapFileHeaderBytes + kCoreHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M') {
    return false;
  }
  const std::uint8_t* p = bytes.data();
  const std::uint32_t bitsOffset = ReadLE32(p + 10);
  const std::uint32_t headerBytes = ReadLE32(p + 14);
  std::int64_t width = 0;
  std::int64_t height = 0;
  int bitCount = 0;
  std::uint32_t compression = 0;
  if (headerBytes == kCoreHeaderBytes) {
    width = ReadLE16(p + 18);
    height = ReadLE16(p + 20);
    bitCount = ReadLE16(p + 24);
  } else if (headerBytes >= kInfoHeaderBytes &&
             headerBytes <= size - kBitmapFileHeaderBytes) {
    width = static_cast<std::int32_t>(ReadLE32(p + 18));
    height = static_cast<std::int32_t>(ReadLE32(p + 22));
    bitCount = ReadLE16(p + 28);
    compression = ReadLE32(p + 30);
  } else {
    return false;
  }
  const std::int64_t rows = std::abs(height);
  if (width <= 0 || rows == 0 || bitCount == 0 || width * rows > kMaxImagePixels) return false;
  if (compression == kRle8 || compression == kRle4) return true;
  const std::int64_t stride = (width * bitCount + 31) / 32 * 4;
  return bitsOffset <= size && stride * rows <= static_cast<std::int64_t>(size - bitsOffset);
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
    const std::size_t length = (std::size_t{bytes[i]} << 8) | bytes[i + 1];  // big-endian
    if (length < 2 || length > size - i) return false;
    i += length;
  }
}

}  // namespace orvale
