#include "app/frame/FramePlacement.h"

#include <algorithm>

#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr int kUsableOverlap = 32;

QRect InPixels(const StoredFramePlace& place, double twipsPerPixel) {
  auto px = [twipsPerPixel](std::int32_t twips) {
    return RoundToInt32(static_cast<double>(twips) / twipsPerPixel);
  };
  return {px(place.Left), px(place.Top), px(place.Width), px(place.Height)};
}

}  // namespace

QRect FrameOuterGeometry(const StoredFramePlace& stored, const QRect& available,
                         double twipsPerPixel, int minimumClientWidth, const QMargins& frame) {
  const QRect wanted = InPixels(stored, twipsPerPixel);
  const QRect overlap = wanted.intersected(available);
  const bool usable = wanted.width() >= kMinimumFrameWidth && wanted.height() >= kMinimumFrameHeight &&
                      overlap.width() >= kUsableOverlap && overlap.height() >= kUsableOverlap;
  if (usable && stored != kDefaultFramePlace) return wanted;
  QRect place = InPixels(kDefaultFramePlace, twipsPerPixel);
  const int wide = minimumClientWidth + frame.left() + frame.right();
  const int room = available.right() + 1 - place.left();
  place.setWidth(std::max(place.width(), std::min(wide, room)));
  return place;
}

QRect ClientGeometry(const QRect& outer, const QMargins& frame) {
  const QRect client = outer.marginsRemoved(frame);
  return {client.topLeft(), QSize(std::max(client.width(), 1), std::max(client.height(), 1))};
}

}  // namespace orvale
