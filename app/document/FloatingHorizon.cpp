#include "app/document/FloatingHorizon.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/LineWalk.h"

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

// Whether the point shows above its column's horizon; `raise` lifts the horizon to it.
bool ShowsAboveHorizon(int x, int y, bool raise) {
  std::int32_t* column = HorizonColumn(x);
  if (column == nullptr || y >= *column) return false;
  if (raise) *column = y;
  return true;
}

// The points of one line that show, gathered for a single SetPixels call. The buffer is
// kept between lines: the wire mesh walks hundreds of thousands of them per redraw.
void PlotLine(int x1, int y1, int x2, int y2, bool raise) {
  if (HorizonDC == nullptr || HorizonWidth <= 0) return;
  if ((x1 < 0 && x2 < 0) || (x1 > HorizonWidth && x2 > HorizonWidth)) return;  // no column of it
  static std::vector<gdi::Point> shown;
  shown.clear();
  gdi::LineDDA(x1, y1, x2, y2, [raise](int x, int y) {
    if (ShowsAboveHorizon(x, y, raise)) shown.push_back(gdi::Point{x, y});
  });
  if (!shown.empty()) HorizonDC->SetPixels(shown, HorizonColor);
}

}  // namespace

int PlotHorizonPixel(int x, int y, std::intptr_t) {
  if (ShowsAboveHorizon(x, y, true)) HorizonDC->SetPixelV(x, y, HorizonColor);
  return 0;
}

int PlotAboveHorizonPixel(int x, int y, std::intptr_t) {
  if (ShowsAboveHorizon(x, y, false)) HorizonDC->SetPixelV(x, y, HorizonColor);
  return 0;
}

void PlotHorizonLine(int x1, int y1, int x2, int y2) { PlotLine(x1, y1, x2, y2, true); }

void PlotAboveHorizonLine(int x1, int y1, int x2, int y2) { PlotLine(x1, y1, x2, y2, false); }

}  // namespace orvale
