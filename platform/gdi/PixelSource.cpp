#include "platform/gdi/PixelSource.h"

#include <limits>

namespace orvale::gdi {

std::optional<PixelSource> DibPixelSource(const BitmapInfo& info,
                                          std::span<const std::uint8_t> bits,
                                          std::uint32_t colorUse) {
  const BitmapInfoHeader& h = info.header;
  if (h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biHeight == std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  PixelSource source;
  switch (h.biBitCount) {
    case 8:
      if (colorUse != DIB_RGB_COLORS) return std::nullopt;
      source.format = PixelSource::Format::Indexed8;
      source.palette = info.colors.data();
      break;
    case 24: source.format = PixelSource::Format::Bgr24; break;
    case 32: source.format = PixelSource::Format::Bgrx32; break;
    default: return std::nullopt;
  }
  const bool bottomUp = h.biHeight > 0;
  source.width = h.biWidth;
  source.height = bottomUp ? h.biHeight : -h.biHeight;
  const std::int64_t stride = DibStride(h.biWidth, h.biBitCount);
  if (static_cast<std::int64_t>(bits.size()) < stride * source.height) return std::nullopt;
  if (bottomUp) {
    source.bits = bits.data() + stride * (source.height - 1);
    source.stride = -static_cast<std::ptrdiff_t>(stride);
  } else {
    source.bits = bits.data();
    source.stride = static_cast<std::ptrdiff_t>(stride);
  }
  return source;
}

}  // namespace orvale::gdi
