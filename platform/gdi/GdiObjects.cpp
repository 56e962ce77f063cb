#include "platform/gdi/GdiObjects.h"

#include <algorithm>
#include <cstring>

namespace orvale::gdi {

std::string LogFont::FaceName() const {
  const auto end = std::find(lfFaceName.begin(), lfFaceName.end(), '\0');
  return std::string(lfFaceName.begin(), end);
}

void LogFont::SetFaceName(std::string_view name) {
  lfFaceName.fill('\0');
  const std::size_t n = std::min<std::size_t>(name.size(), kFaceNameSize - 1);
  if (n > 0) std::memcpy(lfFaceName.data(), name.data(), n);
}

std::optional<Pen> CreatePen(int style, int width, Color color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME || width < 0) return std::nullopt;
  return Pen{style, width, color & 0xFFFFFF};
}

Brush CreateSolidBrush(Color color) { return Brush{BS_SOLID, color & 0xFFFFFF, HS_HORIZONTAL}; }

std::optional<Brush> CreateHatchBrush(int hatch, Color color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return std::nullopt;
  return Brush{BS_HATCHED, color & 0xFFFFFF, hatch};
}

namespace {
LogFont StockFont(const char* face) {
  LogFont font;
  font.SetFaceName(face);
  return font;
}
}  // namespace

LogFont DefaultFont() { return StockFont("Arial"); }

std::optional<GdiObject> GetStockObject(int index) {
  switch (index) {
    case WHITE_BRUSH: return CreateSolidBrush(0xFFFFFF);
    case LTGRAY_BRUSH: return CreateSolidBrush(0xC0C0C0);
    case GRAY_BRUSH: return CreateSolidBrush(0x808080);
    case DKGRAY_BRUSH: return CreateSolidBrush(0x404040);
    case BLACK_BRUSH: return CreateSolidBrush(0x000000);
    case NULL_BRUSH: return Brush{BS_NULL, 0, HS_HORIZONTAL};
    case WHITE_PEN: return Pen{PS_SOLID, 0, 0xFFFFFF};
    case BLACK_PEN: return Pen{PS_SOLID, 0, 0x000000};
    case NULL_PEN: return Pen{PS_NULL, 0, 0x000000};
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: return StockFont("Courier New");
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case DEFAULT_GUI_FONT: return DefaultFont();
    default: return std::nullopt;
  }
}

Pen StockPen(int index) {
  const auto object = GetStockObject(index);
  if (object && std::holds_alternative<Pen>(*object)) return std::get<Pen>(*object);
  return Pen{};
}

Brush StockBrush(int index) {
  const auto object = GetStockObject(index);
  if (object && std::holds_alternative<Brush>(*object)) return std::get<Brush>(*object);
  return CreateSolidBrush(0xFFFFFF);
}

}  // namespace orvale::gdi
