#include "app/automation/OrvaleDocTypes.h"

#include <array>
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

std::string AutomationErrorName(std::uint32_t code) {
  std::string name = "com.halvern.Orvale.Error.";
  for (const ErrorName& entry : kErrorNames)
    if (entry.code == code) return name.append(entry.name);
  return name.append("Internal");
}

}  // namespace orvale
