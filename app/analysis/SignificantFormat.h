#pragma once
// Number to text with a chosen number of significant digits, for chart labels and
// axis rounding.
#include <cstdint>
#include <string>

namespace orvale {

// Digits >= 1 rounds to that many significant digits; Digits < 1 keeps up to 15 and
// cleans floating-point noise in the last places (0.2999999999999 gives "0.3").
// Notation 1 is scientific ("1.5E3", "2E-4"), 0 chooses scientific for exponents
// above 5 or below -3, anything else is fixed. "." is the decimal point; no grouping.
std::string FormatSignificant(double value, std::int32_t digits, std::int32_t notation);

}  // namespace orvale
