#pragma once
// The header and colour table shared by the companion bitmap file and the in-memory
// bitmap: 8 bits per pixel, uncompressed, rows bottom-up, a grey ramp as colour table.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/Dib.h"

namespace orvale {

// The 40-byte header followed by 256 colour-table entries of 4 bytes.
inline constexpr std::size_t kGreyBitmapInfoBytes =
    gdi::kBitmapInfoHeaderSize + 4 * gdi::kColorTableSize;

// The given size, 8 bits, no compression, `imageSize` as the image size field,
// everything else 0; colour-table entry i = blue i, green i, red i, reserved 0.
gdi::BitmapInfo GreyBitmapInfo(std::int32_t width, std::int32_t height, std::uint32_t imageSize);

}  // namespace orvale
