#pragma once
// The outer size an image window takes when it is first sized to its image.
#include <cstdint>

namespace orvale {

// Window decorations around the image, in pixels.
struct WindowFrameMetrics {
  std::int32_t ScrollBarWidth = 0;
  std::int32_t ScrollBarHeight = 0;
  std::int32_t FrameWidth = 0;   // one sizing frame, left or right
  std::int32_t FrameHeight = 0;  // one sizing frame, top or bottom
  std::int32_t CaptionHeight = 0;
};

struct WindowSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// The image plus scroll bar and both sizing frames, and the caption in height.
WindowSize InitialImageWindowSize(std::int32_t imageWidth, std::int32_t imageHeight,
                                  const WindowFrameMetrics& metrics);

}  // namespace orvale
