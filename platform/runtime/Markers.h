#pragma once
// The program-wide marker values. Each is defined here once.
#include <cstdint>

namespace orvale {

// A point without data in every wavefront map and profile. It is a single-precision
// value widened to double, so compare against this constant, never against -3e38.
inline constexpr double kBlankValue = static_cast<double>(-3.0E+38f);

// "Not given" / "no limit" markers for whole numbers and reals.
inline constexpr std::int32_t kNotGivenLong = 2147483647;
inline constexpr double kNotGivenDouble = 1E+308;

// Arrays indexed 1..N (Zernike coefficients, aberration vectors, table slots) are
// declared as std::array<T, N + 1>; element 0 is unused.

}  // namespace orvale
