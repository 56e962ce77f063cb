#include "app/analysis/OutlineDrawing.h"

#include <cmath>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/RasterOps.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

ScopedOutlinePen::ScopedOutlinePen(gdi::DeviceContext& dc, bool xorPen)
    : dc_(dc), previous_(dc.SelectPen(gdi::StockPen(gdi::WHITE_PEN))) {
  dc_.SetROP2(xorPen ? gdi::R2_XORPEN : gdi::R2_COPYPEN);
}

ScopedOutlinePen::~ScopedOutlinePen() { dc_.SelectPen(previous_); }

std::int32_t ScreenMapping::X(double x) const { return RoundToInt32((x - offsetx) * ScaleFactor); }

std::int32_t ScreenMapping::Y(double y) const { return RoundToInt32((y - offsety) * ScaleFactor); }

bool ScreenMapping::IsUsable() const {
  return std::isfinite(ScaleFactor) && std::isfinite(offsetx) && std::isfinite(offsety);
}

}  // namespace orvale
