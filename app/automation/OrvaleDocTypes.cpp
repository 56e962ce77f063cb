#include "app/automation/OrvaleDocTypes.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <utility>

#include "platform/com/AutomationError.h"

namespace orvale {

namespace {

struct ErrorName {
  OrvaleDocErrors code;
  std::string_view name;
};

constexpr std::array<ErrorName, 19> kErrorNames = {{
    {ErrorNoDocument, "NoDocument"},
    {ErrorInvalidAberration, "InvalidAberration"},
    {ErrorInvalidTraceDirection, "InvalidTraceDirection"},
    {ErrorInvalidFringeOrder, "InvalidFringeOrder"},
    {ErrorInvalidFringeIndex, "InvalidFringeIndex"},
    {ErrorInvalidFringeDensity, "InvalidFringeDensity"},
    {ErrorInvalidBounds, "InvalidBounds"},
    {ErrorInvalidIndex, "InvalidIndex"},
    {ErrorInvalidShape, "InvalidShape"},
    {ErrorInvalidNumber, "InvalidNumber"},
    {ErrorInvalidBoolean, "InvalidBoolean"},
    {ErrorInvalidPath, "InvalidPath"},
    {ErrorInvalidType, "InvalidType"},
    {ErrorInvalidPoints, "InvalidPoints"},
    {ErrorInvalidParameter, "InvalidParameter"},
    {ErrorNoAperture, "NoAperture"},
    {ErrorNoFringeCenters, "NoFringeCenters"},
    {ErrorNoGridAnalysisResults, "NoGridAnalysisResults"},
    {ErrorNoGrabber, "NoGrabber"},
}};

}  // namespace

void RaiseOrvaleDocError(OrvaleDocErrors code, std::string description, std::string_view source) {
  throw AutomationError(code, std::string(source), std::move(description));
}

std::string AutomationErrorName(std::uint32_t code, std::string_view source) {
  std::string name = "com.halvern.Orvale.Error.";
  std::string_view constant = "Internal";
  for (const ErrorName& entry : kErrorNames)
    if (entry.code == code) constant = entry.name;
  name.append(constant).append(".");
  // An element of a bus name: letters, digits and underscores, not led by a digit.
  if (source.empty() || std::isdigit(static_cast<unsigned char>(source.front()))) name += '_';
  for (char c : source) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  char hex[12];
  std::snprintf(hex, sizeof hex, ".E%08X", static_cast<unsigned>(code));
  return name.append(hex);
}

}  // namespace orvale
