#include "platform/gdi/PixelSource.h"

#include <limits>

namespace orvale::gdi {

ChannelMask ChannelMask::Of(std::uint32_t mask) {
  ChannelMask channel;
  channel.mask = mask;
  if (mask == 0) return channel;
  while (((mask >> channel.shift) & 1) == 0) ++channel.shift;
  channel.maximum = mask >> channel.shift;
  return channel;
}

std::optional<PixelSource> DibPixelSource(const BitmapInfo& info,
                                          std::span<const std::uint8_t> bits,
                                          std::uint32_t colorUse) {
  const BitmapInfoHeader& h = info.header;
  const bool bitFields = h.biCompression == BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32);
  if ((h.biCompression != BI_RGB && !bitFields) || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biHeight == std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  PixelSource source;
  switch (h.biBitCount) {
    case 1:
    case 4:
    case 8:
      if (colorUse != DIB_RGB_COLORS) return std::nullopt;
      source.format = h.biBitCount == 8   ? PixelSource::Format::Indexed8
                      : h.biBitCount == 4 ? PixelSource::Format::Indexed4
                                          : PixelSource::Format::Indexed1;
      source.palette = info.colors.data();
      break;
    case 16:
      source.format = PixelSource::Format::Rgb16;
      source.red = ChannelMask::Of(bitFields ? info.Mask(0) : 0x7C00);
      source.green = ChannelMask::Of(bitFields ? info.Mask(1) : 0x03E0);
      source.blue = ChannelMask::Of(bitFields ? info.Mask(2) : 0x001F);
      break;
    case 24: source.format = PixelSource::Format::Bgr24; break;
    case 32:
      source.format = bitFields ? PixelSource::Format::Masked32 : PixelSource::Format::Bgrx32;
      if (bitFields) {
        source.red = ChannelMask::Of(info.Mask(0));
        source.green = ChannelMask::Of(info.Mask(1));
        source.blue = ChannelMask::Of(info.Mask(2));
      }
      break;
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
