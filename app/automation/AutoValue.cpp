#include "app/automation/AutoValue.h"

#include <cctype>
#include <cmath>

#include "platform/runtime/NumberText.h"

namespace orvale {

std::optional<double> NumericValue(const AutoValue& value) {
  double number = 0.0;
  if (const auto* whole = std::get_if<std::int64_t>(&value)) {
    number = static_cast<double>(*whole);
  } else if (const auto* real = std::get_if<double>(&value)) {
    number = *real;
  } else if (const std::string* text = TextValue(value)) {
    if (!TryConvertNumber(*text, number)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (!std::isfinite(number)) return std::nullopt;
  return number;
}

std::optional<double> WholeNumberValue(const AutoValue& value) {
  const std::optional<double> number = NumericValue(value);
  if (!number || std::floor(*number) != *number) return std::nullopt;
  return number;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace orvale
