#pragma once
// The sample grid of the pupil evaluations: n samples along an axis run from -1 to +1
// inclusive, and each falls on the mask pixel round(c / scale + center).
#include <cstdint>
#include <vector>

namespace orvale {

// Sample k of an axis whose samples lie `half` = (n - 1) / 2 steps either side of 0.
inline double SampleCoordinate(std::int32_t k, double half) { return (k - half) / half; }

// The samples of one axis of a map: their pupil coordinates and the mask column (or
// row) each one falls on, -1 when that lies outside the mask.
struct SampleAxis {
  std::vector<double> coordinate;
  std::vector<std::int32_t> pixel;
};

// count >= 2 samples along an axis of the mask with `size` pixels.
SampleAxis MakeSampleAxis(std::int32_t count, double scale, double center, std::int32_t size);

}  // namespace orvale
