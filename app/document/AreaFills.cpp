#include "app/document/AreaFills.h"

#include "platform/gdi/DeviceContext.h"

namespace orvale {

void FillRectWorkspace(gdi::DeviceContext& dc, std::int32_t right, std::int32_t bottom,
                       std::int32_t left, std::int32_t top) {
  dc.FillRect(gdi::Rect{left, top, right, bottom},
              gdi::CreateSolidBrush(kApplicationWorkspaceColor));
}

void FillRectWhite(gdi::DeviceContext& dc, std::int32_t right, std::int32_t bottom,
                   std::int32_t left, std::int32_t top) {
  const gdi::Brush previous = dc.SelectBrush(gdi::StockBrush(gdi::WHITE_BRUSH));
  dc.FillRect(gdi::Rect{left, top, right, bottom}, dc.CurrentBrush());
  dc.SelectBrush(previous);
}

}  // namespace orvale
