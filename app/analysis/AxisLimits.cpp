#include "app/analysis/AxisLimits.h"

#include <cmath>
#include <string>

#include "app/analysis/MathBasics.h"
#include "app/analysis/SignificantFormat.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

double PowerOfTen(double exponent) { return std::pow(10.0, exponent); }

// 10^floor(Log10(x)): the power of ten at or (for exact powers, by Log10's bias) just
// below x.
double FloorPower(double x) { return PowerOfTen(std::floor(Log10(x))); }

void RoundLogLimits(double& min, double& max, bool autoMin, bool autoMax) {
  if (min <= 0 && max <= 0) {
    min = 1;
    max = 10;
  }
  if (autoMin && autoMax) {
    if (min <= 0) {
      max = PowerOfTen(std::floor(Log10(max) + 1));
      min = FloorPower(max);
    } else {
      min = FloorPower(min);
      max = PowerOfTen(std::floor(Log10(max > 0 ? max : min) + 1));
    }
  } else if (autoMax) {
    const double k = std::floor(Log10(max > 0 ? max : min)) + 1;
    if (min <= 0) min = PowerOfTen(k - 1);
    max = PowerOfTen(k);
  } else if (autoMin) {
    if (min <= 0) {
      min = FloorPower(max);
    } else {
      min = FloorPower(min);
      if (max <= 0) max = PowerOfTen(std::floor(Log10(min) + 1));
    }
  }
}

}  // namespace

std::int32_t GetRangeLeadingDigit(double min, double max) {
  const double span = max - min;
  if (span == 0) return 0;
  const std::string s = FormatSignificant(span, 2, 1);
  const auto first = s.find_first_of("123456789");
  if (first == std::string::npos || first + 1 >= s.size() || s[first + 1] != 'E') return 0;
  return s[first] - '0';
}

std::int32_t RoundAxisLimits(double& min, double& max, bool logAxis, bool autoMin,
                             bool autoMax, double minStep) {
  if (logAxis) {
    RoundLogLimits(min, max, autoMin, autoMax);
    return 10;
  }

  const double span = max - min;
  if (span <= 0) {
    min = 0;
    max = 1;
    return 0;
  }
  const std::string s = FormatSignificant(span, 1, 1);
  const auto e = s.find('E');
  if (e == std::string::npos || e < 1) {  // no usable exponent (a span beyond range)
    min = 0;
    max = 1;
    return 0;
  }
  const int d = s[e - 1] - '0';
  const double oneDigitSpan = ReadLeadingNumber(s);
  const double exponent = std::floor(Log10(span));
  const double p = PowerOfTen(exponent);

  if (span == oneDigitSpan) return d;
  const bool bumped = span > oneDigitSpan;
  bool usedOneAndHalf = false;
  double step;
  if (d == 1) {
    if (bumped) {
      const std::string two = FormatSignificant(span, 2, 1);
      const int d2 = two.size() > 2 && two[1] == '.' ? two[2] - '0' : 0;
      usedOneAndHalf = d2 >= 2;
      step = (usedOneAndHalf ? 1.5 : 1.2) * p;
    } else {
      step = PowerOfTen(exponent + 1);
    }
  } else {
    step = bumped ? (d + 1) * p : d * p;
  }
  if (minStep != kNotGivenDouble && step < minStep) step = minStep;

  if (!(autoMin && autoMax)) {
    if (autoMax) max = min + step;
    if (autoMin) min = max - step;
    return 0;
  }

  const double base = std::floor(min / step) * step;
  const double sub = std::floor((min - base) / (step / 10)) * step / 10;
  if (base + sub + step >= max) {
    min = base + sub;
    max = min + step;
    return 0;
  }
  if (!bumped) {
    step = d == 1 ? step * 1.2 : (d + 1) * p;
  } else if (d == 1) {
    step = usedOneAndHalf ? 2 * p : 1.5 * p;
  } else if (d <= 8) {
    step = (d + 2) * p;
  } else {
    step = 1.2 * PowerOfTen(exponent + 1);
  }
  min = std::floor((min - base) / step * 10) * 0.1 * step + base;
  max = min + step;
  return 0;
}

}  // namespace orvale
