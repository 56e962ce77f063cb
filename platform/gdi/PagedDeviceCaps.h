#pragma once
// The caps of a printer page as Qt lays it out. A painter on a printer or PDF writer
// starts at the top-left corner of the page's paint rectangle, which is where GDI's
// printable area starts too; the margins become the physical offsets.
#include "platform/gdi/DeviceCaps.h"

class QPageLayout;

namespace orvale::gdi {

// HORZRES/VERTRES: the paint rectangle; PHYSICALWIDTH/HEIGHT: the whole sheet;
// PHYSICALOFFSETX/Y: the paint rectangle's top-left corner; all in pixels of `dpi`,
// taken from Qt's own rounding of the layout. A raster printer that stretches DIBs.
DeviceCaps PagedDeviceCaps(const QPageLayout& layout, int dpi);

}  // namespace orvale::gdi
