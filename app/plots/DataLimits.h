#pragma once
// Automatic axis limits from the data a plot holds.
#include <cstdint>

namespace orvale {

// Rounds the automatic ends of the candidate range lo..hi (RoundAxisLimits with
// `scaleLimit` as the smallest step) and returns the scale factor. Without data (`found`
// false, or lo above hi) the automatic ends come from a unit range first, so that no
// inverted range is rounded: 0..1 when both are automatic, else one unit from the
// fixed end.
std::int32_t RoundDataLimits(double& lo, double& hi, bool found, bool logScale, bool autoMin,
                             bool autoMax, double scaleLimit);

}  // namespace orvale
