#pragma once
// Centroid of a polygon given by its vertices.
#include <cstdint>
#include <span>

#include "app/analysis/Points.h"

namespace orvale {

// Area-weighted centroid of the polygon points[1..n] (element 0 unused), from the fan
// of triangles (P1, Pk, Pk+1). The not-given marker (1E+308, 1E+308) when n < 3, when
// the area is 0, or when n runs past the points given.
void PolygonCenter(PointD& center, std::span<const PointD> points, std::int32_t n);

}  // namespace orvale
