#pragma once
// The scaling rules every chart axis shares: automatic major and minor spacing, the
// scale-factor index of the label exponent, the tick labels, and the tick lengths for
// the screen or a printer.
#include <cstdint>

#include "app/plots/ChartAxis.h"

namespace orvale {

namespace gdi {
class DeviceContext;
}

// Only with AutoMajor: a log axis gets 10, any other |tmax - tmin| divided by 5, 6 or 4
// by the range's leading digit (ScaleFactor) and whether it starts at 0.
void AutoScaleAxisMajor(ChartAxis& axis, double tmin, double tmax, std::int32_t ScaleFactor);
// Only with AutoMinor: a log axis gets 10, any other a fifth of Major.
void AutoScaleAxisMinor(ChartAxis& axis);

// The scale-factor index (0..16, 8 = exponent 0) names the power of ten by which label
// values are divided: exponents 18 .. -18 in engineering steps outside -3..3.
std::int32_t ScaleIndexOfExponent(std::int32_t exponent);
std::int32_t ExponentOfScaleIndex(std::int32_t index);

// Builds the label string (each label followed by "|", at most kMaxTickLabels) and
// NumLabels; keeps the old labels when the range or spacing cannot be labelled.
void CreateAxisTickLabels(ChartAxis& axis);

// Tick lengths 7 and 4 for the screen (nullptr); for a printer whose page diagonal is
// larger than the screen's, grown by that ratio.
void TickLengthsForDevice(const gdi::DeviceContext* printer, std::int32_t& major,
                          std::int32_t& minor);

}  // namespace orvale
