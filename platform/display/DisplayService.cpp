#include "platform/display/DisplayService.h"

#include <utility>

#include "platform/gdi/DeviceCaps.h"

namespace orvale {

std::uint32_t NearestColorAtDepth(std::uint32_t colorref, int bits) {
  if (bits > 16) return colorref & 0xFFFFFF;
  const std::uint32_t greenMask = bits == 16 ? 0xFC : 0xF8;
  const std::uint32_t r = colorref & 0xF8, g = (colorref >> 8) & greenMask,
                      b = (colorref >> 16) & 0xF8;
  return r | (g << 8) | (b << 16);
}

int ScreenDisplayService::Width() const { return gdi::ScreenDeviceCaps().horzRes; }
int ScreenDisplayService::Height() const { return gdi::ScreenDeviceCaps().vertRes; }
int ScreenDisplayService::BitsPerPixel() const { return gdi::ScreenDeviceCaps().bitsPixel; }
std::uint32_t ScreenDisplayService::NearestColor(std::uint32_t colorref) const {
  return NearestColorAtDepth(colorref, BitsPerPixel());
}

std::uint32_t FakeDisplay::NearestColor(std::uint32_t colorref) const {
  return nearest_ ? nearest_(colorref) : NearestColorAtDepth(colorref, bits_);
}

void FakeDisplay::SetMode(int width, int height, int bits) {
  width_ = width;
  height_ = height;
  bits_ = bits;
}

void FakeDisplay::SetNearestColor(std::function<std::uint32_t(std::uint32_t)> nearest) {
  nearest_ = std::move(nearest);
}

}  // namespace orvale
