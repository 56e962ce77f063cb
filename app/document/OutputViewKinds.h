#pragma once
// The seven output views of a document, each once: its view code, the document's flag
// that says whether it is shown, its caption prefix, its entry in the program-wide
// result-window layout, its key in the document file, its prefix in the settings and
// its View-menu item. Everything that names all seven views reads this table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/registry/ResultWindowLayout.h"

namespace orvale {

struct OutputViewKind {
  std::int32_t FormType;
  bool clsDocument::*Visible;       // e.g. SurfacePlotViewVisible
  std::string_view CaptionPrefix;   // + the document's name
  std::size_t LayoutIndex;          // into ResultWindowVisible and ResultWindowLayout
  std::string_view FileKey;         // the view's rectangle line in the document file
  std::string_view SettingsPrefix;  // + "Left", "Top", "Width", "Height"
  ViewMenuItem MenuItem;
};

// In their fixed order (surface plot, contour plot, line profile, synthetic fringes,
// aberrations, Zernikes, grid results), which is also the layout's order.
inline constexpr std::array<OutputViewKind, kResultWindowCount> kOutputViewKinds = {{
    {viewtype::kSurfacePlot, &clsDocument::SurfacePlotViewVisible, "Surface Plot - ", 0,
     "SurfacePlotView", kResultWindowKinds[0].GeometryPrefix, ViewMenuItem::SurfacePlot},
    {viewtype::kContourPlot, &clsDocument::ContourPlotViewVisible, "Contour Plot - ", 1,
     "ContourPlotView", kResultWindowKinds[1].GeometryPrefix, ViewMenuItem::ContourPlot},
    {viewtype::kLineProfile, &clsDocument::LineProfileViewVisible, "Line Profile - ", 2,
     "LineProfileView", kResultWindowKinds[2].GeometryPrefix, ViewMenuItem::LineProfile},
    {viewtype::kSFringe, &clsDocument::SFringeViewVisible, "Synthetic Fringes - ", 3,
     "SFringeView", kResultWindowKinds[3].GeometryPrefix, ViewMenuItem::SFringe},
    {viewtype::kAberrations, &clsDocument::AberrationsViewVisible, "Aberrations - ", 4,
     "AberrationsView", kResultWindowKinds[4].GeometryPrefix, ViewMenuItem::Aberrations},
    {viewtype::kZernikes, &clsDocument::ZernikesViewVisible, "Zernikes - ", 5, "ZernikesView",
     kResultWindowKinds[5].GeometryPrefix, ViewMenuItem::Zernikes},
    {viewtype::kGridResults, &clsDocument::GridResultsViewVisible, "Grid Results - ", 6,
     "GridResultsView", kResultWindowKinds[6].GeometryPrefix, ViewMenuItem::GridResults},
}};

// The output view with a view code; null for 1, 2 and anything outside 3..9.
constexpr const OutputViewKind* FindOutputViewKind(std::int32_t formType) {
  for (const auto& kind : kOutputViewKinds)
    if (kind.FormType == formType) return &kind;
  return nullptr;
}

}  // namespace orvale
