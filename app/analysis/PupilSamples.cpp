#include "app/analysis/PupilSamples.h"

#include "platform/runtime/NumberText.h"

namespace orvale {

SampleAxis MakeSampleAxis(std::int32_t count, double scale, double center, std::int32_t size) {
  SampleAxis axis;
  axis.coordinate.resize(static_cast<std::size_t>(count));
  axis.pixel.resize(static_cast<std::size_t>(count));
  const double half = (count - 1) / 2.0;
  for (std::int32_t k = 0; k < count; ++k) {
    const double c = SampleCoordinate(k, half);
    const double pixel = RoundHalfEven(c / scale + center);
    axis.coordinate[k] = c;
    axis.pixel[k] = pixel >= 0.0 && pixel < size ? static_cast<std::int32_t>(pixel) : -1;
  }
  return axis;
}

}  // namespace orvale
