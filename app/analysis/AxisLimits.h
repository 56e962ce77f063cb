#pragma once
// Choice of round chart-axis limits.
#include <cstdint>

namespace orvale {

// The leading digit (1..9) of Max - Min when that span has one significant digit at
// two-digit precision (3000 gives 3, 2500 gives 0); 0 for an empty span.
std::int32_t GetRangeLeadingDigit(double min, double max);

// Rounds the limits whose Auto flag is set to a round step. A linear span that already
// is d * 10^k returns d and leaves both limits; other linear spans return 0. A
// logarithmic axis gets limits at powers of ten and returns 10. minStep is the smallest
// step allowed, 1E+308 when there is none.
std::int32_t RoundAxisLimits(double& min, double& max, bool logAxis, bool autoMin,
                             bool autoMax, double minStep);

}  // namespace orvale
