#include "cards/korrin/display/OverlayMarker.h"

#include <algorithm>
#include <cstdlib>

namespace orvale::korrin {

OverlayMarker MarkerFrom(const std::int16_t rect[4]) {
  OverlayMarker m;
  m.shown = rect[2] != 0 && rect[3] != 0;
  m.left = rect[0];
  m.top = rect[1];
  m.width = rect[2];
  m.height = rect[3];
  m.shape = rect[2] < 0 ? kMarkerCross : rect[3] < 0 ? kMarkerFilled : kMarkerBox;
  return m;
}

std::vector<gdi::Rect> MarkerRects(const OverlayMarker& marker, int lineWidth) {
  if (!marker.shown) return {};
  const int w = std::abs(marker.width);
  const int h = std::abs(marker.height);
  const int l = marker.left;
  const int t = marker.top;
  const int r = l + w;
  const int b = t + h;
  const int line = std::max(lineWidth, 1);
  std::vector<gdi::Rect> rects;
  switch (marker.shape) {
    case kMarkerFilled:
      rects = {{l, t, r, b}};
      break;
    case kMarkerCross: {
      const int x = l + w / 2 - line / 2;
      const int y = t + h / 2 - line / 2;
      rects = {{l, y, r, y + line}, {x, t, x + line, b}};
      break;
    }
    default:
      rects = {{l, t, r, t + line}, {l, b - line, r, b}, {l, t + line, l + line, b - line},
               {r - line, t + line, r, b - line}};
      break;
  }
  std::erase_if(rects, [](const gdi::Rect& rect) { return rect.IsEmpty(); });
  return rects;
}

}  // namespace orvale::korrin
