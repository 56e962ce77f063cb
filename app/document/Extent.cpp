#include "app/document/Extent.h"

namespace orvale {

void RectFromExtent(gdi::Rect& rect, const Extent& extent) {
  rect = gdi::Rect{extent.left, extent.top, extent.left + extent.width, extent.top + extent.height};
}

}  // namespace orvale
