#include "cards/korrin/dma/DmaLayout.h"

#include "cards/korrin/hardware/RegisterEncoding.h"

namespace orvale::korrin {
namespace {

std::uint32_t AlignmentMask(int bytesPerPixel) {
  switch (bytesPerPixel) {
    case 2: return ~1u;
    case 4: return ~0u;
    default: return ~3u;
  }
}

}  // namespace

std::optional<DmaLayout> ComputeDmaLayout(const DmaLayoutInput& in) {
  const Rect16& w = in.window;
  if (w.width <= 0 || w.height <= 0 || in.bytesPerPixel <= 0 || in.frames < 1) return std::nullopt;
  DmaLayout layout;
  std::int64_t base;
  if (in.onScreen) {
    layout.line = in.displayLine;
    if (w.x < 0 || w.y < 0 || w.x + w.width > in.displayWidth || w.y + w.height > in.displayHeight ||
        layout.line <= 0 || (w.y + std::int64_t{w.height}) * layout.line > in.displaySize) {
      return std::nullopt;
    }
    base = in.displayPhysical + w.y * layout.line + std::int64_t{w.x} * in.bytesPerPixel;
  } else {
    layout.line = std::int64_t{w.width} * in.bytesPerPixel;
    const std::int64_t end = in.offset + layout.line * w.height * in.frames;
    if (in.offset < 0 || end > in.targetSize) return std::nullopt;
    base = in.targetPhysical + in.offset;
  }
  layout.frameBytes = layout.line * w.height;
  layout.base = static_cast<std::uint32_t>(base) & AlignmentMask(in.bytesPerPixel);
  layout.protection = static_cast<std::uint32_t>(layout.base + layout.frameBytes);
  if (in.interleave) {
    layout.evenBase = static_cast<std::uint32_t>(layout.base + layout.line);
    layout.pitch = static_cast<std::uint32_t>(2 * layout.line);
  } else {
    layout.pitch = static_cast<std::uint32_t>(layout.line);
    // In frame mode a window one field fills keeps the odd field only.
    layout.evenBase = in.acquisitionMode == 2 ? layout.protection + 4 : layout.base;
  }
  layout.pageTable = in.pageTablePhysical != 0 ? (in.pageTablePhysical | encoding::kPageTableEnable) : 0;
  const int fieldLines = in.limitHeight / (in.acquisitionMode == 1 ? 1 : 2);
  const int width = in.inputWidth * (in.channel == 1 ? 2 : 1);
  layout.lines = (static_cast<std::uint32_t>(fieldLines) << 16) | (static_cast<std::uint32_t>(width) & 0xFFFF);
  return layout;
}

}  // namespace orvale::korrin
