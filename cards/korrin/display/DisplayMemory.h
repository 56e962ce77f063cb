#pragma once
// Direct access to the display's frame buffer and the DMA target, and copying a part of
// either into a device-independent bitmap.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

namespace copydirection {
inline constexpr std::int32_t kToDisplay = 0;
inline constexpr std::int32_t kFromDisplay = 1;
inline constexpr std::int32_t kFromDmaTarget = 2;
}  // namespace copydirection

// A pixel outside the display fails and writes nothing.
std::int32_t SetVgaPixel(Library& lib, std::int32_t x, std::int32_t y, std::uint32_t value);
// Fills the part of the rectangle that lies on the display.
std::int32_t SetVgaRect(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, std::uint32_t value);
// The rectangle must lie wholly inside its surface; pitch -1 is the row's own size.
std::int32_t CopyVgaRect(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                         std::int32_t height, std::uint8_t* buffer, std::int32_t pitch,
                         std::int32_t direction);

namespace dibflag {
inline constexpr std::int32_t kAllocate = 1;  // a new DIB, put on the clipboard
inline constexpr std::int32_t kGrey = 2;      // 8-bit grey, else 24-bit
inline constexpr std::int32_t kDmaTarget = 0x8000;
}  // namespace dibflag

// Bytes of the DIB ScreenToDIB writes for a width (rounded down to 4) and height.
std::size_t DibSize(int width, int height, bool grey);
std::int32_t ScreenToDib(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                         std::int32_t height, std::int32_t flags, std::uint8_t* dib);

}  // namespace orvale::korrin
