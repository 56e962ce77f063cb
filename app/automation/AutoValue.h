#pragma once
// An argument of an automation call as the members see it. A client may pass anything;
// the members check what they were given by its kind, and these are the kinds they
// tell apart: nothing, a Boolean, a whole number, a real, a text, a list of numbers
// (control points) and anything else.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvale {

// A list of numbers. A list that held anything but numbers (a text that is no number,
// a Boolean, a nested list) keeps its numbers and says so.
struct NumberList {
  std::vector<double> Values;
  bool AllNumbers = true;
};

// A value of a kind no member takes (an object path, a signature, a dictionary, a
// nested variant, ...).
struct OtherValue {};

using AutoValue =
    std::variant<std::monostate, bool, std::int64_t, double, std::string, NumberList, OtherValue>;

inline bool IsMissing(const AutoValue& value) { return std::holds_alternative<std::monostate>(value); }
inline const bool* BooleanValue(const AutoValue& value) { return std::get_if<bool>(&value); }
inline const std::string* TextValue(const AutoValue& value) { return std::get_if<std::string>(&value); }
inline const NumberList* ListValue(const AutoValue& value) { return std::get_if<NumberList>(&value); }

// The value of a numeric argument: a whole number, a finite real, or a text that
// converts to a finite number as a whole. A Boolean is not numeric, and neither is a
// NaN or an infinity, so that no "nan" ever reaches an option's text.
std::optional<double> NumericValue(const AutoValue& value);

// A numeric argument that equals its integer part.
std::optional<double> WholeNumberValue(const AutoValue& value);

// The text in upper case (ASCII), as keywords are compared.
std::string UpperCase(std::string_view text);

}  // namespace orvale
