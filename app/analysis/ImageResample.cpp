#include "app/analysis/ImageResample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// Where a destination index samples the source: the lower neighbour, its weight's
// complement and the upper neighbour. Past the last source index both neighbours are
// the last pixel.
struct SamplePosition {
  std::size_t lower;
  std::size_t upper;
  double fraction;
};

SamplePosition Position(std::int64_t index, double step, std::int32_t sourceCount) {
  const double s = static_cast<double>(index) / step;
  const double whole = std::floor(s);
  const auto last = static_cast<std::size_t>(sourceCount - 1);
  if (whole >= static_cast<double>(last)) return {last, last, 0.0};
  const auto lower = static_cast<std::size_t>(whole);
  return {lower, lower + 1, s - whole};
}

std::uint8_t Blend(double a, double b, double fraction) {
  return static_cast<std::uint8_t>(RoundHalfEven((1 - fraction) * a + fraction * b));
}

}  // namespace

bool ResampledSize(std::int32_t width, std::int32_t height, double xFactor, double scale,
                   std::int32_t& newWidth, std::int32_t& newHeight) {
  const double w = RoundHalfEven(width * scale * xFactor);
  const double h = RoundHalfEven(height * scale);
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (!(w >= 1 && w <= kMax && h >= 1 && h <= kMax)) return false;
  newWidth = static_cast<std::int32_t>(w);
  newHeight = static_cast<std::int32_t>(h);
  return true;
}

void ResampleImage(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination,
                   double xFactor, double scale, std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return;
  const auto sourceSize = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (source.size() != sourceSize) return;
  if (scale == 1 && xFactor == 1) {
    if (destination.size() == sourceSize) std::memcpy(destination.data(), source.data(), sourceSize);
    return;
  }
  std::int32_t newWidth = 0;
  std::int32_t newHeight = 0;
  if (!ResampledSize(width, height, xFactor, scale, newWidth, newHeight)) return;
  const auto w = static_cast<std::size_t>(newWidth);
  if (destination.size() != w * static_cast<std::size_t>(newHeight)) return;

  std::vector<SamplePosition> columns(w);
  for (std::size_t i = 0; i < w; ++i) {
    columns[i] = Position(static_cast<std::int64_t>(i), scale * xFactor, width);
  }
  const auto sourceWidth = static_cast<std::size_t>(width);
  for (std::int32_t j = 0; j < newHeight; ++j) {
    const SamplePosition row = Position(j, scale, height);
    const std::uint8_t* top = source.data() + row.lower * sourceWidth;
    const std::uint8_t* bottom = source.data() + row.upper * sourceWidth;
    std::uint8_t* out = destination.data() + static_cast<std::size_t>(j) * w;
    for (std::size_t i = 0; i < w; ++i) {
      const SamplePosition& c = columns[i];
      const std::uint8_t upper = Blend(top[c.lower], top[c.upper], c.fraction);
      const std::uint8_t lower = Blend(bottom[c.lower], bottom[c.upper], c.fraction);
      out[i] = Blend(upper, lower, row.fraction);
    }
  }
}

}  // namespace orvale
