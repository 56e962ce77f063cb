#include "cards/melvex/ConversionTables.h"

#include <cmath>

namespace orvale::melvex {

std::array<std::uint8_t, 256> GammaCurve(float gamma) {
  std::array<std::uint8_t, 256> curve{};
  for (int k = 0; k < 256; ++k) {
    if (gamma == 1.0f) {
      curve[k] = static_cast<std::uint8_t>(k);
    } else if (k > 0) {
      const double value = 255.0 * std::pow(k / 255.0, 1.0 / static_cast<double>(gamma)) + 0.5;
      // A negative gamma raises values past 255; clamp before converting.
      curve[k] = value >= 255.0 ? 255 : static_cast<std::uint8_t>(value > 0.0 ? value : 0.0);
    }
  }
  return curve;
}

namespace {

template <class T, class Part>
void FillClamp(ConversionTables::Clamp<T>& table, const std::array<std::uint8_t, 256>& curve,
               Part part) {
  for (int i = 0; i < kClampTableSize; ++i) {
    const int k = std::clamp(i - kClampLow, 0, 255);
    table[i] = static_cast<T>(i < kClampLow ? part(0) : i >= kClampHigh ? part(255) : part(curve[k]));
  }
}

}  // namespace

void ConversionTables::Build(float gamma) {
  for (int v = 0; v < 256; ++v) {
    yt[v] = LumaTerm(v);
    crR[v] = CrRedTerm(v);
    crG[v] = CrGreenTerm(v);
    cbG[v] = CbGreenTerm(v);
    cbB[v] = CbBlueTerm(v);
  }
  gammaCurve = GammaCurve(gamma);
  for (int l = 0; l < 256; ++l) {
    if (l < 16) {
      luminance[l] = 0;
    } else if (l >= 240) {
      luminance[l] = 255;
    } else {
      // (l - 16) x 255 / 223 rounded; it never falls on a half.
      const int expanded = ((l - 16) * 255 * 2 + 223) / (2 * 223);
      luminance[l] = gammaCurve[expanded];
    }
  }
  // Beyond the luma range the curve's ends apply, whatever the gamma.
  FillClamp(value8, gammaCurve, [](int g) { return g; });
  FillClamp(red555, gammaCurve, [](int g) { return (g >> 3) << 10; });
  FillClamp(green555, gammaCurve, [](int g) { return (g >> 3) << 5; });
  FillClamp(blue555, gammaCurve, [](int g) { return g >> 3; });
  FillClamp(red565, gammaCurve, [](int g) { return (g >> 3) << 11; });
  FillClamp(green565, gammaCurve, [](int g) { return (g >> 2) << 5; });
  FillClamp(blue565, gammaCurve, [](int g) { return g >> 3; });
  FillClamp(red332, gammaCurve, [](int g) { return (g >> 5) << 5; });
  FillClamp(green332, gammaCurve, [](int g) { return (g >> 5) << 2; });
  FillClamp(blue332, gammaCurve, [](int g) { return g >> 6; });
}

}  // namespace orvale::melvex
