#pragma once
// What the outline drawings of the image view share: the white pen in XOR or copy mode,
// and the mapping of image points to the screen, (image - offset) x scale rounded half
// to even.
#include <cstdint>

#include "platform/gdi/DeviceContext.h"

namespace orvale {

// Selects the white stock pen and the raster mode R2_XORPEN (so that drawing twice
// restores the picture) or R2_COPYPEN; selects the previous pen back when it goes.
class ScopedOutlinePen {
 public:
  ScopedOutlinePen(gdi::DeviceContext& dc, bool xorPen);
  ~ScopedOutlinePen();
  ScopedOutlinePen(const ScopedOutlinePen&) = delete;
  ScopedOutlinePen& operator=(const ScopedOutlinePen&) = delete;

 private:
  gdi::DeviceContext& dc_;
  gdi::Pen previous_;
};

struct ScreenMapping {
  double ScaleFactor;
  double offsetx;
  double offsety;

  std::int32_t X(double x) const;
  std::int32_t Y(double y) const;
  gdi::Point Map(double x, double y) const { return {X(x), Y(y)}; }
  // False for a scale or offset that is not a finite number: nothing can be drawn.
  bool IsUsable() const;
};

}  // namespace orvale
