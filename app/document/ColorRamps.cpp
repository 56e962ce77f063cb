#include "app/document/ColorRamps.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// Where a value lies in the range of two limits, after clamping it into that range.
struct RampPosition {
  double lo;
  double range;
  double t;  // (value - lo) / range
};

std::optional<RampPosition> PlaceInRange(double& value, double limitA, double limitB) {
  const double range = std::fabs(limitB - limitA);
  if (range == 0) return std::nullopt;
  const double lo = std::min(limitA, limitB);
  value = std::clamp(value, lo, std::max(limitA, limitB));
  return RampPosition{lo, range, (value - lo) / range};
}

int Channel(double x) { return std::clamp(static_cast<int>(RoundHalfEven(x)), 0, 255); }

}  // namespace

gdi::Color RainbowColor(double& value, double limitA, double limitB) {
  const std::optional<RampPosition> place = PlaceInRange(value, limitA, limitB);
  if (!place) return 0;
  const auto [lo, range, t] = *place;
  int r = 255;
  int g = 255;
  int b = 255;
  if (value < lo + range / 6) {
    r = 0;
    g = 0;
  } else if (value < lo + range / 3) {
    r = 0;
    g = Channel((t - 1.0 / 6) * 1530);
  } else if (value < lo + range / 2) {
    r = 0;
    b = Channel((0.5 - t) * 1530);
  } else if (value < lo + 2 * range / 3) {
    r = Channel((t - 0.5) * 1530);
    b = 0;
  } else if (value < lo + 5 * range / 6) {
    g = Channel((5.0 / 6 - t) * 1530);
    b = 0;
  } else {
    g = 0;
    b = 0;
  }
  return static_cast<gdi::Color>(r + 256 * g + 65536 * b);
}

gdi::Color GrayColor(double& value, double limitA, double limitB) {
  const std::optional<RampPosition> place = PlaceInRange(value, limitA, limitB);
  if (!place) return 0;
  const auto [lo, range, t] = *place;
  int d = 0;
  if (value >= lo + 5 * range / 6) {
    d = 200;
  } else if (value >= lo + range / 6) {
    d = Channel((t - 1.0 / 6) * 1200 / 4);
  }
  return static_cast<gdi::Color>(255 - d) * 0x010101u;
}

}  // namespace orvale
