#pragma once
// Small helpers for reading back what a test drew on an image device context.
#include <QImage>
#include <set>
#include <utility>

#include "platform/gdi/ImageDeviceContext.h"

namespace orvale::gdi::test {

using PixelSet = std::set<std::pair<int, int>>;

// Every pixel whose colour differs from `background`.
inline PixelSet PixelsNotOf(const ImageDeviceContext& dc, Color background) {
  PixelSet set;
  const QImage& image = dc.Image();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (dc.GetPixel(x, y) != background) set.insert({x, y});
    }
  }
  return set;
}

// The smallest rectangle holding all pixels of a set (right/bottom exclusive).
inline Rect BoundsOf(const PixelSet& set) {
  Rect r{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
  for (const auto& [x, y] : set) {
    r.left = std::min(r.left, x);
    r.top = std::min(r.top, y);
    r.right = std::max(r.right, x + 1);
    r.bottom = std::max(r.bottom, y + 1);
  }
  return r;
}

// A background in which no two neighbouring pixels are alike, so raster operations show.
inline void PaintTestPattern(ImageDeviceContext& dc) {
  const QImage& image = dc.Image();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      dc.SetPixel(x, y, RGB(static_cast<std::uint8_t>(x * 37 + y), static_cast<std::uint8_t>(y * 53),
                            static_cast<std::uint8_t>(x * 11 + y * 7)));
    }
  }
}

}  // namespace orvale::gdi::test
