#pragma once
// A blit's destination and source rectangles, and how a stretched blit maps the pixels of
// one onto the other. The calls take any origin and extent of the 32-bit range, INT_MIN
// included, so spans are worked out in 64 bits and a surface only ever works out the
// pixels that land on it.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/gdi/Geometry.h"

namespace orvale::gdi {

// The rectangles as given, 32-bit values each (the source's y may be one worked out from
// them). A negative width or height mirrors: the span then runs from the origin backwards
// and includes it (x + w + 1 .. x). The source's y counts from the top of the source picture.
struct BlitGeometry {
  std::int64_t xDest = 0, yDest = 0, wDest = 0, hDest = 0;
  std::int64_t xSrc = 0, ySrc = 0, wSrc = 0, hSrc = 0;
};

// The pixels [start, end) of one axis.
struct Span {
  std::int64_t start = 0;
  std::int64_t end = 0;
  std::int64_t Length() const { return end - start; }
  bool IsEmpty() const { return end <= start; }
};

// The pixels a signed extent covers from `origin`.
inline Span SpanOf(std::int64_t origin, std::int64_t extent) {
  return extent < 0 ? Span{origin + extent + 1, origin + 1} : Span{origin, origin + extent};
}

inline Span Intersect(const Span& a, const Span& b) {
  return Span{std::max(a.start, b.start), std::min(a.end, b.end)};
}

// One axis of a blit: the destination pixels show the source pixels, in reverse order when
// mirrored. Both spans are non-empty.
struct BlitAxis {
  Span dest;
  Span src;
  bool mirrored = false;

  // The source pixel that destination pixel `d` (inside `dest`) shows: the one under its
  // centre. With spans of at most 2^31 pixels the product stays below 2^63.
  std::int64_t SourceAt(std::int64_t d) const {
    std::int64_t s = (2 * (d - dest.start) + 1) * src.Length() / (2 * dest.Length());
    if (mirrored) s = src.Length() - 1 - s;
    return src.start + s;
  }
};

inline BlitAxis HorizontalAxis(const BlitGeometry& g) {
  return BlitAxis{SpanOf(g.xDest, g.wDest), SpanOf(g.xSrc, g.wSrc), (g.wDest < 0) != (g.wSrc < 0)};
}

inline BlitAxis VerticalAxis(const BlitGeometry& g) {
  return BlitAxis{SpanOf(g.yDest, g.hDest), SpanOf(g.ySrc, g.hSrc), (g.hDest < 0) != (g.hSrc < 0)};
}

// Two spans as a rectangle, each edge held to the 32-bit range.
inline Rect RectOf(const Span& x, const Span& y) {
  const auto edge = [](std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
  };
  return Rect{edge(x.start), edge(y.start), edge(x.end), edge(y.end)};
}

}  // namespace orvale::gdi
