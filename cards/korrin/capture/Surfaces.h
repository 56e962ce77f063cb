#pragma once
// The two pieces of memory the library reads and writes pixels in: the display's frame
// buffer and the DMA target (the driver's buffer or a locked caller buffer), each with
// its size, so that no access can leave it.
#include <cstdint>
#include <optional>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// The adapter whose frame buffer lines are 8192 bytes whatever the display width.
inline constexpr std::uint32_t kWideLineAdapter = 0x8A205333;

struct Surface {
  std::uint8_t* base = nullptr;  // pixel (0, 0)
  std::int64_t pitch = 0;        // bytes from one row to the next
  int width = 0;
  int height = 0;
  int bits = 0;  // pixel format (PixelConvert.h)

  int BytesPerPixel() const;
  bool Contains(int x, int y, int w, int h) const;
  std::uint8_t* At(int x, int y) const { return base + y * pitch + std::int64_t{x} * BytesPerPixel(); }
};

// Bytes per display line in the frame buffer.
std::int64_t DisplayLineBytes(Library& lib);
// The display in its own depth; empty without a located board or a known depth.
std::optional<Surface> DisplaySurface(Library& lib);
// The DMA target laid out as off-screen video writes it: rows of the video window's
// width in the colour-space depth, from the DMA offset on.
std::optional<Surface> DmaTargetSurface(Library& lib);
// Where live video writes its frames: the DMA target off-screen, the video window's part
// of the display on-screen.
std::optional<Surface> CaptureSurface(Library& lib);

}  // namespace orvale::korrin
