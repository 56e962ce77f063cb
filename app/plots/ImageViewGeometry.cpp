#include "app/plots/ImageViewGeometry.h"

#include <algorithm>
#include <cmath>

#include "app/analysis/MathBasics.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// A zoom is kept as a fraction of this many parts, so that 150 % and 75 % are exact.
constexpr std::int32_t kZoomParts = 300;

// A bar for an image of `imageSize` pixels of which `visible` show.
void LayoutBar(ScrollBarState& bar, std::int32_t imageSize, double visible) {
  const std::int32_t maximum = RoundToInt32(static_cast<double>(imageSize) - visible);
  if (maximum < 1) {
    bar = ScrollBarState{};
    return;
  }
  bar.Maximum = maximum;
  bar.Enabled = true;
  bar.Value = std::clamp(bar.Value, 0, maximum);
}

void CenterBar(ScrollBarState& bar, double click, std::int32_t client, std::int32_t imageSize,
               std::int32_t zoomPercent) {
  const double z = static_cast<double>(zoomPercent);
  std::int32_t value = std::max(RoundToInt32(click - client * 50.0 / z), 1);
  const std::int32_t maximum = imageSize - RoundToInt32(client * 100.0 / z);
  value = std::min(value, maximum);
  bar.Maximum = maximum;
  bar.Value = value;
}

bool PanBar(ScrollBarState& bar, std::int32_t startValue, std::int32_t startMouse,
            std::int32_t mouse, double invScale) {
  if (!bar.Enabled) return false;
  const std::int32_t value = std::clamp(
      RoundToInt32(static_cast<double>(startMouse - mouse) * invScale + startValue), 0,
      bar.Maximum);
  if (value == bar.Value) return false;
  bar.Value = value;
  return true;
}

}  // namespace

ZoomFraction ZoomFractionOf(std::int32_t zoomPercent) {
  ZoomFraction f;
  const std::int32_t n = RoundToInt32(zoomPercent / 100.0 * kZoomParts);
  const std::int64_t g = GCD(n, kZoomParts);  // never 0: kZoomParts is not
  f.ZoomNum = static_cast<std::int32_t>(n / g);
  f.ZoomDen = static_cast<std::int32_t>(kZoomParts / g);
  f.ScaleFactor = static_cast<double>(f.ZoomNum) / f.ZoomDen;
  f.InvScale = f.ScaleFactor == 0.0 ? 0.0 : 1.0 / f.ScaleFactor;
  return f;
}

void ImageViewGeometry::Layout(std::int32_t clientWidth, std::int32_t clientHeight) {
  ClientWidth = clientWidth;
  ClientHeight = clientHeight;
  const ZoomFraction f = ZoomFractionOf(ZoomFactor);
  ZoomNum = f.ZoomNum;
  ZoomDen = f.ZoomDen;
  ScaleFactor = f.ScaleFactor;
  InvScale = f.InvScale;
  if (ClientWidth >= 1 && ClientHeight >= 1) {
    LayoutBar(Horizontal, ImageWidth, ClientWidth * InvScale);
    LayoutBar(Vertical, ImageHeight, ClientHeight * InvScale);
  }
  SyncOrigin();
  SourceWidth = RoundToInt32(ClientWidth * InvScale);
  SourceHeight = RoundToInt32(ClientHeight * InvScale);
  DrawnWidth = RoundToInt32(ImageWidth * ScaleFactor);
  DrawnHeight = RoundToInt32(ImageHeight * ScaleFactor);
}

bool ImageViewGeometry::SyncOrigin() {
  const double x = Horizontal.Value;
  const double y = Vertical.Value;
  const bool moved = x != OriginX || y != OriginY;
  OriginX = x;
  OriginY = y;
  return moved;
}

void ImageViewGeometry::CenterForZoom(double clickx, double clicky, std::int32_t zoomPercent) {
  if (zoomPercent <= 0) return;
  CenterBar(Horizontal, clickx, ClientWidth, ImageWidth, zoomPercent);
  CenterBar(Vertical, clicky, ClientHeight, ImageHeight, zoomPercent);
}

bool ImageViewGeometry::Pan(const PanStart& start, std::int32_t mouseX, std::int32_t mouseY) {
  const bool h = PanBar(Horizontal, start.H, start.X, mouseX, InvScale);
  const bool v = PanBar(Vertical, start.V, start.Y, mouseY, InvScale);
  return h || v;
}

}  // namespace orvale
