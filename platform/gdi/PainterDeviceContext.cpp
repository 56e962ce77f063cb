#include "platform/gdi/PainterDeviceContext.h"

#include "platform/gdi/PainterSurface.h"

namespace orvale::gdi {

PainterDeviceContext::PainterDeviceContext(QPainter& painter, const DeviceCaps& caps)
    : DeviceContext(std::make_unique<PainterSurface>(painter, caps)) {}

PainterDeviceContext::PainterDeviceContext(QPaintDevice& device)
    : DeviceContext(std::make_unique<PainterSurface>(device, CapsOfPaintDevice(device))) {}

PainterDeviceContext::~PainterDeviceContext() = default;

}  // namespace orvale::gdi
