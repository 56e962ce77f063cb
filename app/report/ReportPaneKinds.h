#pragma once
// What a report pane shows. The kinds are the report settings' codes (and the page
// setup's item data); they are not the view codes of the windows that print them.
#include <cstdint>

namespace orvale {

namespace panekind {
inline constexpr std::int32_t kNone = 0;
inline constexpr std::int32_t kAberrations = 1;
inline constexpr std::int32_t kContourPlot = 2;
inline constexpr std::int32_t kInterferogram = 3;
inline constexpr std::int32_t kLineProfile = 4;
inline constexpr std::int32_t kLogo = 5;
inline constexpr std::int32_t kSurfacePlot = 6;
inline constexpr std::int32_t kSyntheticFringes = 7;
inline constexpr std::int32_t kZernikes = 8;
inline constexpr std::int32_t kGridResults = 9;
inline constexpr std::int32_t kLast = kGridResults;
}  // namespace panekind

inline constexpr std::int32_t kMaxReportPanes = 6;

// True for the kinds that show analysis results: 1, 2, 4, 6, 7, 8 and 9.
bool PaneNeedsResults(std::int32_t kind);

// The view code (FormType) of the window that prints a pane of `kind`; 0 for None,
// Logo and any code outside 0..9.
std::int32_t PaneViewCode(std::int32_t kind);

}  // namespace orvale
