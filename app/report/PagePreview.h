#pragma once
// The page setup's live preview of the report page: the sheet, the frame, the panes of
// the chosen layout with a small picture of each pane's kind, and the separator lines.
// It is laid out in units of a square box of 30000 units and scaled to the box's
// pixels only when drawn, since the device context has no mapping mode.
#include <array>
#include <cstdint>
#include <optional>

#include "app/report/ReportGeometry.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

inline constexpr std::int32_t kPreviewBoxUnits = 30000;

// The sheet (a US Letter page of 21600 x 27900 units, turned for landscape) centred in
// the box, and the pane area 600 units inside it.
struct PreviewPage {
  PaneRect Sheet;
  PaneRect Area;
  bool operator==(const PreviewPage&) const = default;
};
// `orientation`: 2 landscape, anything else portrait.
PreviewPage ComputePreviewPage(std::int32_t orientation, std::int32_t boxLeft,
                               std::int32_t boxTop, std::int32_t boxWidth,
                               std::int32_t boxHeight);

// The panes of the sheet, with the printed page's table over the preview's spans.
PaneLayout PreviewPaneLayout(const PreviewPage& page, std::int32_t panes);

// Where the picture of a pane kind goes in `pane` (units), the picture being
// pictureWidth x pictureHeight units: Aberrations, Logo and Zernikes at their own size,
// cropped to the pane less 300 units on each side; the other kinds fitted into it with
// their aspect ratio; centred. None for an empty picture or pane.
std::optional<gdi::Rect> PlaceThumbnail(std::int32_t kind, const PaneRect& pane,
                                        std::int32_t pictureWidth, std::int32_t pictureHeight);

// What the dialog's controls say.
struct PagePreviewState {
  std::int32_t Orientation = 1;  // 1 portrait, 2 landscape
  bool DrawGrid = true;
  std::int32_t Panes = 1;        // the dialog's pane count; outside 1..6: no panes
  std::array<std::int32_t, 7> Kinds{};  // 1..6; -1 for a combo without a selection
};

// Draws the preview into the square box (0, 0)..(boxPixels, boxPixels) of `dc`.
void DrawPagePreview(gdi::DeviceContext& dc, const PagePreviewState& state,
                     std::int32_t boxPixels);

}  // namespace orvale
