#pragma once
// The one line walk of the layer: the pixels of a width-1 line from its start up to,
// but not including, its end (Bresenham; at an exact tie the walk stays on the row or
// column it is on). LineTo and LineDDA both use it, so a walked line and a drawn line
// are the same pixels.
#include <cstdlib>

namespace orvale::gdi {

template <class Plot>
void WalkLine(int x1, int y1, int x2, int y2, Plot&& plot) {
  const int dx = std::abs(x2 - x1);
  const int dy = std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1;
  const int sy = y1 < y2 ? 1 : -1;
  const bool steep = dy > dx;  // y is the axis that advances every step
  const int major = steep ? dy : dx;
  const int minor = steep ? dx : dy;
  int x = x1;
  int y = y1;
  long long error = 2LL * minor - major;
  for (int i = 0; i < major; ++i) {
    plot(x, y);
    if (error > 0) {
      (steep ? x : y) += steep ? sx : sy;
      error -= 2LL * major;
    }
    error += 2LL * minor;
    (steep ? y : x) += steep ? sy : sx;
  }
}

// Calls `visit(x, y)` for every point of the line except its end point.
template <class Visit>
void LineDDA(int x1, int y1, int x2, int y2, Visit&& visit) {
  WalkLine(x1, y1, x2, y2, visit);
}

}  // namespace orvale::gdi
