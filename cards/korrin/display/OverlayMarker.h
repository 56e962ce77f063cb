#pragma once
// The overlay marker's figure: a box outline or a cross of the marker line width, or the
// whole rectangle filled. It is drawn on the tracked window and cut out of the clip
// mask, so the video leaves it alone. Coordinates are the video picture's own.
#include <vector>

#include "cards/korrin/session/BoardState.h"
#include "platform/gdi/Geometry.h"

namespace orvale::korrin {

inline constexpr int kMarkerBox = 0;
inline constexpr int kMarkerCross = 1;
inline constexpr int kMarkerFilled = 2;

// The marker from misc parameter 2's {left, top, width, height}: a negative width makes
// a cross, a negative height a filled rectangle, an empty one no marker.
OverlayMarker MarkerFrom(const std::int16_t rect[4]);
// The rectangles the figure covers; none when no marker is shown.
std::vector<gdi::Rect> MarkerRects(const OverlayMarker& marker, int lineWidth);

}  // namespace orvale::korrin
