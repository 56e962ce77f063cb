#pragma once
// The export table seen from C++: for each export its name and the value it returns
// when a call fails or throws. Expands korrin32_exports.inc, like the header does.
#include <array>
#include <cstdint>
#include <string_view>

#include "korrin32.h"

namespace orvale::korrin {

template <auto Function>
struct ExportInfo;

#define KR_NO_RESULT
#define KR_EXPORT(ret, name, params, failure)              \
  template <>                                              \
  struct ExportInfo<&::name> {                             \
    static constexpr std::string_view kSymbol = #name;     \
    static ret Failure() { return failure; }               \
  };
#define KR_CALLBACK(ret, symbol, cname, params, failure)   \
  template <>                                              \
  struct ExportInfo<&::cname> {                            \
    static constexpr std::string_view kSymbol = #symbol;   \
    static ret Failure() { return failure; }               \
  };
#include "korrin32_exports.inc"
#undef KR_EXPORT
#undef KR_CALLBACK

// Every exported symbol, in table order.
inline constexpr auto kExportedSymbols = std::to_array<std::string_view>({
#define KR_EXPORT(ret, name, params, failure) #name,
#define KR_CALLBACK(ret, symbol, cname, params, failure) #symbol,
#include "korrin32_exports.inc"
#undef KR_EXPORT
#undef KR_CALLBACK
});
#undef KR_NO_RESULT

// Runs an export's body; any exception becomes the export's failure value, so none
// crosses the C boundary.
template <auto Function, class Body>
auto Guarded(Body&& body) noexcept -> decltype(ExportInfo<Function>::Failure()) {
  try {
    return body();
  } catch (...) {
    return ExportInfo<Function>::Failure();
  }
}

}  // namespace orvale::korrin
