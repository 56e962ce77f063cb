#include "cards/korrin/capture/Surfaces.h"

#include <algorithm>

#include "cards/korrin/image/PixelConvert.h"

namespace orvale::korrin {

int Surface::BytesPerPixel() const { return korrin::BytesPerPixel(bits); }

bool Surface::Contains(int x, int y, int w, int h) const {
  return x >= 0 && y >= 0 && w >= 0 && h >= 0 && std::int64_t{x} + w <= width &&
         std::int64_t{y} + h <= height;
}

std::int64_t DisplayLineBytes(Library& lib) {
  if (lib.Settings().frame.displayAdapterId == kWideLineAdapter) return 8192;
  return std::int64_t{lib.Display().Width()} * BytesPerPixel(lib.Settings().displayBits);
}

std::optional<Surface> DisplaySurface(Library& lib) {
  if (!lib.Live().Located()) return std::nullopt;
  const int bits = lib.Settings().displayBits;
  const MemoryRegion frame = lib.Live().resources.session->Device().FrameBuffer();
  if (frame.linear == nullptr || !IsPixelFormat(bits)) return std::nullopt;
  Surface s{frame.linear, DisplayLineBytes(lib), lib.Display().Width(), lib.Display().Height(), bits};
  if (s.pitch <= 0 || s.width <= 0) return std::nullopt;
  s.height = static_cast<int>(std::min<std::int64_t>(s.height, frame.size / s.pitch));
  return s;
}

std::optional<Surface> DmaTargetSurface(Library& lib) {
  if (!lib.Live().Located()) return std::nullopt;
  const BoardSettings& settings = lib.Settings();
  const MemoryRegion target = lib.Live().resources.dmaTarget;
  const int bits = settings.colourSpaceBits;
  const std::int64_t offset = settings.dmaOffset;
  if (target.linear == nullptr || !IsPixelFormat(bits) || offset < 0 || offset >= target.size) {
    return std::nullopt;
  }
  Surface s{target.linear + offset, std::int64_t{settings.geometry.window.width} * BytesPerPixel(bits),
            settings.geometry.window.width, settings.geometry.window.height, bits};
  if (s.pitch <= 0) return std::nullopt;
  s.height = static_cast<int>(std::min<std::int64_t>(s.height, (target.size - offset) / s.pitch));
  return s;
}

std::optional<Surface> CaptureSurface(Library& lib) {
  if (lib.Settings().geometry.offscreen) return DmaTargetSurface(lib);
  auto display = DisplaySurface(lib);
  if (!display) return std::nullopt;
  const Rect16& w = lib.Settings().geometry.window;
  if (!display->Contains(w.x, w.y, w.width, w.height)) return std::nullopt;
  Surface window = *display;
  window.base = display->At(w.x, w.y);
  window.width = w.width;
  window.height = w.height;
  return window;
}

}  // namespace orvale::korrin
