#include "platform/gdi/Dib.h"

namespace orvale::gdi {

namespace {
std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t ReadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
void WriteU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void WriteU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
}  // namespace

std::int64_t DibStride(std::int32_t width, int bitCount) {
  const std::int64_t bits = static_cast<std::int64_t>(width < 0 ? -width : width) * bitCount;
  return ((bits + 31) / 32) * 4;
}

std::optional<BitmapInfo> ReadPackedDib(std::span<const std::uint8_t> packed,
                                        std::size_t& bitsOffset) {
  if (packed.size() < kBitmapInfoHeaderSize) return std::nullopt;
  const std::uint8_t* p = packed.data();
  BitmapInfo info;
  BitmapInfoHeader& h = info.header;
  h.biSize = ReadU32(p);
  if (h.biSize < kBitmapInfoHeaderSize || h.biSize > packed.size()) return std::nullopt;
  h.biWidth = static_cast<std::int32_t>(ReadU32(p + 4));
  h.biHeight = static_cast<std::int32_t>(ReadU32(p + 8));
  h.biPlanes = ReadU16(p + 12);
  h.biBitCount = ReadU16(p + 14);
  h.biCompression = ReadU32(p + 16);
  h.biSizeImage = ReadU32(p + 20);
  h.biXPelsPerMeter = static_cast<std::int32_t>(ReadU32(p + 24));
  h.biYPelsPerMeter = static_cast<std::int32_t>(ReadU32(p + 28));
  h.biClrUsed = ReadU32(p + 32);
  h.biClrImportant = ReadU32(p + 36);
  std::size_t entries = h.biClrUsed;
  if (entries == 0 && h.biBitCount <= 8) entries = std::size_t{1} << h.biBitCount;
  if (entries > kColorTableSize) return std::nullopt;
  const std::size_t tableStart = h.biSize;
  if (packed.size() < tableStart + entries * 4) return std::nullopt;
  for (std::size_t i = 0; i < entries; ++i) {
    const std::uint8_t* q = p + tableStart + i * 4;
    info.colors[i] = RgbQuad{q[0], q[1], q[2], q[3]};
  }
  bitsOffset = tableStart + entries * 4;
  return info;
}

void WriteBitmapInfo(const BitmapInfo& info, std::span<std::uint8_t, 1064> out) {
  std::uint8_t* p = out.data();
  const BitmapInfoHeader& h = info.header;
  WriteU32(p, h.biSize);
  WriteU32(p + 4, static_cast<std::uint32_t>(h.biWidth));
  WriteU32(p + 8, static_cast<std::uint32_t>(h.biHeight));
  WriteU16(p + 12, h.biPlanes);
  WriteU16(p + 14, h.biBitCount);
  WriteU32(p + 16, h.biCompression);
  WriteU32(p + 20, h.biSizeImage);
  WriteU32(p + 24, static_cast<std::uint32_t>(h.biXPelsPerMeter));
  WriteU32(p + 28, static_cast<std::uint32_t>(h.biYPelsPerMeter));
  WriteU32(p + 32, h.biClrUsed);
  WriteU32(p + 36, h.biClrImportant);
  for (std::size_t i = 0; i < kColorTableSize; ++i) {
    std::uint8_t* q = p + kBitmapInfoHeaderSize + i * 4;
    q[0] = info.colors[i].rgbBlue;
    q[1] = info.colors[i].rgbGreen;
    q[2] = info.colors[i].rgbRed;
    q[3] = info.colors[i].rgbReserved;
  }
}

}  // namespace orvale::gdi
