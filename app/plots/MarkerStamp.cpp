#include "app/plots/MarkerStamp.h"

#include <new>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/RasterOps.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// Larger markers are not made: they would cover the whole plot.
constexpr std::int32_t kLargestMarker = 4096;

}  // namespace

void DrawMarker(gdi::DeviceContext& dc, std::int32_t x, std::int32_t y, std::int32_t size,
                std::int32_t style, gdi::Color outline, gdi::Color fill, bool filled) {
  if (style == 5) {
    dc.SetPixel(x, y, outline);
    return;
  }
  if (style < 0 || style > 4) return;
  const std::int32_t lo = size / 2;
  const std::int32_t hi = size % 2 != 0 ? lo : lo - 1;  // the shape spans exactly size pixels
  const gdi::Brush fillBrush = gdi::CreateSolidBrush(fill);
  const gdi::Pen oldPen = dc.SelectPen(gdi::Pen{gdi::PS_SOLID, 1, outline});
  const gdi::Brush oldBrush = dc.SelectBrush(filled ? fillBrush : gdi::StockBrush(gdi::HOLLOW_BRUSH));
  const int oldFill = dc.SetPolyFillMode(gdi::WINDING);
  switch (style) {
    case 0: dc.Rectangle(x - lo, y - lo, x + hi + 1, y + hi + 1); break;
    case 1: dc.Ellipse(x - lo, y - lo, x + hi + 1, y + hi + 1); break;
    case 2: {
      const std::int32_t a = RoundToInt32(0.3 * size), b = RoundToInt32(0.6 * size);
      const gdi::Point pts[3] = {{x, y - b}, {x + hi, y + a}, {x - lo, y + a}};
      dc.Polygon(pts);
      break;
    }
    case 3: {
      const gdi::Point pts[4] = {{x, y + hi}, {x + hi, y}, {x, y - lo}, {x - lo, y}};
      dc.Polygon(pts);
      break;
    }
    default:
      if (filled) dc.FillRect({x - lo, y - lo, x + hi + 1, y + hi + 1}, fillBrush);
      dc.MoveTo(x - lo, y);
      dc.LineTo(x + hi, y);
      dc.MoveTo(x, y - lo);
      dc.LineTo(x, y + hi);
      break;
  }
  dc.SetPolyFillMode(oldFill);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

MarkerStamp::MarkerStamp(std::int32_t markerSize, std::int32_t side)
    : markerSize_(markerSize), side_(side) {}

std::optional<MarkerStamp> MarkerStamp::Create(std::int32_t markerSize, std::int32_t style,
                                               gdi::Color outline, gdi::Color fill, bool filled) {
  if (style < 0 || style > 4 || markerSize < 0 || markerSize > kLargestMarker) return std::nullopt;
  const std::int32_t side = markerSize % 2 == 0 ? markerSize + 1 : markerSize;
  MarkerStamp stamp(markerSize, side);
  try {
    stamp.mask_ = std::make_shared<gdi::ImageDeviceContext>(side, side, 0xFFFFFF);
    stamp.image_ = std::make_shared<gdi::ImageDeviceContext>(side, side, 0x000000);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  const std::int32_t c = RoundToInt32(markerSize / 2.0);
  DrawMarker(*stamp.mask_, c, c, markerSize, style, 0x000000, 0x000000, filled);
  DrawMarker(*stamp.image_, c, c, markerSize, style, outline, fill, filled);
  return stamp;
}

void MarkerStamp::StampAt(gdi::DeviceContext& dc, const gdi::Point& p) const {
  const std::int32_t x = p.x - markerSize_ / 2;
  const std::int32_t y = p.y - markerSize_ / 2;
  dc.BitBlt(x, y, side_, side_, *mask_, 0, 0, gdi::SRCAND);
  dc.BitBlt(x, y, side_, side_, *image_, 0, 0, gdi::SRCINVERT);
}

}  // namespace orvale
