#include "platform/runtime/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace orvale {

double RoundHalfEven(double value) {
  // nearbyint rounds in the current mode, which the program never changes from
  // round-to-nearest-even.
  return std::nearbyint(value);
}

std::int32_t RoundToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double r = RoundHalfEven(value);
  if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(r);
}

namespace {

// Up to 15 significant digits, %G style, for a value >= 0.
std::string GeneralDigits(double magnitude) {
  if (magnitude == 0) return "0";
  if (std::isnan(magnitude)) return "NaN";
  if (std::isinf(magnitude)) return "Inf";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::general, 15);
  std::string s(buf, res.ptr);
  for (char& c : s)
    if (c == 'e') c = 'E';
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at the start of `text` (after `start`), 0 when there is none.
std::size_t ScanNumber(std::string_view text, std::size_t start) {
  std::size_t i = start;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  return i - start;
}

double ConvertScanned(std::string_view number) {
  // from_chars does not take a leading '+'.
  bool negative = false;
  if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
    negative = number.front() == '-';
    number.remove_prefix(1);
  }
  double value = 0;
  auto res = std::from_chars(number.data(), number.data() + number.size(), value,
                             std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Either too large or too small: decide by the exponent's sign and size.
    const auto epos = number.find_first_of("eE");
    const bool tiny = epos != std::string_view::npos && epos + 1 < number.size() &&
                      number[epos + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

}  // namespace

std::string FormatGeneral(double value) {
  if (value == 0) return "0";  // also for -0
  std::string s = GeneralDigits(std::fabs(value));
  return std::signbit(value) ? "-" + s : s;
}

std::string FormatDecimalField(double value) {
  if (value == 0) return " 0";
  std::string s = GeneralDigits(std::fabs(value));
  if (s.size() > 1 && s[0] == '0' && s[1] == '.') s.erase(0, 1);
  return (std::signbit(value) ? "-" : " ") + s;
}

std::string FormatLong(std::int64_t value) { return std::to_string(value); }

std::string FormatWholeField(std::int64_t value) {
  std::string digits = std::to_string(value);
  return value >= 0 ? " " + digits + " " : digits + " ";
}

bool TryReadLeadingNumber(std::string_view text, double& value) {
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  const std::size_t len = ScanNumber(text, start);
  if (len == 0) {
    value = 0;
    return false;
  }
  value = ConvertScanned(text.substr(start, len));
  return true;
}

bool TryConvertNumber(std::string_view text, double& value) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  std::size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  const std::size_t len = ScanNumber(text, start);
  if (len == 0 || start + len != text.size()) {
    value = 0;
    return false;
  }
  value = ConvertScanned(text.substr(start, len));
  return true;
}

double ReadLeadingNumber(std::string_view text) {
  double value = 0;
  TryReadLeadingNumber(text, value);
  return value;
}

double ReadSettingNumber(std::string_view text) {
  std::string packed;
  packed.reserve(text.size());
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') packed += c;
  if (packed.size() >= 2 && packed[0] == '&') {
    const char kind = static_cast<char>(packed[1] | 0x20);
    if (kind == 'h' || kind == 'o') {
      const int base = kind == 'h' ? 16 : 8;
      std::uint64_t v = 0;
      std::size_t i = 2;
      for (; i < packed.size(); ++i) {
        const char c = static_cast<char>(packed[i] | 0x20);
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (d < 0 || d >= base) break;
        v = v * base + static_cast<std::uint64_t>(d);
        if (v > 0xFFFFFFFFull) return std::numeric_limits<double>::infinity();
      }
      // A 32-bit pattern: &HFFFFFFFF is -1.
      return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
    }
  }
  return ReadLeadingNumber(packed);
}

}  // namespace orvale
