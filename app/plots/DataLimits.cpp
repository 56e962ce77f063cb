#include "app/plots/DataLimits.h"

#include "app/analysis/AxisLimits.h"

namespace orvale {

std::int32_t RoundDataLimits(double& lo, double& hi, bool found, bool logScale, bool autoMin,
                             bool autoMax, double scaleLimit) {
  if (!found || !(lo <= hi)) {
    if (autoMin && autoMax) {
      lo = 0;
      hi = 1;
    } else if (autoMin) {
      lo = hi - 1;
    } else if (autoMax) {
      hi = lo + 1;
    }
  }
  return RoundAxisLimits(lo, hi, logScale, autoMin, autoMax, scaleLimit);
}

}  // namespace orvale
