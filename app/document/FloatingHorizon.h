#pragma once
// The floating horizon of the surface plot's wire mesh: per device column the highest
// point drawn so far (device y grows downward), so that later, farther lines show only
// where they rise above it. Program-wide state, set by the surface plot and its window.
#include <cstdint>
#include <vector>

#include "platform/gdi/Color.h"

namespace orvale {

namespace gdi {
class DeviceContext;
}

// A column in which nothing has been drawn yet.
inline constexpr std::int32_t kHorizonUntouched = 2147483647;

extern gdi::DeviceContext* HorizonDC;  // where the horizon pixels go
extern gdi::Color HorizonColor;        // their colour
extern std::vector<std::int32_t> Horizon;  // columns 0 .. HorizonWidth
extern std::int32_t HorizonWidth;      // 0 when no horizon is active

// Makes a fresh horizon of columns 0 .. width (nothing drawn), or none for width <= 0.
void ResetHorizon(std::int32_t width);

// Line-walk callbacks; `datum` is not used and the result is always 0. A point is
// drawn only in an active horizon's columns 0 .. HorizonWidth; any other column, or no
// active horizon, draws nothing.
// Draws the point when it lies above its column's horizon and raises the horizon to it.
int PlotHorizonPixel(int x, int y, std::intptr_t datum = 0);
// Draws the point when it lies above its column's horizon; the horizon stays.
int PlotAboveHorizonPixel(int x, int y, std::intptr_t datum = 0);

// The same rules for a whole line, walked as LineDDA walks it (from (x1, y1) up to but
// not including (x2, y2)); the points that show are set in one call, not one by one.
void PlotHorizonLine(int x1, int y1, int x2, int y2);
void PlotAboveHorizonLine(int x1, int y1, int x2, int y2);

}  // namespace orvale
