#include "platform/runtime/NumberPattern.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// One section of a pattern taken apart.
struct PatternSection {
  std::string_view prefix;
  std::string_view suffix;
  bool hasDigits = false;
  int integerZeros = 0;    // integer digits always printed
  bool point = false;
  int decimals = 0;        // decimal places in all
  int requiredDecimals = 0;  // up to the last "0" after the point
};

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

PatternSection ParseSection(std::string_view s) {
  PatternSection p;
  const std::size_t first = s.find_first_of("0#.");
  if (first == std::string_view::npos) {
    p.prefix = s;
    return p;
  }
  const std::size_t last = s.find_last_of("0#.");
  p.hasDigits = true;
  p.prefix = s.substr(0, first);
  p.suffix = s.substr(last + 1);
  bool afterPoint = false;
  for (const char c : s.substr(first, last - first + 1)) {
    if (c == '.' && !afterPoint) {
      afterPoint = true;
      p.point = true;
    } else if (IsPlaceholder(c)) {
      if (afterPoint) {
        ++p.decimals;
        if (c == '0') p.requiredDecimals = p.decimals;
      } else if (c == '0') {
        ++p.integerZeros;
      }
    }
  }
  return p;
}

// The magnitude's digits as the section lays them out.
std::string Digits(double magnitude, const PatternSection& p) {
  if (std::isnan(magnitude)) return "NaN";
  if (std::isinf(magnitude)) return "Inf";
  // The largest double has 309 integer digits.
  std::vector<char> buf(static_cast<std::size_t>(p.decimals) + 320);
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                 std::chars_format::fixed, p.decimals);
  const std::string_view fixed(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  const std::size_t dot = fixed.find('.');
  std::string whole(fixed.substr(0, dot));
  std::string fraction(dot == std::string_view::npos ? std::string_view() : fixed.substr(dot + 1));

  if (whole == "0" && p.integerZeros == 0) whole.clear();
  if (static_cast<int>(whole.size()) < p.integerZeros)
    whole.insert(0, static_cast<std::size_t>(p.integerZeros) - whole.size(), '0');
  while (static_cast<int>(fraction.size()) > p.requiredDecimals && fraction.back() == '0')
    fraction.pop_back();
  return p.point ? whole + "." + fraction : whole;
}

}  // namespace

std::string FormatPattern(double value, std::string_view pattern) {
  if (pattern.empty()) return FormatGeneral(value);
  const std::size_t split = pattern.find(';');
  std::string_view section = pattern.substr(0, split);
  const bool negative = value < 0;
  bool minus = negative;
  if (negative && split != std::string_view::npos) {
    const std::string_view second = pattern.substr(split + 1, pattern.find(';', split + 1) - split - 1);
    if (!second.empty()) {
      section = second;
      minus = false;
    }
  }
  const PatternSection p = ParseSection(section);
  std::string text(minus ? "-" : "");
  text += p.prefix;
  if (p.hasDigits) text += Digits(std::fabs(value), p);
  text += p.suffix;
  return text;
}

}  // namespace orvale
