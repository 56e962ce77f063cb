#include "app/document/FloatingHorizon.h"

#include "platform/gdi/DeviceContext.h"

namespace orvale {

gdi::DeviceContext* HorizonDC = nullptr;
gdi::Color HorizonColor = 0;
std::vector<std::int32_t> Horizon;
std::int32_t HorizonWidth = 0;

void ResetHorizon(std::int32_t width) {
  if (width <= 0) {
    Horizon.clear();
    HorizonWidth = 0;
    return;
  }
  Horizon.assign(static_cast<std::size_t>(width) + 1, kHorizonUntouched);
  HorizonWidth = width;
}

namespace {

// The horizon entry of column x, or nullptr when x is no column of an active horizon.
std::int32_t* HorizonColumn(int x) {
  if (HorizonDC == nullptr || HorizonWidth <= 0 || x < 0 || x > HorizonWidth) return nullptr;
  if (static_cast<std::size_t>(x) >= Horizon.size()) return nullptr;
  return &Horizon[static_cast<std::size_t>(x)];
}

}  // namespace

int PlotHorizonPixel(int x, int y, std::intptr_t) {
  std::int32_t* column = HorizonColumn(x);
  if (column == nullptr || y >= *column) return 0;
  HorizonDC->SetPixelV(x, y, HorizonColor);
  *column = y;
  return 0;
}

int PlotAboveHorizonPixel(int x, int y, std::intptr_t) {
  const std::int32_t* column = HorizonColumn(x);
  if (column == nullptr || y >= *column) return 0;
  HorizonDC->SetPixelV(x, y, HorizonColor);
  return 0;
}

}  // namespace orvale
