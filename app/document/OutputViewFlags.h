#pragma once
// A document's seven "...ViewVisible" flags in result-window order (surface plot,
// contour plot, line profile, synthetic fringes, aberrations, Zernikes, grid results).
#include <array>

#include "app/document/clsDocument.h"
#include "platform/registry/ResultWindowLayout.h"

namespace orvale {

inline constexpr std::array<bool clsDocument::*, kResultWindowCount> kOutputViewFlags = {
    &clsDocument::SurfacePlotViewVisible, &clsDocument::ContourPlotViewVisible,
    &clsDocument::LineProfileViewVisible, &clsDocument::SFringeViewVisible,
    &clsDocument::AberrationsViewVisible, &clsDocument::ZernikesViewVisible,
    &clsDocument::GridResultsViewVisible,
};

inline bool& OutputViewFlag(clsDocument& doc, int kind) {
  return doc.*kOutputViewFlags[static_cast<std::size_t>(kind)];
}

}  // namespace orvale
