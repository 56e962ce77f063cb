#include "app/document/ExportFormats.h"

#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/TextOutput.h"

namespace orvale {

std::string SurfaceMapCsvText(std::span<const double> map) {
  std::string text;
  text.reserve(static_cast<std::size_t>(kSurfaceMapPoints) * 8);
  for (int row = 0; row < kSurfaceMapSide; ++row) {
    for (int col = 0; col < kSurfaceMapSide; ++col) {
      const double v = map[static_cast<std::size_t>(row * kSurfaceMapSide + col)];
      if (col > 0) text += ',';
      text += FormatGeneral(v == kBlankValue ? 0.0 : v);
    }
    text += kCRLF;
  }
  return text;
}

std::string ZernikeListText(std::span<const double, 37> zernikes) {
  std::string text;
  for (std::size_t i = 1; i <= 36; ++i) {
    text += FormatGeneral(zernikes[i]);  // C locale: "." whatever the user's locale
    text += kCRLF;
  }
  return text;
}

}  // namespace orvale
