#pragma once
// The header and colour table shared by the companion bitmap file and the in-memory
// bitmap: 8 bits per pixel, uncompressed, rows bottom-up, a grey ramp as colour table.
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvale {

inline constexpr std::size_t kBitmapInfoHeaderBytes = 40;
// The 40-byte header followed by 256 colour-table entries of 4 bytes.
inline constexpr std::size_t kGreyBitmapInfoBytes = 1064;

// Writes the header (the given size, 8 bits, no compression, `imageSize` as the image
// size field, everything else 0) and the grey ramp (entry i = blue i, green i, red i, 0).
void WriteGreyBitmapInfo(std::int32_t width, std::int32_t height, std::uint32_t imageSize,
                         std::span<std::uint8_t, kGreyBitmapInfoBytes> out);

}  // namespace orvale
