#include "platform/ui/ClipboardService.h"

#include "platform/gdi/Dib.h"

namespace orvale {

bool IsWholePackedDib(std::span<const std::uint8_t> packed, std::size_t& bitsOffset) {
  std::size_t offset = 0;
  const auto info = gdi::ReadPackedDib(packed, offset);
  if (!info) return false;
  const gdi::BitmapInfoHeader& h = info->header;
  switch (h.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  const bool bitFields = h.biCompression == gdi::BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32);
  if (h.biCompression != gdi::BI_RGB && !bitFields) return false;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return false;
  const std::int64_t rows = h.biHeight < 0 ? -static_cast<std::int64_t>(h.biHeight) : h.biHeight;
  const std::int64_t bytes = gdi::DibStride(h.biWidth, h.biBitCount) * rows;
  if (static_cast<std::int64_t>(packed.size()) - static_cast<std::int64_t>(offset) < bytes) {
    return false;
  }
  bitsOffset = offset;
  return true;
}

bool MemoryClipboard::PutDib(std::span<const std::uint8_t> packedDib,
                             std::span<const gdi::PaletteEntry> palette) {
  std::size_t bitsOffset = 0;
  if (!available_ || !IsWholePackedDib(packedDib, bitsOffset)) return false;
  dib_.emplace(packedDib.begin(), packedDib.end());
  palette_.assign(palette.begin(), palette.end());
  return true;
}

std::optional<std::vector<std::uint8_t>> MemoryClipboard::GetDib() const { return dib_; }

std::vector<gdi::PaletteEntry> MemoryClipboard::GetPalette() const { return palette_; }

}  // namespace orvale
