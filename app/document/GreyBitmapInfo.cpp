#include "app/document/GreyBitmapInfo.h"

#include <algorithm>

#include "app/document/ByteFields.h"

namespace orvale {

void WriteGreyBitmapInfo(std::int32_t width, std::int32_t height, std::uint32_t imageSize,
                         std::span<std::uint8_t, kGreyBitmapInfoBytes> out) {
  std::uint8_t* p = out.data();
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  WriteLE32(p, kBitmapInfoHeaderBytes);
  WriteLE32(p + 4, static_cast<std::uint32_t>(width));
  WriteLE32(p + 8, static_cast<std::uint32_t>(height));
  WriteLE16(p + 12, 1);   // planes
  WriteLE16(p + 14, 8);   // bits per pixel
  WriteLE32(p + 20, imageSize);
  for (int i = 0; i < 256; ++i) {
    std::uint8_t* entry = p + kBitmapInfoHeaderBytes + 4 * i;
    entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
  }
}

}  // namespace orvale
