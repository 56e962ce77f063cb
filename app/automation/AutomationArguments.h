#pragma once
// The keyword and number rules of the automation members' arguments. Keywords are
// compared in upper case; numbers are compared as reals before any conversion, so that
// 1E20 is out of range rather than wrapped into a valid index.
#include <cstdint>
#include <optional>

#include "app/automation/AutoValue.h"

namespace orvale {

// The aberration code an argument stands for: a keyword of the aberration table
// ("TILT" ... "STREHL RATIO", "PEAK VALLEY", "S.A.", ...) or the number it holds; none
// when it is neither. The code is not checked against 0..10.
std::optional<double> ParseAberrationType(const AutoValue& value);

// The aberration code 0..10 an argument names (ParseAberrationType, then a whole number
// of that range); none otherwise.
std::optional<std::int32_t> AberrationCode(const AutoValue& value);

// The fringe density of a keyword: "SUPERFINE" 1, "FINE" 2, "NORMAL" 3, "COARSE" 4.
std::optional<std::int32_t> ParseTraceDensity(const std::string& text);

// The trace direction of a keyword: "HORIZONTAL" or "H" 0, "VERTICAL" or "V" 1.
std::optional<std::int32_t> ParseTraceDirection(const std::string& text);

// The shape code of a keyword: "CIRCLE" 0, "ELLIPSE" 1, "POLYGON" 2.
std::optional<std::int32_t> ParseShapeType(const std::string& text);

// A whole number within [low, high] (both inside the 32-bit range), as that number.
std::optional<std::int32_t> WholeNumberIn(const AutoValue& value, std::int32_t low,
                                          std::int32_t high);

}  // namespace orvale
