#pragma once
// Number <-> text conversions shared by every file, setting and report.
// All of them work in the C locale, whatever the user's locale is.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvale {

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

// RoundHalfEven, then clamped into the signed 32-bit range (NaN gives 0).
std::int32_t RoundToInt32(double value);

// Keyword-file decimal form: a blank for a value of zero or more (a minus sign
// otherwise), up to 15 significant digits, no leading zero before the point,
// no trailing zeros, exponent with sign and two digits where needed:
// " .25", "-.25", " 1", " 1E+20", " 1.5E-07".
std::string FormatDecimalField(double value);

// Keyword-file whole-number form: sign place, digits, one trailing blank: " 12 ", "-3 ".
std::string FormatWholeField(std::int64_t value);

// General number form of settings and exports: optional minus sign, leading zero
// before the point, up to 15 significant digits, exponent form where needed:
// "0.25", "-12", "1E-05", "1.5E+15".
std::string FormatGeneral(double value);

// Plain decimal text of a whole number: "-12".
std::string FormatLong(std::int64_t value);

// The file reading rule: the longest number at the start of the text (leading blanks
// and tabs skipped, optional sign, digits, one ".", optional exponent with optional
// sign). A text that does not start with a number reads as 0. Magnitudes beyond the
// double range read as +-infinity.
double ReadLeadingNumber(std::string_view text);

// The same rule, telling whether a number was found at all.
bool TryReadLeadingNumber(std::string_view text, double& value);

// The conversion rule: the whole text must be one number (the leading-number form,
// with blanks and tabs allowed around it); anything else, the empty text included,
// fails and leaves `value` 0. Magnitudes beyond the double range convert to
// +-infinity.
bool TryConvertNumber(std::string_view text, double& value);

// The settings reading rule: like ReadLeadingNumber, but blanks, tabs and line feeds
// are ignored wherever they stand ("12 34" reads 1234), and a leading "&H" or "&O"
// (either case) reads a hexadecimal or octal whole number of up to 32 bits.
double ReadSettingNumber(std::string_view text);

}  // namespace orvale
