#pragma once
// Whole-number device geometry. A Rect's right and bottom edges are exclusive.
#include <cstdint>
#include <utility>

namespace orvale::gdi {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  // The same rectangle with left <= right and top <= bottom.
  Rect Normalized() const {
    Rect r = *this;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
         a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
  if (r.IsEmpty()) return Rect{};
  return r;
}

}  // namespace orvale::gdi
