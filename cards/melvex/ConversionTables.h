#pragma once
// The look-up tables that turn the card's CbYCrY samples into output pixels: luma and
// chroma terms of the studio-range BT.601 conversion, a gamma curve, and clamp tables
// indexed by the sum of a luma and chroma terms. The sums already carry the +280 of the
// luma term, so every index is positive; the clamp tables are sized at compile time to
// the largest sum any format can form, dither included.
#include <algorithm>
#include <array>
#include <cstdint>

namespace orvale::melvex {

// The coefficients are single-precision and every product is truncated toward zero.
constexpr int LumaTerm(int y) { return static_cast<int>(1.164f * static_cast<float>(y) - 18.624f) + 280; }
constexpr int CrRedTerm(int cr) { return static_cast<int>(1.596f * static_cast<float>(cr - 128)); }
constexpr int CrGreenTerm(int cr) { return static_cast<int>(0.813f * static_cast<float>(128 - cr)); }
constexpr int CbGreenTerm(int cb) { return static_cast<int>(0.391f * static_cast<float>(128 - cb)); }
constexpr int CbBlueTerm(int cb) { return static_cast<int>(2.018f * static_cast<float>(cb - 128)); }

// Clamp-table index ranges: below kClampLow the minimum, from kClampHigh the maximum.
inline constexpr int kClampLow = 280;
inline constexpr int kClampHigh = 536;

// The largest dither offset, and how much the 3:3:2 format adds of it per component.
inline constexpr int kMaxDither = 15;
inline constexpr int kRedGreenDitherScale = 2;
inline constexpr int kBlueDitherScale = 4;

namespace detail {
template <class Term>
constexpr int TermExtreme(Term term, bool largest) {
  int best = term(0);
  for (int v = 1; v < 256; ++v) best = largest ? std::max(best, term(v)) : std::min(best, term(v));
  return best;
}
constexpr int LargestSum() {
  const int yt = TermExtreme(LumaTerm, true);
  const int red = yt + TermExtreme(CrRedTerm, true) + kRedGreenDitherScale * kMaxDither;
  const int green = yt + TermExtreme(CbGreenTerm, true) + TermExtreme(CrGreenTerm, true) +
                    kRedGreenDitherScale * kMaxDither;
  const int blue = yt + TermExtreme(CbBlueTerm, true) + kBlueDitherScale * kMaxDither;
  return std::max({red, green, blue});
}
constexpr int SmallestSum() {
  const int yt = TermExtreme(LumaTerm, false);
  return std::min({yt + TermExtreme(CrRedTerm, false),
                   yt + TermExtreme(CbGreenTerm, false) + TermExtreme(CrGreenTerm, false),
                   yt + TermExtreme(CbBlueTerm, false)});
}
}  // namespace detail

inline constexpr int kClampTableSize = detail::LargestSum() + 1;
static_assert(detail::SmallestSum() >= 0, "a clamp-table index can go negative");
static_assert(kClampTableSize > kClampHigh, "the clamp tables must reach their maximum part");

// The ordered-dither offset of output line n, pixel k of the call.
inline int DitherOffset(int n, int k) {
  static constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return kBayer4[n & 3][k & 3];
}

struct ConversionTables {
  template <class T>
  using Clamp = std::array<T, kClampTableSize>;

  std::array<int, 256> yt{};
  std::array<int, 256> crR{};
  std::array<int, 256> crG{};
  std::array<int, 256> cbG{};
  std::array<int, 256> cbB{};
  std::array<std::uint8_t, 256> gammaCurve{};  // entry k: the gamma-corrected value of k
  std::array<std::uint8_t, 256> luminance{};   // studio-range grey to full range, with gamma

  Clamp<std::uint8_t> value8{};
  Clamp<std::uint16_t> red555{}, green555{}, blue555{};
  Clamp<std::uint16_t> red565{}, green565{}, blue565{};
  Clamp<std::uint8_t> red332{}, green332{}, blue332{};

  // Rebuilds every table for `gamma` (not 0, not NaN). A negative gamma is accepted; its
  // curve is clamped to 0..255 like any other.
  void Build(float gamma);
};

// The gamma curve alone: k for gamma 1, else 0 for k = 0 and
// 255 x (k / 255)^(1 / gamma) + 0.5, truncated and clamped to 0..255.
std::array<std::uint8_t, 256> GammaCurve(float gamma);

}  // namespace orvale::melvex
