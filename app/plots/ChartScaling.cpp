#include "app/plots/ChartScaling.h"

#include <cmath>
#include <string>

#include "app/analysis/MathBasics.h"
#include "app/analysis/SignificantFormat.h"
#include "app/document/LineWidth.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

void AutoScaleAxisMajor(ChartAxis& axis, double tmin, double tmax, std::int32_t ScaleFactor) {
  if (!axis.AutoMajor) return;
  if (axis.LogScale) {
    axis.Major = 10;
    return;
  }
  double divisor;
  if (ScaleFactor == 0)
    divisor = 5;
  else if (ScaleFactor % 3 == 0)
    divisor = 6;
  else if (ScaleFactor % 2 != 0 || tmin != 0)
    divisor = 5;
  else
    divisor = 4;
  axis.Major = std::abs(tmax - tmin) / divisor;
}

void AutoScaleAxisMinor(ChartAxis& axis) {
  if (!axis.AutoMinor) return;
  axis.Minor = axis.LogScale ? 10 : axis.Major / 5;
}

std::int32_t ScaleIndexOfExponent(std::int32_t exponent) {
  if (exponent < -18) return 16;
  if (exponent <= -4) return RoundToInt32((30.0 - exponent) / 3.0);
  if (exponent <= 3) return 8 - exponent;
  if (exponent <= 18) return RoundToInt32((18.0 - exponent) / 3.0);
  return 0;
}

std::int32_t ExponentOfScaleIndex(std::int32_t index) {
  if (index >= 0 && index <= 5) return (6 - index) * 3;
  if (index >= 6 && index <= 10) return 8 - index;
  if (index >= 11 && index <= 16) return (10 - index) * 3;
  return 0;
}

void CreateAxisTickLabels(ChartAxis& a) {
  const double multiplier = std::pow(10.0, -ExponentOfScaleIndex(a.SFactorIdx));
  if (!(a.Max > a.Min)) return;

  // Label counts are computed in doubles and capped before they become whole numbers.
  double count;
  if (a.LogScale) {
    if (!(a.Min > 0) || !(a.Major > 0)) return;
    count = RoundHalfEven(Log10(a.Max / a.Min / a.Major) + 2);
  } else {
    if (!(a.Major > 0)) return;
    count = RoundHalfEven(std::abs(a.Max - a.Min) / a.Major) + 1;
  }
  if (std::isnan(count)) return;
  const std::int32_t n = count < 1 ? 0 : count > kMaxTickLabels ? kMaxTickLabels : static_cast<std::int32_t>(count);

  std::string labels;
  const double step = a.Major * multiplier;
  for (std::int32_t k = 0; k < n; ++k) {
    double value;
    if (a.LogScale) {
      value = std::pow(a.Major, k) * a.Min * multiplier;
    } else {
      value = k * step + a.Min * multiplier;
      if (std::abs(value) < std::abs(step) / 100) value = 0;  // rounding residue at zero
    }
    std::string text = FormatSignificant(value, a.LabelDigits, 0);
    const auto first = text.find_first_not_of(' ');
    labels += first == std::string::npos ? std::string() : text.substr(first);
    labels += '|';
  }
  a.LabelFont.Caption = labels;
  a.NumLabels = n;
}

void TickLengthsForDevice(const gdi::DeviceContext* printer, std::int32_t& major,
                          std::int32_t& minor) {
  major = 7;
  minor = 4;
  if (printer == nullptr) return;
  const double ratio = PageToScreenRatio(printer->Caps(), gdi::ScreenDeviceCaps());
  if (ratio > 1) {
    major = RoundToInt32(7 * ratio);
    minor = RoundToInt32(4 * ratio);
  }
}

}  // namespace orvale
