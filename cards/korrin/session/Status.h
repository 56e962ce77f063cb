#pragma once
// Results of the board library: 0 for success, -1 (low word 0xFFFF) for failure.
#include <cstdint>

namespace orvale::korrin {

inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kFail = -1;

inline std::int32_t StatusOf(bool ok) { return ok ? kOk : kFail; }

}  // namespace orvale::korrin
