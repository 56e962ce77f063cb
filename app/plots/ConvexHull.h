#pragma once
// The convex hull of a set of points, the outline that the pupil mask fills for a
// polygon shape.
#include <span>
#include <vector>

#include "app/plots/Conrec.h"

namespace orvale {

// The hull's corners counter-clockwise (in a y-up frame) from the lowest-leftmost point,
// without repeated or collinear points. Fewer than three points come back as the
// distinct points given.
std::vector<MeshPoint> ConvexHull(std::span<const MeshPoint> points);

}  // namespace orvale
