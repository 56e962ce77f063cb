#include "app/report/ReportGeometry.h"

#include <algorithm>

#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

std::int32_t Nearest(double value) { return RoundToInt32(value); }

}  // namespace

ReportGeometry ComputeReportGeometry(const gdi::DeviceCaps& caps) {
  const std::int32_t dpiX = caps.Get(gdi::LOGPIXELSX);
  const std::int32_t dpiY = caps.Get(gdi::LOGPIXELSY);
  const std::int32_t horzRes = caps.Get(gdi::HORZRES);
  const std::int32_t vertRes = caps.Get(gdi::VERTRES);
  const std::int32_t pageWidth = caps.Get(gdi::PHYSICALWIDTH);
  const std::int32_t pageHeight = caps.Get(gdi::PHYSICALHEIGHT);

  ReportGeometry g;
  g.OffsetX = caps.Get(gdi::PHYSICALOFFSETX);
  g.OffsetY = caps.Get(gdi::PHYSICALOFFSETY);
  if (pageWidth != horzRes && pageHeight != vertRes) {
    // A printable area off the page's centre is centred in the margins it leaves.
    if (pageWidth > horzRes + 2 * g.OffsetX) g.OffsetX = Nearest((pageWidth - horzRes) / 2.0);
    if (pageHeight > vertRes + 2 * g.OffsetY) g.OffsetY = Nearest((pageHeight - vertRes) / 2.0);
  } else {
    g.OffsetX = std::max(g.OffsetX, Nearest(0.2 * dpiX));
    g.OffsetY = std::max(g.OffsetY, Nearest(0.2 * dpiY));
  }
  g.MarginX = std::max(Nearest(dpiX / 4.0), g.OffsetX);
  g.MarginY = std::max(Nearest(dpiY / 4.0), g.OffsetY);
  g.Margin = Nearest(dpiX / 8.0);
  g.Left = g.MarginX;
  g.Right = horzRes - 1 - g.MarginX;
  g.Bottom = vertRes - 1 - g.MarginY;
  g.TitleCenterX = Nearest((horzRes - 1) / 2.0);
  g.TitleTop = g.OffsetY;
  return g;
}

PaneLayout ComputePaneLayout(std::int32_t n, std::int32_t L, std::int32_t T, std::int32_t R,
                             std::int32_t B, std::int32_t spanX, std::int32_t spanY) {
  const double h = spanY;
  const std::int32_t Mx = Nearest(spanX / 2.0 + L);
  const std::int32_t y13 = Nearest(h / 3 + T);
  const std::int32_t y25 = Nearest(2 * h / 5 + T);
  const std::int32_t y12 = Nearest(h / 2 + T);
  const std::int32_t y35 = Nearest(3 * h / 5 + T);
  const std::int32_t y23 = Nearest(2 * h / 3 + T);
  const std::int32_t y710 = Nearest(7 * h / 10 + T);
  const auto vertical = [&](std::int32_t top) { return PaneSeparator{{Mx, top}, {Mx, B}}; };
  const auto horizontal = [&](std::int32_t y) { return PaneSeparator{{L, y}, {R, y}}; };

  PaneLayout layout;
  switch (n) {
    case 1:
      layout.Panes = {{L, T, R, B}};
      break;
    case 2:
      layout.Panes = {{L, T, R, y35}, {L, y35, R, B}};
      layout.Separators = {horizontal(y35)};
      break;
    case 3:
      layout.Panes = {{L, T, R, y35}, {L, y35, Mx, B}, {Mx, y35, R, B}};
      layout.Separators = {vertical(y35), horizontal(y35)};
      break;
    case 4:
      layout.Panes = {{L, T, Mx, y12}, {Mx, T, R, y12}, {L, y12, Mx, B}, {Mx, y12, R, B}};
      layout.Separators = {vertical(T), horizontal(y12)};
      break;
    case 5:
      layout.Panes = {{L, T, R, y25},
                      {L, y25, Mx, y710},
                      {Mx, y25, R, y710},
                      {L, y710, Mx, B},
                      {Mx, y710, R, B}};
      layout.Separators = {vertical(y25), horizontal(y25), horizontal(y710)};
      break;
    case 6:
      layout.Panes = {{L, T, Mx, y13}, {Mx, T, R, y13}, {L, y13, Mx, y23},
                      {Mx, y13, R, y23}, {L, y23, Mx, B}, {Mx, y23, R, B}};
      layout.Separators = {vertical(T), horizontal(y13), horizontal(y23)};
      break;
    default:
      break;
  }
  return layout;
}

std::optional<gdi::Rect> PlaceLogo(const PaneRect& box, std::int32_t bmWidth,
                                   std::int32_t bmHeight) {
  const std::int32_t bw = box.Right - box.Left + 1;
  const std::int32_t bh = box.Bottom - box.Top + 1;
  // A pane narrower than its two margins, or an empty picture, would give a mirrored or
  // infinite scale.
  if (bw < 1 || bh < 1 || bmWidth < 1 || bmHeight < 1) return std::nullopt;
  const double scale = std::min(static_cast<double>(bw) / bmWidth, static_cast<double>(bh) / bmHeight);
  const std::int32_t w = Nearest(bmWidth * scale);
  const std::int32_t h = Nearest(bmHeight * scale);
  const std::int32_t x = Nearest((bw - w) / 2.0 + box.Left);
  const std::int32_t y = Nearest((bh - h) / 2.0 + box.Top);
  return gdi::Rect{x, y, x + w, y + h};
}

}  // namespace orvale
