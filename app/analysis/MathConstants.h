#pragma once
// The constants every engine computation uses. They are the program's own values (pi
// to 15 significant digits), not the exact ones: results depend on them.

namespace orvale {

inline constexpr double kPi = 3.14159265358979;
inline constexpr double kHalfPi = 1.570796326794895;
inline constexpr double kDegreesToRadians = 0.017453292519943278;

// Log10 divides by this slightly large value of ln 10, so Log10(10^k) lies just below k.
inline constexpr double kLn10 = 2.30258509299405;

}  // namespace orvale
