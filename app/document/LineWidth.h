#pragma once
// The program-wide drawing line width (how far the image overlays' cross marks reach to
// each side), scaled up for printers whose page is larger than the screen.
#include <cstdint>

#include "platform/gdi/DeviceCaps.h"

namespace orvale {

namespace gdi {
class DeviceContext;
}

extern std::int32_t LineWidth;  // pixels; written only by SetLineWidthForDevice

// sqrt((page width² + page height²) / (screen width² + screen height²)) from a printer's
// physical page and the screen's resolution; 0 when either sum is 0.
double PageToScreenRatio(const gdi::DeviceCaps& printer, const gdi::DeviceCaps& screen);

// 3 for the screen (nullptr); for a printer, 3 times the page-to-screen ratio, rounded,
// when that ratio is above 1.
void SetLineWidthForDevice(const gdi::DeviceContext* printer);

}  // namespace orvale
