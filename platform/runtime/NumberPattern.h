#pragma once
// Numbers formatted by a pattern, as the reports and chart titles write them
// ("0.000", " 0.00", "###0.00", " #", " 0.000000;-0.000000"). C locale: "." is the
// decimal point whatever the user's locale is.
#include <string>
#include <string_view>

namespace orvale {

// `pattern` holds one or two sections separated by ";": the first serves zero and
// positive values, the second (when present and not empty) negative ones and prints
// their magnitude, so a minus sign there is literal text. A negative value formatted
// by the first section gets a minus sign in front of the whole text. The section is
// chosen by the sign of the value itself, so -0.001 with "0.00" gives "-0.00".
//
// In a section, "0" is a digit that is always printed, "#" a digit printed only when
// significant, "." the decimal point; every other character before the first or after
// the last of them is printed as it stands (" 0.00" keeps its blank, "0.000 " its
// trailing one); characters between them are left out. Integer digits beyond the
// placeholders are all printed; "#" decimals drop trailing zeros. Rounding is to the
// nearest, ties to even on exact binary ties (0.125 with "0.00" gives "0.12").
// An empty pattern gives the general number form; NaN and infinities print as
// "NaN" and "Inf" in place of the digits.
std::string FormatPattern(double value, std::string_view pattern);

}  // namespace orvale
