#include "app/analysis/FringeCenterData.h"

#include <algorithm>

#include "app/analysis/clsFringes.h"

namespace orvale {

std::int32_t GetFringeNumTicks(const clsFringes& fringes) { return fringes.TotalNumTicks(); }

void GetFringeCenterData(const clsFringes& fringes, std::span<double> X, std::span<double> Y,
                         std::span<double> z) {
  const std::size_t room = std::min({X.size(), Y.size(), z.size()});
  std::size_t k = 0;
  for (std::int32_t index = 1; index <= fringes.NumFringes(); ++index) {
    const std::int32_t order = fringes.GetFringeOrder(index);
    for (const PointD& p : fringes.RecordPoints(index)) {
      if (k >= room) return;
      if (order == kNoOrder) {
        X[k] = -1.0;
        Y[k] = -1.0;
        z[k] = 0.0;
      } else {
        X[k] = p.x;
        Y[k] = p.y;
        z[k] = static_cast<double>(order);
      }
      ++k;
    }
  }
}

}  // namespace orvale
