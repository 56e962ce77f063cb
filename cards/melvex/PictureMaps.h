#pragma once
// Contrast and saturation: a signed byte at the interface, a 9-bit register value on the
// card, by a two-piece linear map through the neutral value at 0. The inverses round with
// their own constants so that every value comes back unchanged.
#include <cstdint>

namespace orvale::melvex {

inline constexpr int kNeutralContrast = 216;
inline constexpr int kNeutralSaturationU = 254;
inline constexpr int kNeutralSaturationV = 180;

inline int ContrastRegister(int c) {
  return c <= 0 ? (c + 128) * kNeutralContrast / 128 : kNeutralContrast + 295 * c / 127;
}
inline int SaturationURegister(int c) {
  return c <= 0 ? (c + 128) * kNeutralSaturationU / 128 : kNeutralSaturationU + 257 * c / 127;
}
inline int SaturationVRegister(int c) {
  return c <= 0 ? (c + 128) * kNeutralSaturationV / 128 : kNeutralSaturationV + 182 * c / 127;
}
inline int ContrastFromRegister(int v) {
  return v > kNeutralContrast ? (127 * (v - kNeutralContrast) + 147) / 295
                              : (v - kNeutralContrast) * 128 / kNeutralContrast;
}
inline int SaturationFromRegister(int u) {
  return u > kNeutralSaturationU ? (127 * (u - kNeutralSaturationU) + 128) / 257
                                 : (u - kNeutralSaturationU) * 128 / kNeutralSaturationU;
}

}  // namespace orvale::melvex
