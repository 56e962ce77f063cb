#include "app/report/ReportPaneKinds.h"

#include <array>

#include "app/document/DocumentViews.h"

namespace orvale {

namespace {

// Indexed by pane kind.
constexpr std::array<std::int32_t, panekind::kLast + 1> kViewCodes = {
    0,                         // None
    viewtype::kAberrations,    // Aberrations
    viewtype::kContourPlot,    // Contour Plot
    viewtype::kImage,          // Interferogram
    viewtype::kLineProfile,    // Line Profile
    0,                         // Logo: drawn by the report itself
    viewtype::kSurfacePlot,    // Surface Plot
    viewtype::kSFringe,        // Synthetic Fringes
    viewtype::kZernikes,       // Zernikes
    viewtype::kGridResults,    // Grid Results
};

}  // namespace

bool PaneNeedsResults(std::int32_t kind) {
  return kind != panekind::kInterferogram && PaneViewCode(kind) != 0;
}

std::int32_t PaneViewCode(std::int32_t kind) {
  if (kind < 0 || kind > panekind::kLast) return 0;
  return kViewCodes[static_cast<std::size_t>(kind)];
}

}  // namespace orvale
