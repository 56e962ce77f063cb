#pragma once
// The OrvaleDoc interface on D-Bus: every member as a method with its argument and
// result signatures, and the call that runs it on an object. All members are methods
// (several take parameters, and a get that raises an error has no place among
// properties); "v" arguments keep the object's own type checks.
#include <QList>
#include <QVariant>
#include <span>
#include <string_view>

namespace orvale {

class OrvaleDoc;

struct OrvaleDocMethod {
  std::string_view Name;
  std::string_view In;   // the D-Bus signature of the arguments
  std::string_view Out;  // and of the results
  // Runs the member; throws what the member raises.
  QList<QVariant> (*Call)(OrvaleDoc& object, const QList<QVariant>& arguments);
};

inline constexpr std::string_view kOrvaleDocInterface = "com.halvern.Orvale.OrvaleDoc";
inline constexpr std::string_view kFactoryInterface = "com.halvern.Orvale.Factory";

// The members in the interface's order; the object's end ("Release") is the server's.
std::span<const OrvaleDocMethod> OrvaleDocMethods();
const OrvaleDocMethod* FindOrvaleDocMethod(std::string_view name);

}  // namespace orvale
