#pragma once
// Point types of the engine: image pixels with y growing downwards, and the 3-D points
// of the surface chart. Arrays of points indexed 1..n keep element 0 unused.
#include <cstdint>

namespace orvale {

struct PointD {
  double x = 0;
  double y = 0;
};

struct PointL {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct Point3D {
  double x = 0;
  double y = 0;
  double z = 0;
};

}  // namespace orvale
