// Drawing DIBs on a device context, and the one library palette that 256-colour displays
// draw them with.
#include <vector>

#include "cards/melvex/DibBlock.h"
#include "cards/melvex/DibLayout.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/RasterOps.h"

namespace orvale::melvex {

namespace {

gdi::DeviceContext* Surface(ZLV_HDC hdc) { return static_cast<gdi::DeviceContext*>(hdc); }

// Bits per pixel of the display, over all its planes.
int DisplayBits(const gdi::DeviceContext& dc) {
  return dc.GetDeviceCaps(gdi::PLANES) * dc.GetDeviceCaps(gdi::BITSPIXEL);
}

}  // namespace

std::int32_t ZelvoLibrary::ZLV_drawDIB(ZLV_HDC hdc, ZLV_HDIB dib, std::int32_t x, std::int32_t y,
                                       std::int32_t width, std::int32_t height) {
  ExportScope scope(*this, export_name::ZLV_drawDIB);
  if (hdc == nullptr || dib == nullptr) return Fail(code::kBadPointer);
  LockedBlock bytes(memory_, dib);
  if (!bytes) return Fail(code::kNoMemory);
  const std::optional<DibView> view = CheckDib({bytes.Bytes(), bytes.Size()});
  if (!view) return Fail(code::kOutOfRange);
  gdi::DeviceContext& dc = *Surface(hdc);
  if (palette_ != gdi::PaletteHandle::None) {
    dc.SelectPalette(palette_, false);
    dc.RealizePalette();
  }
  const gdi::BitmapInfo& info = view->info;
  const std::span<const std::uint8_t> bits(bytes.Bytes() + view->bitsOffset, view->imageBytes);
  const int dibWidth = info.header.biWidth;
  const int dibHeight = view->rows;  // the drawing layer reads the storage order from the header
  if ((width != 0 && width != dibWidth) || (height != 0 && height != dibHeight)) {
    dc.SetStretchBltMode(gdi::COLORONCOLOR);
    dc.StretchDIBits(x, y, width != 0 ? width : dibWidth, height != 0 ? height : dibHeight, 0, 0, dibWidth,
                     dibHeight, bits, info, gdi::DIB_RGB_COLORS, gdi::SRCCOPY);
  } else {
    dc.SetDIBitsToDevice(x, y, dibWidth, dibHeight, 0, 0, 0, dibHeight, bits, info, gdi::DIB_RGB_COLORS);
  }
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_draw(ZLV_HDC hdc, const ZlvConfig* config, std::int32_t x, std::int32_t y,
                                    std::int32_t width, std::int32_t height) {
  ExportScope scope(*this, export_name::ZLV_draw);
  if (config == nullptr || hdc == nullptr) return Fail(code::kBadPointer);
  // The caller's record stays as it is, whatever happens.
  ZlvConfig drawn = *config;
  if (drawn.outputFormat < 1 || drawn.outputFormat > 8 || drawn.outputFormat == 6) drawn.outputFormat = 7;
  if (drawn.outputFormat == 7 && DisplayBits(*Surface(hdc)) <= 8) drawn.outputFormat = 3;
  ZLV_HDIB dib = nullptr;
  if (const std::int32_t rc = ZLV_readoutDIB(&drawn, &dib)) return rc;
  const std::int32_t rc = ZLV_drawDIB(hdc, dib, x, y, width, height);
  memory_.Free(dib);
  return rc;
}

std::int32_t ZelvoLibrary::ZLV_defaultPalette(ZLV_HDC hdc, std::int32_t grey) {
  ExportScope scope(*this, export_name::ZLV_defaultPalette);
  if (hdc == nullptr) return Fail(code::kBadPointer);
  const int bits = DisplayBits(*Surface(hdc));
  if (bits > 8) return code::kOk;  // true colour needs no palette
  if (bits < 8) return Fail(code::kBadPointer);
  gdi::LogPalette palette;
  palette.entries.reserve(gdi::kMaxPaletteEntries);
  for (int i = 0; i < 256; ++i) {
    const auto level = static_cast<std::uint8_t>(i);
    const Rgb c = grey != 0 ? Rgb{level, level, level} : Palette332(i);
    palette.entries.push_back({c.red, c.green, c.blue, gdi::PC_NOCOLLAPSE});
  }
  const gdi::PaletteHandle created = gdi::CreatePalette(palette);
  if (created == gdi::PaletteHandle::None) return Fail(code::kNoMemory);
  if (palette_ != gdi::PaletteHandle::None) gdi::DeletePalette(palette_);
  palette_ = created;
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_releasePalette() {
  ExportScope scope(*this, export_name::ZLV_releasePalette);
  if (palette_ == gdi::PaletteHandle::None) return code::kOk;
  const bool deleted = gdi::DeletePalette(palette_);
  palette_ = gdi::PaletteHandle::None;
  return deleted ? code::kOk : Fail(code::kBadPointer);
}

}  // namespace orvale::melvex
