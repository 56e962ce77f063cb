#pragma once
// The constants of the automation class OrvaleDoc as scripts know them: its shape,
// trace-direction, aberration and fringe-density codes and its error codes, with the
// D-Bus error name each error travels under.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvale {

enum OrvaleDocShape : std::int32_t { ShapeCircle = 0, ShapeEllipse = 1, ShapePolygon = 2 };

enum OrvaleDocTraceDirection : std::int32_t { TraceHorizontal = 0, TraceVertical = 1 };

enum OrvaleDocAberrationType : std::int32_t {
  AberrationTilt = 0,
  AberrationTiltAngle = 1,
  AberrationDefocus = 2,
  AberrationAstigmatism = 3,
  AberrationAstigmatismAngle = 4,
  AberrationComa = 5,
  AberrationComaAngle = 6,
  AberrationSA = 7,
  AberrationRMS = 8,
  AberrationPV = 9,
  AberrationStrehl = 10,
};

enum OrvaleDocFringeDensity : std::int32_t { SuperFine = 1, Fine = 2, Normal = 3, Coarse = 4 };

enum OrvaleDocErrors : std::uint32_t {
  ErrorNoDocument = 0x80040201,
  ErrorInvalidAberration = 0x80040202,
  ErrorInvalidTraceDirection = 0x80040203,
  ErrorInvalidFringeOrder = 0x80040204,
  ErrorInvalidFringeIndex = 0x80040205,
  ErrorInvalidFringeDensity = 0x80040206,
  ErrorInvalidBounds = 0x80040207,
  ErrorInvalidIndex = 0x80040208,
  ErrorInvalidShape = 0x80040209,
  ErrorInvalidNumber = 0x8004020A,
  ErrorInvalidBoolean = 0x8004020B,
  ErrorInvalidPath = 0x8004020C,
  ErrorInvalidType = 0x8004020D,
  ErrorInvalidPoints = 0x8004020E,
  ErrorInvalidParameter = 0x8004020F,
  ErrorNoAperture = 0x80040210,
  ErrorNoFringeCenters = 0x80040211,
  ErrorNoGridAnalysisResults = 0x80040212,
  ErrorNoGrabber = 0x80040213,
};

// The name the object raises its errors under.
inline constexpr std::string_view kOrvaleDocSource = "OrvaleDoc";

// Raises the object's error `code` with `description` (AutomationError).
[[noreturn]] void RaiseOrvaleDocError(OrvaleDocErrors code, std::string description,
                                      std::string_view source = kOrvaleDocSource);

// The D-Bus error name an error travels under, which carries its code and source so
// that the reply's body can be the description alone: "com.halvern.Orvale.Error.", the
// constant's name without "Error" ("Internal" for a code that is none of them), the
// source and "E" with the code in eight hexadecimal digits, as in
// "com.halvern.Orvale.Error.NoDocument.OrvaleDoc.E80040201".
std::string AutomationErrorName(std::uint32_t code, std::string_view source);

}  // namespace orvale
