#pragma once
// The plot windows' chart layout for the screen and their printing into a rectangle of
// another device context (a report pane on a printer page). Printing lays the chart
// out for the page with the printer's tick lengths and afterwards puts the screen tick
// lengths and the window layout back, so the next paint matches the window.
#include <cstdint>

#include "app/plots/ResultViewModels.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

// The chart layout of a window's client area, measured on the window's own device
// context, remembered in the model. Nothing happens for an empty area.
// Contour: the whole client area, kept square.
void LayOutForWindow(ContourPlotViewModel& view, gdi::DeviceContext& windowDC,
                     std::int32_t clientWidth, std::int32_t clientHeight);
// Surface: the plot area (the client less the scroll bars) less the window margin on
// every side; the projected cells become stale.
void LayOutForWindow(SurfacePlotViewModel& view, gdi::DeviceContext& windowDC,
                     std::int32_t plotWidth, std::int32_t plotHeight);
// Line profile: the client width over the plot height (the client less the scroll bar).
void LayOutForWindow(LineProfileViewModel& view, gdi::DeviceContext& windowDC,
                     std::int32_t clientWidth, std::int32_t plotHeight);

// Draws the plot into the rectangle (inclusive edges, device units) of `dc`, then
// restores the screen tick lengths and, with `windowDC`, the window layout. A plot that
// is not ready prints nothing (a failed fill keeps its previous data, which must not
// appear beside new numbers). The surface prints only when its cells can be projected
// for the page, and is left with stale cells.
void PrintPlot(ContourPlotViewModel& view, gdi::DeviceContext& dc, std::int32_t left,
               std::int32_t top, std::int32_t right, std::int32_t bottom,
               gdi::DeviceContext* windowDC);
void PrintPlot(SurfacePlotViewModel& view, gdi::DeviceContext& dc, std::int32_t left,
               std::int32_t top, std::int32_t right, std::int32_t bottom,
               gdi::DeviceContext* windowDC);
void PrintPlot(LineProfileViewModel& view, gdi::DeviceContext& dc, std::int32_t left,
               std::int32_t top, std::int32_t right, std::int32_t bottom,
               gdi::DeviceContext* windowDC);

}  // namespace orvale
