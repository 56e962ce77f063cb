#include "platform/gdi/Dib.h"

#include "platform/runtime/ByteFields.h"

namespace orvale::gdi {

std::int64_t DibStride(std::int32_t width, int bitCount) {
  const std::int64_t bits = static_cast<std::int64_t>(width < 0 ? -width : width) * bitCount;
  return ((bits + 31) / 32) * 4;
}

BitmapInfoHeader ReadBitmapInfoHeader(const std::uint8_t* p) {
  BitmapInfoHeader h;
  h.biSize = ReadLE32(p);
  h.biWidth = static_cast<std::int32_t>(ReadLE32(p + 4));
  h.biHeight = static_cast<std::int32_t>(ReadLE32(p + 8));
  h.biPlanes = ReadLE16(p + 12);
  h.biBitCount = ReadLE16(p + 14);
  h.biCompression = ReadLE32(p + 16);
  h.biSizeImage = ReadLE32(p + 20);
  h.biXPelsPerMeter = static_cast<std::int32_t>(ReadLE32(p + 24));
  h.biYPelsPerMeter = static_cast<std::int32_t>(ReadLE32(p + 28));
  h.biClrUsed = ReadLE32(p + 32);
  h.biClrImportant = ReadLE32(p + 36);
  return h;
}

void WriteBitmapInfoHeader(const BitmapInfoHeader& h, std::uint8_t* p) {
  WriteLE32(p, h.biSize);
  WriteLE32(p + 4, static_cast<std::uint32_t>(h.biWidth));
  WriteLE32(p + 8, static_cast<std::uint32_t>(h.biHeight));
  WriteLE16(p + 12, h.biPlanes);
  WriteLE16(p + 14, h.biBitCount);
  WriteLE32(p + 16, h.biCompression);
  WriteLE32(p + 20, h.biSizeImage);
  WriteLE32(p + 24, static_cast<std::uint32_t>(h.biXPelsPerMeter));
  WriteLE32(p + 28, static_cast<std::uint32_t>(h.biYPelsPerMeter));
  WriteLE32(p + 32, h.biClrUsed);
  WriteLE32(p + 36, h.biClrImportant);
}

std::optional<BitmapInfo> ReadPackedDib(std::span<const std::uint8_t> packed,
                                        std::size_t& bitsOffset) {
  if (packed.size() < kBitmapInfoHeaderSize) return std::nullopt;
  const std::uint8_t* p = packed.data();
  BitmapInfo info;
  info.header = ReadBitmapInfoHeader(p);
  const BitmapInfoHeader& h = info.header;
  if (h.biSize < kBitmapInfoHeaderSize || h.biSize > packed.size()) return std::nullopt;
  std::size_t entries = h.biClrUsed;
  if (entries == 0 && h.biBitCount <= 8) entries = std::size_t{1} << h.biBitCount;
  if (entries > kColorTableSize) return std::nullopt;
  std::size_t tableStart = h.biSize;
  const bool bitFields = h.biCompression == BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32);
  if (bitFields) {
    if (h.biSize < kHeaderWithMasksSize) {
      tableStart += 12;
      if (entries == 3) entries = 0;  // the masks themselves
    }
    if (packed.size() < kBitmapInfoHeaderSize + 12) return std::nullopt;
    for (std::size_t i = 0; i < 3; ++i) {
      const std::uint8_t* q = p + kBitmapInfoHeaderSize + i * 4;
      info.colors[i] = RgbQuad{q[0], q[1], q[2], q[3]};
    }
  }
  if (packed.size() < tableStart + entries * 4) return std::nullopt;
  // A bit-field DIB's table only helps palette displays: its place holds the masks.
  for (std::size_t i = 0; i < entries && !bitFields; ++i) {
    const std::uint8_t* q = p + tableStart + i * 4;
    info.colors[i] = RgbQuad{q[0], q[1], q[2], q[3]};
  }
  bitsOffset = tableStart + entries * 4;
  return info;
}

void WriteBitmapInfo(const BitmapInfo& info, std::span<std::uint8_t, 1064> out) {
  std::uint8_t* p = out.data();
  WriteBitmapInfoHeader(info.header, p);
  for (std::size_t i = 0; i < kColorTableSize; ++i) {
    std::uint8_t* q = p + kBitmapInfoHeaderSize + i * 4;
    q[0] = info.colors[i].rgbBlue;
    q[1] = info.colors[i].rgbGreen;
    q[2] = info.colors[i].rgbRed;
    q[3] = info.colors[i].rgbReserved;
  }
}

}  // namespace orvale::gdi
