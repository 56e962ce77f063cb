#include "platform/gdi/DeviceCaps.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace orvale::gdi {

int DeviceCaps::Get(int index) const {
  switch (index) {
    case TECHNOLOGY: return technology;
    case HORZSIZE: return horzSizeMm;
    case VERTSIZE: return vertSizeMm;
    case HORZRES: return horzRes;
    case VERTRES: return vertRes;
    case BITSPIXEL: return bitsPixel;
    case PLANES: return planes;
    case NUMCOLORS: return numColors;
    case RASTERCAPS: return rasterCaps;
    case LOGPIXELSX: return logPixelsX;
    case LOGPIXELSY: return logPixelsY;
    case PHYSICALWIDTH: return physicalWidth;
    case PHYSICALHEIGHT: return physicalHeight;
    case PHYSICALOFFSETX: return physicalOffsetX;
    case PHYSICALOFFSETY: return physicalOffsetY;
    default: return 0;
  }
}

DeviceCaps DisplayCaps(int width, int height, int dpiX, int dpiY) {
  DeviceCaps caps;
  caps.horzRes = width;
  caps.vertRes = height;
  caps.logPixelsX = dpiX > 0 ? dpiX : 96;
  caps.logPixelsY = dpiY > 0 ? dpiY : 96;
  caps.horzSizeMm = static_cast<int>(std::lround(width * 25.4 / caps.logPixelsX));
  caps.vertSizeMm = static_cast<int>(std::lround(height * 25.4 / caps.logPixelsY));
  return caps;
}

DeviceCaps ScreenDeviceCaps() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QSize size = screen->size();
      if (size.width() > 0 && size.height() > 0) {
        return DisplayCaps(size.width(), size.height(),
                           static_cast<int>(std::lround(screen->logicalDotsPerInchX())),
                           static_cast<int>(std::lround(screen->logicalDotsPerInchY())));
      }
    }
  }
  return DisplayCaps(1024, 768);
}

}  // namespace orvale::gdi
