#pragma once
// The program-wide layout of the seven result windows of a document: whether each kind
// is shown and where it is placed (screen pixels), stored in section "CurrentVersion".
#include <array>
#include <cstdint>
#include <string_view>

namespace orvale {

inline constexpr int kResultWindowCount = 7;

// The seven kinds in their fixed order: surface plot, contour plot, line profile,
// synthetic fringes, aberrations, Zernikes, grid results. The visibility keys and the
// geometry prefixes are spelt differently; both are the stored keys.
struct ResultWindowKind {
  std::string_view VisibleKey;
  bool DefaultVisible;
  std::string_view GeometryPrefix;  // + "Left", "Top", "Width", "Height"
  int CascadeSteps;                 // default place = steps x (frame, frame + caption)
  std::int32_t DefaultWidth;
  std::int32_t DefaultHeight;
};

// The grid results window shares the Zernikes window's default place.
inline constexpr std::array<ResultWindowKind, kResultWindowCount> kResultWindowKinds = {{
    {"Surface Visible", true, "SurfacePlot", 1, 500, 250},
    {"Contour Visible", true, "ContourPlot", 2, 300, 300},
    {"LineProfile Visible", false, "LineProfile", 3, 300, 200},
    {"SFringe Visible", false, "SFringe", 4, 300, 300},
    {"Aberrations Visible", true, "Aberrations", 5, 350, 310},
    {"Zernikes Visible", false, "Zernikes", 6, 290, 370},
    {"Grid Results Visible", false, "GridResults", 6, 290, 370},
}};

struct WindowPlacement {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool operator==(const WindowPlacement&) const = default;
};

using ResultWindowFlags = std::array<bool, kResultWindowCount>;
using ResultWindowPlacements = std::array<WindowPlacement, kResultWindowCount>;

// The screen the default layout is made for, in pixels: its size, the window-frame
// thickness and the caption height.
struct ScreenGeometry {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t FrameThickness = 0;
  std::int32_t CaptionHeight = 0;
};

// The default placement of each kind, cascading by one frame and caption per step.
ResultWindowPlacements DefaultResultWindowLayout(const ScreenGeometry& screen);

// Reads the 28 geometry keys with those defaults; left and width are clamped to
// 0..screen width, top and height to 0..screen height (the defaults too).
ResultWindowPlacements ReadResultWindowLayout(const ScreenGeometry& screen);

// Writes the 7 visibility flags in order, then the 28 geometry values, kind by kind as
// left, top, width, height.
void SaveWindowLayout(const ResultWindowFlags& visible, const ResultWindowPlacements& layout);

}  // namespace orvale
