#include "app/plots/ConvexHull.h"

#include <algorithm>

namespace orvale {

namespace {

double Turn(const MeshPoint& o, const MeshPoint& a, const MeshPoint& b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

}  // namespace

std::vector<MeshPoint> ConvexHull(std::span<const MeshPoint> points) {
  std::vector<MeshPoint> p(points.begin(), points.end());
  const auto less = [](const MeshPoint& a, const MeshPoint& b) {
    return a.y < b.y || (a.y == b.y && a.x < b.x);
  };
  std::sort(p.begin(), p.end(), less);
  p.erase(std::unique(p.begin(), p.end(),
                      [](const MeshPoint& a, const MeshPoint& b) { return a.x == b.x && a.y == b.y; }),
          p.end());
  if (p.size() < 3) return p;

  // Monotone chain over the points sorted by y, then x.
  std::vector<MeshPoint> hull(2 * p.size());
  std::size_t k = 0;
  for (const MeshPoint& q : p) {
    while (k >= 2 && Turn(hull[k - 2], hull[k - 1], q) <= 0) --k;
    hull[k++] = q;
  }
  const std::size_t lower = k + 1;
  for (std::size_t i = p.size() - 1; i-- > 0;) {
    while (k >= lower && Turn(hull[k - 2], hull[k - 1], p[i]) <= 0) --k;
    hull[k++] = p[i];
  }
  hull.resize(k - 1);  // the last point repeats the first
  return hull;
}

}  // namespace orvale
