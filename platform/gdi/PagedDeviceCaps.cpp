#include "platform/gdi/PagedDeviceCaps.h"

#include <QPageLayout>
#include <QRect>

namespace orvale::gdi {

DeviceCaps PagedDeviceCaps(const QPageLayout& layout, int dpi) {
  const QRect paint = layout.paintRectPixels(dpi);
  const QRect full = layout.fullRectPixels(dpi);
  DeviceCaps caps = DisplayCaps(paint.width(), paint.height(), dpi, dpi);
  caps.technology = DT_RASPRINTER;
  caps.physicalWidth = full.width();
  caps.physicalHeight = full.height();
  caps.physicalOffsetX = paint.left();
  caps.physicalOffsetY = paint.top();
  return caps;
}

}  // namespace orvale::gdi
