#include "app/analysis/SignificantFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace orvale {

namespace {

// Significant digits D (no leading or trailing zeros; "0" for zero) and the decimal
// exponent E of the first digit of a magnitude written with 15 significant digits.
void SignificantDigits(double magnitude, std::string& digits, int& exponent) {
  digits = "0";
  exponent = 0;
  if (magnitude == 0) return;
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
  const std::string text(buf, res.ptr);  // d.ddddddddddddddde[+-]xx
  const auto e = text.find('e');
  digits = text.substr(0, 1) + text.substr(2, e - 2);
  exponent = std::atoi(text.c_str() + e + 1);
  const auto last = digits.find_last_not_of('0');
  digits.erase(last + 1);
}

bool EndsWithAny(const std::string& d, std::initializer_list<const char*> endings) {
  for (const char* ending : endings)
    if (d.size() >= 5 && d.compare(d.size() - 5, 5, ending) == 0) return true;
  return false;
}

// Adds 1 to the last digit of d, carrying through 9s; a carry past the first digit
// makes d "1" and raises the exponent.
void IncrementLastDigit(std::string& d, int& exponent) {
  std::size_t i = d.size();
  while (i > 0) {
    --i;
    if (d[i] != '9') {
      ++d[i];
      d.erase(i + 1);
      return;
    }
  }
  d = "1";
  ++exponent;
}

// Cleans binary noise in the last of 15 places: ...x99999 becomes ...(x+1),
// ...x00001 becomes ...x.
void CleanLastPlaces(std::string& d, int& exponent) {
  if (d.size() < 6) return;
  if (EndsWithAny(d, {"99999", "99998", "99997", "99996"})) {
    d.erase(d.size() - 5);
    const auto last = d.find_last_not_of('9');
    if (last == std::string::npos) {
      d = "1";
      ++exponent;
    } else {
      d.erase(last + 1);
      IncrementLastDigit(d, exponent);
    }
  } else if (EndsWithAny(d, {"00001", "00002", "00003"})) {
    d.erase(d.size() - 5);
    const auto last = d.find_last_not_of('0');
    d.erase(last == std::string::npos ? 1 : last + 1);
  }
}

void RoundToDigits(std::string& d, int& exponent, std::size_t count) {
  if (d.size() <= count) return;
  const bool up = d[count] >= '5';
  d.erase(count);
  if (up) IncrementLastDigit(d, exponent);
}

std::string Scientific(const std::string& d, int exponent) {
  std::string s(1, d[0]);
  if (d.size() > 1) s += "." + d.substr(1);
  return s + "E" + std::to_string(exponent);
}

std::string Fixed(const std::string& d, int exponent) {
  if (exponent < 0) return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + d;
  const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
  if (d.size() > whole) return d.substr(0, whole) + "." + d.substr(whole);
  return d + std::string(whole - d.size(), '0');
}

}  // namespace

std::string FormatSignificant(double value, std::int32_t digits, std::int32_t notation) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";

  std::string d;
  int exponent = 0;
  SignificantDigits(std::fabs(value), d, exponent);
  if (digits < 1)
    CleanLastPlaces(d, exponent);
  else
    RoundToDigits(d, exponent, static_cast<std::size_t>(digits));
  const auto last = d.find_last_not_of('0');
  d.erase(last == std::string::npos ? 1 : last + 1);

  const bool scientific = notation == 1 || (notation == 0 && (exponent > 5 || exponent < -3));
  const std::string text = scientific ? Scientific(d, exponent) : Fixed(d, exponent);
  return value < 0 ? "-" + text : text;
}

}  // namespace orvale
