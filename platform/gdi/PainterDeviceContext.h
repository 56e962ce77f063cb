#pragma once
// A device context over a QPainter on any paint device: a printer page, a PDF file, a
// widget. For exact pixels on an image use ImageDeviceContext.
#include "platform/gdi/DeviceContext.h"

class QPainter;
class QPaintDevice;

namespace orvale::gdi {

class PainterDeviceContext : public DeviceContext {
 public:
  // Draws with the caller's active painter (which must outlive this context) and
  // reports `caps` (a printer's page size, offsets and resolution).
  PainterDeviceContext(QPainter& painter, const DeviceCaps& caps);
  // Opens its own painter on `device`; the caps are those of a display of its size.
  explicit PainterDeviceContext(QPaintDevice& device);
  ~PainterDeviceContext() override;
};

}  // namespace orvale::gdi
