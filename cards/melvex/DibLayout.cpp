#include "cards/melvex/DibLayout.h"

#include <bit>
#include <limits>

#include "platform/runtime/ByteFields.h"

namespace orvale::melvex {

std::optional<DibLayout> DibLayoutFor(int format) {
  switch (format) {
    case 1: return DibLayout{8, gdi::BI_RGB, 256, 1024};
    case 2: return DibLayout{4, gdi::BI_RGB, 16, 64};
    case 3: return DibLayout{8, gdi::BI_RGB, 256, 1024};
    case 4: return DibLayout{16, gdi::BI_RGB, 0, 0};
    case 5: return DibLayout{16, kBitFields, 3, 12};
    case 7: return DibLayout{24, gdi::BI_RGB, 0, 0};
    case 8: return DibLayout{32, gdi::BI_RGB, 0, 0};
    default: return std::nullopt;
  }
}

std::int64_t DibRowBytes(std::int64_t width, int bitCount) { return ((bitCount * width + 31) >> 5) * 4; }

Rgb Palette332(int i) {
  return {static_cast<std::uint8_t>((((i >> 5) & 7) * 73) >> 1), static_cast<std::uint8_t>((((i >> 2) & 7) * 73) >> 1),
          static_cast<std::uint8_t>((i & 3) * 85)};
}

void WriteDibStart(std::uint8_t* out, int format, const DibLayout& layout, int width, int height,
                   std::int32_t pixelsPerMetre) {
  gdi::BitmapInfoHeader header;
  header.biWidth = width;
  header.biHeight = height;
  header.biBitCount = static_cast<std::uint16_t>(layout.bitCount);
  header.biCompression = layout.compression;
  header.biSizeImage = static_cast<std::uint32_t>(DibRowBytes(width, layout.bitCount) * height);
  header.biXPelsPerMeter = header.biYPelsPerMeter = pixelsPerMetre;
  header.biClrUsed = header.biClrImportant = layout.coloursUsed;
  gdi::WriteBitmapInfoHeader(header, out);
  std::uint8_t* table = out + gdi::kBitmapInfoHeaderSize;
  if (format == 5) {
    WriteLE32(table, 0xF800);
    WriteLE32(table + 4, 0x07E0);
    WriteLE32(table + 8, 0x001F);
    return;
  }
  for (std::uint32_t i = 0; i < layout.coloursUsed; ++i) {
    Rgb c{};
    if (format == 1) c = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)};
    if (format == 2) c = {static_cast<std::uint8_t>(17 * i), static_cast<std::uint8_t>(17 * i), static_cast<std::uint8_t>(17 * i)};
    if (format == 3) c = Palette332(static_cast<int>(i));
    std::uint8_t* entry = table + 4 * i;
    entry[0] = c.blue;
    entry[1] = c.green;
    entry[2] = c.red;
    entry[3] = 0;
  }
}

namespace {

// Bit-field masks other programs write: each one run of bits within the pixel, none empty,
// no bit in two of them.
bool MasksFit(const std::uint32_t (&masks)[3], int bits) {
  const std::uint64_t pixel = (std::uint64_t{1} << bits) - 1;
  std::uint32_t seen = 0;
  for (const std::uint32_t mask : masks) {
    if (mask == 0 || (mask & ~pixel) != 0 || (mask & seen) != 0) return false;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    if ((run & (run + 1)) != 0) return false;  // a gap inside the run
    seen |= mask;
  }
  return true;
}

// A V4 or V5 header's colour space, and a V5 header's profile. The pixels are drawn as they
// are, as other readers do; only where the profile lies matters here.
bool ReadColourSpace(std::span<const std::uint8_t> block, DibView& dib) {
  constexpr std::uint32_t kCalibratedRgb = 0;
  constexpr std::uint32_t kSRgb = 0x73524742;                // 'sRGB'
  constexpr std::uint32_t kWindowsColourSpace = 0x57696E20;  // 'Win '
  constexpr std::uint32_t kProfileLinked = 0x4C494E4B;       // 'LINK'
  constexpr std::uint32_t kProfileEmbedded = 0x4D424544;     // 'MBED'
  const std::uint32_t space = ReadLE32(block.data() + kColourSpaceField);
  if (space == kCalibratedRgb || space == kSRgb || space == kWindowsColourSpace) return true;
  if ((space != kProfileLinked && space != kProfileEmbedded) || dib.info.header.biSize < kV5HeaderSize) {
    return false;
  }
  const std::uint64_t offset = ReadLE32(block.data() + kV5ProfileOffsetField);
  const std::uint64_t size = ReadLE32(block.data() + kV5ProfileOffsetField + 4);
  if (size == 0) return true;
  if (offset < dib.bitsOffset + dib.imageBytes || offset + size > block.size()) return false;
  dib.profileOffset = static_cast<std::size_t>(offset);
  dib.profileBytes = static_cast<std::size_t>(size);
  return true;
}

}  // namespace

std::optional<DibView> CheckDib(std::span<const std::uint8_t> block) {
  DibView dib;
  const std::optional<gdi::BitmapInfo> info = gdi::ReadPackedDib(block, dib.bitsOffset);
  if (!info) return std::nullopt;
  dib.info = *info;
  const gdi::BitmapInfoHeader& h = dib.info.header;
  if ((h.biSize != gdi::kBitmapInfoHeaderSize && h.biSize != kV4HeaderSize && h.biSize != kV5HeaderSize) ||
      h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  dib.topDown = h.biHeight < 0;
  dib.rows = dib.topDown ? -h.biHeight : h.biHeight;
  const int bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
  if (h.biCompression == kBitFields) {
    // After a 40-byte header the masks take the table's place; our own 5:6:5 DIBs count them
    // as three colours.
    if ((bits != 16 && bits != 32) ||
        (h.biSize == gdi::kBitmapInfoHeaderSize && h.biClrUsed != 0 && h.biClrUsed != 3)) {
      return std::nullopt;
    }
    for (std::size_t i = 0; i < 3; ++i) dib.masks[i] = dib.info.Mask(i);
    if (!MasksFit(dib.masks, bits)) return std::nullopt;
  } else if (h.biCompression == gdi::BI_RGB) {
    const std::uint64_t most = bits <= 8 ? (std::uint64_t{1} << bits) : gdi::kColorTableSize;
    if (h.biClrUsed > most) return std::nullopt;
  } else {
    return std::nullopt;
  }
  dib.stride = DibRowBytes(h.biWidth, bits);
  const std::uint64_t rows = static_cast<std::uint64_t>(dib.stride) * static_cast<std::uint64_t>(dib.rows);
  const std::uint64_t image = h.biSizeImage == 0 ? rows : h.biSizeImage;
  if (image < rows || dib.bitsOffset + image > block.size()) return std::nullopt;
  dib.imageBytes = static_cast<std::size_t>(image);
  if (h.biSize >= kV4HeaderSize && !ReadColourSpace(block, dib)) return std::nullopt;
  return dib;
}

}  // namespace orvale::melvex
