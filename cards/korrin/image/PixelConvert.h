#pragma once
// Pixel formats of the board library and the conversions between them. Every format
// meets in 24-bit blue-green-red; a conversion goes through that form.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvale::korrin {

// The format codes callers pass as "bits". 2056 is 8-bit palette indexes (8 with the
// palette flag 0x800).
inline constexpr int kPaletteFlag = 0x800;
inline constexpr int kPaletteIndexed = 8 | kPaletteFlag;

// 256 entries of blue, green, red.
using Palette = std::array<std::uint8_t, 256 * 3>;

// Bytes per pixel of a format code; 0 for a code that is not a format.
int BytesPerPixel(int bits);
bool IsPixelFormat(int bits);

// A palette whose entry i is (i, i, i).
Palette GreyRamp();

// The 5-bit to 8-bit expansion table used for 15- and 16-bit pixels.
extern const std::array<std::uint8_t, 32> kFiveToEight;

// Converts `count` pixels from `fromBits` to `toBits`. `palette` (768 bytes) is used for
// indexed sources; a null palette reads them as grey. Source and destination may
// overlap. False, and nothing written, for a format that is not one of 8, 15, 16, 24,
// 32 and 2056 or a negative count.
bool ConvertPixels(std::int64_t count, int fromBits, int toBits, const std::uint8_t* source,
                   std::uint8_t* destination, const std::uint8_t* palette);

}  // namespace orvale::korrin
