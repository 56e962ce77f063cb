#pragma once
// The extent record of window and pane placement: left, top, height, width in pixels.
#include <cstdint>

#include "platform/gdi/Geometry.h"

namespace orvale {

struct Extent {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t height = 0;
  std::int32_t width = 0;
};

void RectFromExtent(gdi::Rect& rect, const Extent& extent);

}  // namespace orvale
