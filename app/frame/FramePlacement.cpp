#include "app/frame/FramePlacement.h"

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

QRect FrameGeometry(const StoredFramePlace& stored, const QRect& available, double twipsPerPixel) {
  const QRect wanted = InPixels(stored, twipsPerPixel);
  const QRect overlap = wanted.intersected(available);
  const bool usable = wanted.width() >= kMinimumFrameWidth && wanted.height() >= kMinimumFrameHeight &&
                      overlap.width() >= kUsableOverlap && overlap.height() >= kUsableOverlap;
  return usable ? wanted : InPixels(kDefaultFramePlace, twipsPerPixel);
}

}  // namespace orvale
