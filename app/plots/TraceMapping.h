#pragma once
// Mapping of a trace's data values to device pixels along one chart axis, and back.
#include <cmath>
#include <cstdint>

#include "platform/runtime/NumberText.h"

namespace orvale {

// Pixel coordinates handed to the device stay within this magnitude.
inline constexpr double kDeviceLimit = 32000;

class AxisMapping {
 public:
  // Horizontal axes grow to the right from `left`; vertical ones grow upward, Max at `top`.
  static AxisMapping Horizontal(std::int32_t left, std::int32_t width, double min, double max,
                                bool logScale) {
    return {false, left, width, min, max, logScale};
  }
  static AxisMapping Vertical(std::int32_t top, std::int32_t height, double min, double max,
                              bool logScale) {
    return {true, top, height, min, max, logScale};
  }

  // The pixel position of a value, not rounded. On a log axis values of 0 or less are
  // taken as 1.
  double Map(double v) const {
    const double span = static_cast<double>(extent_) - 1;
    if (log_) {
      if (!(v > 0)) v = 1;
      return vertical_ ? origin_ + std::log(max_ / v) * span / std::log(max_ / min_)
                       : origin_ + std::log(v / min_) * span / std::log(max_ / min_);
    }
    return vertical_ ? origin_ + (max_ - v) * span / (max_ - min_)
                     : origin_ + (v - min_) * span / (max_ - min_);
  }

  // The whole device pixel of a value, clamped into +-32000 first.
  std::int32_t Device(double v) const { return RoundToInt32(Clamp(Map(v))); }

  static double Clamp(double p) {
    if (std::isnan(p)) return 0;
    return p < -kDeviceLimit ? -kDeviceLimit : p > kDeviceLimit ? kDeviceLimit : p;
  }

  // The value at a pixel position (the inverse of Map). On a log axis a negative
  // position gives 0.
  double Unmap(double p) const {
    const double span = static_cast<double>(extent_) - 1;
    const double offset = p - origin_;
    if (span == 0) return vertical_ ? max_ : min_;
    if (log_) {
      if (p < 0) return 0;
      const double ratio = std::log(max_ / min_) * offset / span;
      return vertical_ ? max_ / std::exp(ratio) : min_ * std::exp(ratio);
    }
    return vertical_ ? max_ - offset * (max_ - min_) / span : min_ + offset * (max_ - min_) / span;
  }

 private:
  AxisMapping(bool vertical, std::int32_t origin, std::int32_t extent, double min, double max,
              bool logScale)
      : vertical_(vertical), origin_(origin), extent_(extent), min_(min), max_(max), log_(logScale) {}

  bool vertical_;
  double origin_;
  std::int32_t extent_;
  double min_;
  double max_;
  bool log_;
};

}  // namespace orvale
