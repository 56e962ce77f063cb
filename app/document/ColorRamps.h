#pragma once
// The colour ramps of contour lines and surface cells: blue through cyan, green and
// yellow to red, and white to dark grey for monochrome devices.
#include "platform/gdi/Color.h"

namespace orvale {

// The value is clamped into the range of the two limits (in either order) in place.
// An empty range gives black.
gdi::Color RainbowColor(double& value, double limitA, double limitB);
gdi::Color GrayColor(double& value, double limitA, double limitB);

}  // namespace orvale
