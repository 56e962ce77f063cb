#pragma once
// Where the main window opens. Its place is stored in twips as its outer rectangle,
// title bar and borders included, so that a place written back at exit opens the
// window where it was, whatever frame the window manager draws round it.
#include <QMargins>
#include <QRect>
#include <cstdint>

namespace orvale {

// The stored frame rectangle in twips ("MainLeft", "MainTop", "MainWidth",
// "MainHeight"): the outer rectangle.
struct StoredFramePlace {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;

  friend bool operator==(const StoredFramePlace&, const StoredFramePlace&) = default;
};

inline constexpr StoredFramePlace kDefaultFramePlace{0, 0, 8500, 6500};
// Below this size (pixels) the frame counts as lost.
inline constexpr int kMinimumFrameWidth = 200;
inline constexpr int kMinimumFrameHeight = 150;

// The frame's outer rectangle in pixels: the stored place, unless it is smaller than
// the minimum or does not overlap `available` (the screen's available area, pixels)
// by a usable part; then the default place. At the default place the frame is widened
// until its client area, inside the `frame` margins, is `minimumClientWidth` wide (the
// toolbar's full width), as far as the available screen allows. A stored place is
// kept as it is.
QRect FrameOuterGeometry(const StoredFramePlace& stored, const QRect& available,
                         double twipsPerPixel, int minimumClientWidth, const QMargins& frame);

// The client rectangle inside an outer rectangle, for the frame margins the window
// manager draws (zero until it has framed the window); never below 1 x 1.
QRect ClientGeometry(const QRect& outer, const QMargins& frame);

}  // namespace orvale
