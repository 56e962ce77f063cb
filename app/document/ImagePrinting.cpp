#include "app/document/ImagePrinting.h"

#include <vector>

#include "app/analysis/MathBasics.h"
#include "app/document/LineWidth.h"
#include "app/document/clsDocument.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/RasterOps.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// Puts back what printing changes on the device and in the program, on every way out.
class PrintStateScope {
 public:
  explicit PrintStateScope(gdi::DeviceContext& dc)
      : dc_(dc), brush_(dc.SelectBrush(gdi::StockBrush(gdi::NULL_BRUSH))) {
    dc_.SetStretchBltMode(gdi::HALFTONE);
  }
  ~PrintStateScope() {
    SetLineWidthForDevice(nullptr);
    dc_.SelectBrush(brush_);
    dc_.SetStretchBltMode(gdi::COLORONCOLOR);
  }
  PrintStateScope(const PrintStateScope&) = delete;
  PrintStateScope& operator=(const PrintStateScope&) = delete;

 private:
  gdi::DeviceContext& dc_;
  gdi::Brush brush_;
};

}  // namespace

void PrintImage(const clsDocument& doc, std::int32_t currentOrder, gdi::DeviceContext& dc,
                std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  if (!doc.HasImageBuffer()) return;
  PrintStateScope restore(dc);
  if ((dc.GetDeviceCaps(gdi::RASTERCAPS) & gdi::RC_STRETCHDIB) == 0) {
    ShowMessage("Cannot print image. Printer does not support StretchDIBits",
                mb::kOk | mb::kIconExclamation, "Warning", 0);
    return;
  }
  std::vector<std::uint8_t> dib;
  std::int32_t headerBytes = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  if (!doc.GetDIBFromBuffer(dib, headerBytes, width, height)) return;
  std::size_t bitsOffset = 0;
  const std::optional<gdi::BitmapInfo> info = gdi::ReadPackedDib(dib, bitsOffset);
  if (!info || width < 1 || height < 1) return;

  const double areaWidth = static_cast<double>(right) - left + 1;
  const double areaHeight = static_cast<double>(bottom) - top + 1;
  const double scale = MinD(areaHeight / height, areaWidth / width);
  if (!(scale > 0)) return;
  const std::int32_t destWidth = RoundToInt32(width * scale);
  const std::int32_t destHeight = RoundToInt32(height * scale);
  const std::int32_t x = (static_cast<std::int32_t>(areaWidth) - destWidth) / 2 + left;
  const std::int32_t y = (static_cast<std::int32_t>(areaHeight) - destHeight) / 2 + top;
  dc.StretchDIBits(x, y, destWidth, destHeight, 0, 0, width, height,
                   std::span<const std::uint8_t>(dib).subspan(bitsOffset), *info,
                   gdi::DIB_RGB_COLORS, gdi::SRCCOPY);

  // The overlays in image pixels: (image - offset) x scale lands on the printed picture.
  const double offsetX = -x / scale;
  const double offsetY = -y / scale;
  doc.Aperture.Draw(dc, scale, offsetX, offsetY, false);
  doc.Obstruction.Draw(dc, scale, offsetX, offsetY, false);
  SetLineWidthForDevice(&dc);
  doc.Fringes.DrawAll(dc, scale, offsetX, offsetY, false, 5,
                      FringeMarkStyle{currentOrder, LineWidth});
}

}  // namespace orvale
