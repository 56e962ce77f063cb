#pragma once
// Fills a polygon into a byte mask as the union of the triangles of all its vertex
// triples (which is its convex hull, so a concave outline fills to its hull).
//
// The triangle rule the fill reproduces byte for byte: round the six coordinates to
// whole pixels (halves to even) and sort the vertices by y into (x0, y0), (x1, y1),
// (x2, y2). When y0 differs from y1 and y2, rows y0 .. y1 - 1 span from
// round((y - y0) * (x0 - x1) / (y0 - y1) + x0) to round((y - y0) * (x0 - x2) / (y0 - y2) + x0);
// when y2 differs from y1 and y0, rows y1 .. y2 span from
// round(x2 - (y2 - y) * (x2 - x0) / (y2 - y0)) to round(x2 - (y2 - y) * (x2 - x1) / (y2 - y1)).
// A span writes the pixels from its smaller end up to, not including, its larger end.
// Rows beyond the mask are left out and span ends are clipped to 0 .. width, so the
// fill is exactly the part of the unclipped triangles that lies inside the mask.
//
// The fill does not visit the triangles: on each row, the spans of all triangles whose
// top vertex is p join into one span from the smallest to the largest end on the lines
// from p to the vertices below the row (likewise for a bottom vertex and the vertices
// above), so a row costs O(n^2) for n vertices rather than O(n^3).
#include <cstdint>
#include <span>

#include "app/analysis/Points.h"

namespace orvale {

// Vertex coordinates the fill accepts, in pixels either way: whole pixels are still
// exact there, and no difference or product of the rule can overflow.
inline constexpr double kMaxMaskCoordinate = 1E+15;

// True when x and y are finite and within kMaxMaskCoordinate.
bool IsMaskCoordinate(const PointD& point);

// Sets to `value` every pixel of the width x height mask (row-major, rows from the top)
// that a triangle of three of the vertices covers by the rule above. Fewer than three
// vertices, a vertex that is not a mask coordinate, or a mask smaller than
// width x height fill nothing.
void FillPolygonMask(std::span<std::uint8_t> mask, std::int32_t width, std::int32_t height,
                     std::span<const PointD> vertices, std::uint8_t value);

}  // namespace orvale
