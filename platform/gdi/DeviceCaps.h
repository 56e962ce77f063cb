#pragma once
// What a device context tells about its device (GetDeviceCaps).
#include <cstdint>

namespace orvale::gdi {

inline constexpr int TECHNOLOGY = 2;
inline constexpr int HORZSIZE = 4;
inline constexpr int VERTSIZE = 6;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int NUMCOLORS = 24;
inline constexpr int RASTERCAPS = 38;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
inline constexpr int PHYSICALWIDTH = 110;
inline constexpr int PHYSICALHEIGHT = 111;
inline constexpr int PHYSICALOFFSETX = 112;
inline constexpr int PHYSICALOFFSETY = 113;

inline constexpr int DT_RASDISPLAY = 1;
inline constexpr int DT_RASPRINTER = 2;

inline constexpr int RC_BITBLT = 0x0001;
inline constexpr int RC_DI_BITMAP = 0x0080;
inline constexpr int RC_DIBTODEV = 0x0200;
inline constexpr int RC_STRETCHBLT = 0x0800;
inline constexpr int RC_STRETCHDIB = 0x2000;

struct DeviceCaps {
  int technology = DT_RASDISPLAY;
  int horzRes = 1024;  // drawable width in device pixels
  int vertRes = 768;
  int logPixelsX = 96;
  int logPixelsY = 96;
  int bitsPixel = 32;
  int planes = 1;
  int numColors = -1;  // -1 for more than 8 bits per pixel
  // The whole page of a printer, in device pixels, and where the drawable part starts;
  // 0 for displays and images.
  int physicalWidth = 0;
  int physicalHeight = 0;
  int physicalOffsetX = 0;
  int physicalOffsetY = 0;
  int horzSizeMm = 271;  // drawable size in millimetres
  int vertSizeMm = 203;
  int rasterCaps = RC_BITBLT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;

  // The value for a GetDeviceCaps index; 0 for an index the layer does not know.
  int Get(int index) const;
};

// Caps of a raster display or image of the given size and resolution.
DeviceCaps DisplayCaps(int width, int height, int dpiX = 96, int dpiY = 96);

// The screen's caps: the primary screen when a GUI application with a screen exists,
// else a 1024 x 768 display at 96 dpi.
DeviceCaps ScreenDeviceCaps();

}  // namespace orvale::gdi
