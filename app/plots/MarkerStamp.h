#pragma once
// Point markers of a trace, prepared once per redraw as a mask and an image of the
// marker and stamped at each point with two blits (AND with the mask, then XOR with the
// image), so that the pixels round a marker stay as they were.
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/gdi/Color.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ImageDeviceContext.h"

namespace orvale {

// Draws one marker shape (styles 0 square .. 5 single pixel) centred at (x, y), spanning
// `size` pixels, with a one-pixel outline and, when `filled`, the fill colour inside.
void DrawMarker(gdi::DeviceContext& dc, std::int32_t x, std::int32_t y, std::int32_t size,
                std::int32_t style, gdi::Color outline, gdi::Color fill, bool filled);

class MarkerStamp {
 public:
  // nullopt when the marker style draws nothing or the bitmaps cannot be made.
  static std::optional<MarkerStamp> Create(std::int32_t markerSize, std::int32_t style,
                                           gdi::Color outline, gdi::Color fill, bool filled);
  // The marker centred on a device point.
  void StampAt(gdi::DeviceContext& dc, const gdi::Point& p) const;

 private:
  MarkerStamp(std::int32_t markerSize, std::int32_t side);
  std::int32_t markerSize_;
  std::int32_t side_;
  std::shared_ptr<gdi::ImageDeviceContext> mask_;
  std::shared_ptr<gdi::ImageDeviceContext> image_;
};

}  // namespace orvale
