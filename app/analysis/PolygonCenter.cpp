#include "app/analysis/PolygonCenter.h"

#include <cmath>

#include "platform/runtime/Markers.h"

namespace orvale {

void PolygonCenter(PointD& center, std::span<const PointD> points, std::int32_t n) {
  center = {kNotGivenDouble, kNotGivenDouble};
  if (n < 3 || static_cast<std::size_t>(n) >= points.size()) return;
  const PointD& p1 = points[1];
  double totalArea = 0;
  double sumX = 0;
  double sumY = 0;
  for (std::int32_t k = 2; k <= n - 1; ++k) {
    const PointD& pk = points[k];
    const PointD& pn = points[k + 1];
    const double area = std::fabs(p1.x * pk.y + p1.y * pn.x + pk.x * pn.y - pn.x * pk.y -
                                  pk.x * p1.y - p1.x * pn.y) *
                        0.5;
    const double gx = (p1.x + pk.x + pn.x) * 0.3333333333333333;
    const double gy = (p1.y + pk.y + pn.y) * 0.3333333333333333;
    totalArea += area;
    sumX += area * gx;
    sumY += area * gy;
  }
  if (totalArea == 0) return;
  center = {sumX / totalArea, sumY / totalArea};
}

}  // namespace orvale
