#include "app/pictures/GreyBitmapInfo.h"

namespace orvale {

gdi::BitmapInfo GreyBitmapInfo(std::int32_t width, std::int32_t height, std::uint32_t imageSize) {
  gdi::BitmapInfo info;
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biBitCount = 8;
  info.header.biSizeImage = imageSize;
  for (std::size_t i = 0; i < gdi::kColorTableSize; ++i) {
    const auto level = static_cast<std::uint8_t>(i);
    info.colors[i] = gdi::RgbQuad{level, level, level, 0};
  }
  return info;
}

}  // namespace orvale
