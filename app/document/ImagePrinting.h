#pragma once
// The interferogram with its aperture, obstruction and fringe centres printed into a
// rectangle of a device (a printer page, a report pane), as large as fits and centred.
#include <cstdint>

namespace orvale {

namespace gdi {
class DeviceContext;
}
class clsDocument;

// Prints into the device rectangle left..right, top..bottom (edges included); the
// fringe of `currentOrder` is drawn in white. Nothing without an image buffer. A device
// that cannot stretch DIBs gets nothing but the warning "Cannot print image. Printer
// does not support StretchDIBits". The device's stretch mode ends as COLORONCOLOR, and
// the program's line width is the screen's again afterwards, whatever happened.
void PrintImage(const clsDocument& doc, std::int32_t currentOrder, gdi::DeviceContext& dc,
                std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

}  // namespace orvale
