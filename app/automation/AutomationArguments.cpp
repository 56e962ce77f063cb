#include "app/automation/AutomationArguments.h"

#include "app/automation/OrvaleDocTypes.h"

#include <array>
#include <string_view>
#include <utility>

namespace orvale {

namespace {

template <std::size_t N>
std::optional<std::int32_t> Lookup(const std::array<std::pair<std::string_view, std::int32_t>, N>& table,
                                   const std::string& text) {
  const std::string key = UpperCase(text);
  for (const auto& [keyword, code] : table)
    if (key == keyword) return code;
  return std::nullopt;
}

constexpr std::array<std::pair<std::string_view, std::int32_t>, 21> kAberrationKeywords = {{
    {"TILT", 0},
    {"TILTANGLE", 1},
    {"TILT ANGLE", 1},
    {"DEFOCUS", 2},
    {"ASTIGMATISM", 3},
    {"ASTIGMATISMANGLE", 4},
    {"ASTIGMATISM ANGLE", 4},
    {"COMA", 5},
    {"COMAANGLE", 6},
    {"COMA ANGLE", 6},
    {"SA", 7},
    {"S.A.", 7},
    {"SPHERICAL ABERRATION", 7},
    {"RMS", 8},
    {"PV", 9},
    {"P-V", 9},
    {"PEAKVALLEY", 9},
    {"PEAK VALLEY", 9},
    {"PEAK-VALLEY", 9},
    {"STREHL", 10},
    {"STREHL RATIO", 10},
}};

constexpr std::array<std::pair<std::string_view, std::int32_t>, 4> kDensityKeywords = {{
    {"SUPERFINE", 1}, {"FINE", 2}, {"NORMAL", 3}, {"COARSE", 4},
}};

constexpr std::array<std::pair<std::string_view, std::int32_t>, 4> kDirectionKeywords = {{
    {"HORIZONTAL", 0}, {"H", 0}, {"VERTICAL", 1}, {"V", 1},
}};

constexpr std::array<std::pair<std::string_view, std::int32_t>, 3> kShapeKeywords = {{
    {"CIRCLE", 0}, {"ELLIPSE", 1}, {"POLYGON", 2},
}};

constexpr std::int32_t kAberrationTypeCount = AberrationStrehl + 1;

}  // namespace

std::optional<double> ParseAberrationType(const AutoValue& value) {
  if (const std::string* text = TextValue(value)) {
    if (const auto code = Lookup(kAberrationKeywords, *text)) return *code;
  }
  return NumericValue(value);
}

std::optional<std::int32_t> AberrationCode(const AutoValue& value) {
  const std::optional<double> type = ParseAberrationType(value);
  if (!type) return std::nullopt;
  return WholeNumberIn(*type, 0, kAberrationTypeCount - 1);
}

std::optional<std::int32_t> ParseTraceDensity(const std::string& text) {
  return Lookup(kDensityKeywords, text);
}

std::optional<std::int32_t> ParseTraceDirection(const std::string& text) {
  return Lookup(kDirectionKeywords, text);
}

std::optional<std::int32_t> ParseShapeType(const std::string& text) {
  return Lookup(kShapeKeywords, text);
}

std::optional<std::int32_t> WholeNumberIn(const AutoValue& value, std::int32_t low,
                                          std::int32_t high) {
  const std::optional<double> number = WholeNumberValue(value);
  if (!number || *number < low || *number > high) return std::nullopt;
  return static_cast<std::int32_t>(*number);
}

}  // namespace orvale
