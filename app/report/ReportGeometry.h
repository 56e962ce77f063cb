#pragma once
// Where the parts of the printed test report lie on the page, in device pixels: the
// margins, the title's place, the pane area, the panes of each layout and the lines
// between them, and the logo's place in its pane. Pure functions of the device caps, so
// that every printer's page can be checked without printing. The page setup's preview
// lays its page out with the same pane table.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/Geometry.h"

namespace orvale {

struct ReportGeometry {
  // The physical offsets after the correction for a printable area off the page's
  // centre (or, for a page printable to its edges, the 0.2-inch minimum).
  std::int32_t OffsetX = 0;
  std::int32_t OffsetY = 0;
  std::int32_t MarginX = 0;  // side margin
  std::int32_t MarginY = 0;  // bottom margin
  std::int32_t Margin = 0;   // an eighth of an inch: gap under the title, inset of every pane
  // The pane area; its top is the title's bottom plus Margin.
  std::int32_t Left = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  std::int32_t TitleCenterX = 0;
  std::int32_t TitleTop = 0;
  bool operator==(const ReportGeometry&) const = default;
};

ReportGeometry ComputeReportGeometry(const gdi::DeviceCaps& caps);

// A pane's rectangle; its edges lie on the frame and separator lines.
struct PaneRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  bool operator==(const PaneRect&) const = default;
};

struct PaneSeparator {
  gdi::Point From;
  gdi::Point To;
  bool operator==(const PaneSeparator&) const = default;
};

// The panes of an n-pane page (pane 1 first) and the separator lines between them, in
// drawing order. The fractions of the height are taken of `spanY` from T, the middle at
// half of `spanX` from L: the printed page passes R - L + 1 and B - T + 1, the preview
// R - L and B - T. A count outside 1..6 has no panes.
struct PaneLayout {
  std::vector<PaneRect> Panes;
  std::vector<PaneSeparator> Separators;
};
PaneLayout ComputePaneLayout(std::int32_t n, std::int32_t L, std::int32_t T, std::int32_t R,
                             std::int32_t B, std::int32_t spanX, std::int32_t spanY);

// Where a bitmap of bmWidth x bmHeight goes in `box` (both edges of the box count):
// scaled to fit with its aspect ratio and centred. None for an empty box or bitmap.
std::optional<gdi::Rect> PlaceLogo(const PaneRect& box, std::int32_t bmWidth,
                                   std::int32_t bmHeight);

}  // namespace orvale
