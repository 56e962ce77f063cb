#pragma once
// Where the main window opens: its stored place in twips, as read with the settings'
// clamps, in pixels; a place that would leave the frame unusable falls back to the
// default place.
#include <QRect>
#include <cstdint>

namespace orvale {

// The stored frame rectangle in twips ("MainLeft", "MainTop", "MainWidth",
// "MainHeight").
struct StoredFramePlace {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

inline constexpr StoredFramePlace kDefaultFramePlace{0, 0, 8500, 6500};
// Below this size (pixels) the frame counts as lost.
inline constexpr int kMinimumFrameWidth = 200;
inline constexpr int kMinimumFrameHeight = 150;

// The frame's client rectangle in pixels: the stored place, unless it is smaller than
// the minimum or does not overlap `available` (the screen's available area, pixels)
// by a usable part; then the default place.
QRect FrameGeometry(const StoredFramePlace& stored, const QRect& available, double twipsPerPixel);

}  // namespace orvale
