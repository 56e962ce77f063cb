#pragma once
// Clip regions: sets of device pixels built from rectangles and polygons and combined
// with each other. A Region is a value; copies share their (immutable) pixel set.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdi/Geometry.h"

namespace orvale::gdi {

// Region complexity, the result of the region and clip calls.
inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// Ways of combining two regions (and a region with the clip).
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

class Region {
 public:
  Region();  // empty
  static Region FromRect(const Rect& rect);
  // The pixels inside the polygon by the fill mode (ALTERNATE or WINDING); the right
  // and bottom edges are left out as for a filled polygon.
  static Region FromPolygon(std::span<const Point> points, int fillMode);
  static Region FromEllipse(const Rect& box);

  bool IsEmpty() const;
  int Complexity() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
  Rect Box() const;
  bool Contains(Point p) const;
  // Disjoint rectangles covering the region, in rows from the top.
  std::vector<Rect> Rects() const;
  Region Offset(int dx, int dy) const;
  // a combined with b by `mode` (RGN_AND .. RGN_COPY; RGN_COPY gives a).
  static Region Combine(const Region& a, const Region& b, int mode);

  friend bool operator==(const Region& a, const Region& b);

  struct Impl;
  const Impl& impl() const { return *impl_; }
  explicit Region(std::shared_ptr<const Impl> impl);

 private:
  std::shared_ptr<const Impl> impl_;
};

// GDI-style combination into `dest`; returns the complexity of the result, or
// RGN_ERROR for an unknown mode (dest is then unchanged).
int CombineRgn(Region& dest, const Region& a, const Region& b, int mode);

}  // namespace orvale::gdi
