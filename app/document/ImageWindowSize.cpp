#include "app/document/ImageWindowSize.h"

#include <algorithm>
#include <limits>

namespace orvale {

namespace {
// A blank image may still carry the not-given size; keep the sum in range.
std::int32_t Clamped(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}
}  // namespace

WindowSize InitialImageWindowSize(std::int32_t imageWidth, std::int32_t imageHeight,
                                  const WindowFrameMetrics& metrics) {
  return {Clamped(std::int64_t{imageWidth} + metrics.ScrollBarWidth + 2 * std::int64_t{metrics.FrameWidth}),
          Clamped(std::int64_t{imageHeight} + metrics.ScrollBarHeight + metrics.CaptionHeight +
                  2 * std::int64_t{metrics.FrameHeight})};
}

}  // namespace orvale
