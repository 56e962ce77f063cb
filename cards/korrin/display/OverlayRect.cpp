#include "cards/korrin/display/OverlayRect.h"

#include <algorithm>

namespace orvale::korrin {
namespace {

int Down(int v, int step) { return v >= 0 ? v / step * step : -((-v + step - 1) / step * step); }
int Up(int v, int step) { return Down(v, step) == v ? v : Down(v, step) + step; }

}  // namespace

gdi::Rect ComputeOverlayRect(const OverlayInput& in) {
  const gdi::Rect inner{in.client.left + in.margins[0], in.client.top + in.margins[1],
                        in.client.right - in.margins[2], in.client.bottom - in.margins[3]};
  const bool first = in.current.IsEmpty();
  int x = first || (in.flags & autoflag::kFollowPosition) ? inner.left : in.current.left;
  int y = first || (in.flags & autoflag::kFollowPosition) ? inner.top : in.current.top;
  int w = first || (in.flags & autoflag::kFollowSize) ? inner.Width() : in.current.Width();
  int h = first || (in.flags & autoflag::kFollowSize) ? inner.Height() : in.current.Height();
  if (in.flags & autoflag::kFourThree) {
    // The side that changed decides the other.
    const bool widthChanged = first || w != in.current.Width();
    if (widthChanged) {
      h = w / 4 * 3;
    } else {
      w = h / 3 * 4;
    }
  }
  if (!(in.flags & autoflag::kNoAlign)) {
    const int step = in.bytesPerPixel == 2 ? 2 : 4;
    const bool enlarge = (in.flags & autoflag::kEnlarge) != 0;
    // Shrinking keeps the overlay inside the window; enlarging covers it.
    const int right = x + w;
    x = enlarge ? Down(x, step) : Up(x, step);
    w = enlarge ? Up(right - x, step) : Down(right - x, step);
  }
  w = std::clamp(w, 0, in.maxWidth);
  h = std::clamp(h, 0, in.maxHeight);
  return {x, y, x + w, y + h};
}

}  // namespace orvale::korrin
