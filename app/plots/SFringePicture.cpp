#include "app/plots/SFringePicture.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/document/InMemoryBitmap.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/RasterOps.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// A value that can be shown: not blank and finite (a degenerate evaluation can give
// NaN or infinities, which would spoil the range and cannot become a byte).
bool HasData(double v) { return v != kBlankValue && std::isfinite(v); }

}  // namespace

void SyntheticFringeBytes(std::span<const double> map, std::span<std::uint8_t> bytes) {
  double lo = kNotGivenDouble;
  double hi = -kNotGivenDouble;
  for (const double v : map) {
    if (!HasData(v)) continue;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  const double scale = hi > lo ? 255.0 / (hi - lo) : 0.0;
  const std::size_t n = std::min(map.size(), bytes.size());
  for (std::size_t i = 0; i < n; ++i) {
    const double v = map[i];
    // Written so that NaN (an overflowing range times 0) also gives 0.
    const double level = HasData(v) ? RoundHalfEven((v - lo) * scale) : 0.0;
    bytes[i] = level >= 255.0 ? 255 : level > 0.0 ? static_cast<std::uint8_t>(level) : 0;
  }
}

void SetPrintDIBBuffer(SFringeViewModel& view, std::span<const std::uint8_t> data,
                       std::int32_t XSize, std::int32_t YSize) {
  std::vector<std::uint8_t> buffer;
  std::int32_t headerBytes = 0;
  // Without the display reshaping the table is the plain grey ramp.
  if (GetDIBFromBuffer(data, XSize, YSize, false, buffer, headerBytes)) {
    view.PrintBuffer = std::move(buffer);
    view.PrintWidth = XSize;
    view.PrintHeight = YSize;
  } else {
    view.PrintBuffer.clear();
    view.PrintWidth = 0;
    view.PrintHeight = 0;
  }
}

void RefreshBitmapFromData(SFringeViewModel& view, std::vector<std::uint8_t> data,
                           std::int32_t XSize, std::int32_t YSize) {
  SetPrintDIBBuffer(view, data, XSize, YSize);
  view.Picture = std::move(data);
  view.XSize = XSize;
  view.YSize = YSize;
}

void PrintImage(const SFringeViewModel& view, gdi::DeviceContext& dc, std::int32_t left,
                std::int32_t top, std::int32_t right, std::int32_t bottom) {
  if ((dc.GetDeviceCaps(gdi::RASTERCAPS) & gdi::RC_STRETCHDIB) == 0) {
    ShowMessage("Cannot print image. Printer does not support StretchDIB",
                mb::kOk | mb::kIconExclamation, "Warning");
    dc.SetStretchBltMode(gdi::COLORONCOLOR);
    return;
  }
  std::size_t bitsOffset = 0;
  const auto info = view.ImageReady && view.PrintWidth > 0 && view.PrintHeight > 0
                        ? gdi::ReadPackedDib(view.PrintBuffer, bitsOffset)
                        : std::nullopt;
  const double w = static_cast<double>(right) - left + 1;
  const double h = static_cast<double>(bottom) - top + 1;
  if (info && w >= 1 && h >= 1) {
    const double s = std::min(h / view.PrintHeight, w / view.PrintWidth);
    const std::int32_t width = RoundToInt32(view.PrintWidth * s);
    const std::int32_t height = RoundToInt32(view.PrintHeight * s);
    const std::int32_t x = RoundToInt32((w - width) / 2 + left);
    const std::int32_t y = RoundToInt32((h - height) / 2 + top);
    if (width >= 1 && height >= 1) {
      dc.SetStretchBltMode(gdi::HALFTONE);
      dc.StretchDIBits(x, y, width, height, 0, 0, view.PrintWidth, view.PrintHeight,
                       std::span<const std::uint8_t>(view.PrintBuffer).subspan(bitsOffset), *info,
                       gdi::DIB_RGB_COLORS, gdi::SRCCOPY);
    }
  }
  dc.SetStretchBltMode(gdi::COLORONCOLOR);
}

}  // namespace orvale
