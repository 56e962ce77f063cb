#pragma once
// The drawing state of a device context as every output call sees it.
#include <optional>

#include "platform/gdi/DrawModes.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Geometry.h"
#include "platform/gdi/Palette.h"
#include "platform/gdi/RasterOps.h"
#include "platform/gdi/Region.h"

namespace orvale::gdi {

struct DrawState {
  Pen pen = StockPen(BLACK_PEN);
  Brush brush = StockBrush(WHITE_BRUSH);
  LogFont font = DefaultFont();
  Color textColor = 0x000000;
  Color bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  std::uint32_t textAlign = TA_LEFT | TA_TOP;
  int rop2 = R2_COPYPEN;
  int polyFillMode = ALTERNATE;
  int stretchMode = BLACKONWHITE;
  Point position;               // current position of MoveTo/LineTo
  std::optional<Region> clip;   // nullopt: the whole surface
  PaletteHandle palette = kDefaultPalette;
  bool paletteInBackground = false;  // as SelectPalette was told
};

}  // namespace orvale::gdi
