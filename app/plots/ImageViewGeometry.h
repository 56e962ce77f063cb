#pragma once
// Where a zoomed picture lies on the screen, in the image view and in the synthetic-
// fringe view alike: the zoom as a reduced fraction of 300 (so screen and image pixels
// map by whole-number ratios), the picture area, the two scroll bars and the image
// corner shown at the top left. Plain arithmetic: the window pushes the bar states to
// its real scroll bars.
#include <cstdint>

#include "app/analysis/Points.h"

namespace orvale {

struct ScrollBarState {
  std::int32_t Value = 0;
  std::int32_t Maximum = 0;  // the minimum is always 0
  bool Enabled = false;
};

// A zoom in percent as ZoomNum / ZoomDen; InvScale is 0 for a zoom of 0.
struct ZoomFraction {
  std::int32_t ZoomNum = 1;
  std::int32_t ZoomDen = 1;
  double ScaleFactor = 1.0;
  double InvScale = 1.0;
};
ZoomFraction ZoomFractionOf(std::int32_t zoomPercent);

// Where a pan started: the bars' values and the mouse pixel.
struct PanStart {
  std::int32_t H = 0;
  std::int32_t V = 0;
  std::int32_t X = 0;
  std::int32_t Y = 0;
};

class ImageViewGeometry {
 public:
  std::int32_t ZoomFactor = 100;  // percent
  std::int32_t ZoomNum = 1;
  std::int32_t ZoomDen = 1;
  double ScaleFactor = 1.0;       // screen pixels per image pixel
  double InvScale = 1.0;
  std::int32_t ImageWidth = 0;
  std::int32_t ImageHeight = 0;
  std::int32_t ClientWidth = 0;   // the picture area
  std::int32_t ClientHeight = 0;
  std::int32_t SourceWidth = 0;   // image pixels that fill the picture area
  std::int32_t SourceHeight = 0;
  std::int32_t DrawnWidth = 0;    // the image's size on the screen
  std::int32_t DrawnHeight = 0;
  double OriginX = 0;             // image point at the top left corner
  double OriginY = 0;
  ScrollBarState Horizontal;
  ScrollBarState Vertical;

  // Lays the view out for a picture area of this size at ZoomFactor: the zoom
  // fraction, the bars (a maximum below 1 disables its bar at value 0; a value beyond
  // a new maximum is pulled back), the origin from the bars and the derived sizes.
  // The bars keep their state when the area is empty.
  void Layout(std::int32_t clientWidth, std::int32_t clientHeight);

  // The origin follows the bars; true when it moved.
  bool SyncOrigin();

  // The image point under a picture-area pixel.
  PointD ScreenToImage(double X, double Y) const {
    return {X * InvScale + OriginX, Y * InvScale + OriginY};
  }

  // Sets both bars (maximum and value) so that an image point is centred once the view
  // shows `zoomPercent`: value = round(click - client x 50 / zoom), at least 1, capped
  // at the maximum image size - round(client x 100 / zoom).
  void CenterForZoom(double clickx, double clicky, std::int32_t zoomPercent);

  // Drags the image with the mouse: each enabled bar's value from its start value by
  // the mouse's way in image pixels, held within 0..maximum. True when a value changed.
  bool Pan(const PanStart& start, std::int32_t mouseX, std::int32_t mouseY);
};

}  // namespace orvale
