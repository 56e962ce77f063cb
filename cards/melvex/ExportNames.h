#pragma once
// The name each export records as the failing function, one constant per export named
// after it (export_name::ZLP_testSignal is "ZLP_signalPresent").
#include "cards/melvex/zelvo32.h"

namespace orvale::melvex::export_name {

#define ZELVO_EXPORT(ordinal, name, errorName, ret, params, args) \
  inline constexpr const char name[] = errorName;
#define ZELVO_HELPER(name, errorName, ret, params, args) \
  inline constexpr const char name[] = errorName;
#include "cards/melvex/zelvo32_exports.inc"
#undef ZELVO_EXPORT
#undef ZELVO_HELPER

}  // namespace orvale::melvex::export_name
