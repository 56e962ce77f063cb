#pragma once
// Window positions are stored in twips (1/1440 inch), as the settings have always held
// them; Qt places windows in pixels. One twip-to-pixel rule for the whole program: the
// primary screen's logical resolution (15 twips per pixel at 96 dpi).
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

namespace orvale {

// 1440 / the primary screen's logical dots per inch; 15 when there is no screen.
double TwipsPerPixel();
std::int32_t PixelsToTwips(std::int32_t pixels);
std::int32_t TwipsToPixels(std::int32_t twips);

// The primary screen's size in whole twips (1024 x 768 px when there is no screen).
QSize ScreenSizeTwips();
// The primary screen's available area in pixels.
QRect AvailableScreenPixels();

// Where a top-level window of `size` pixels goes when its stored top-left corner is
// `wanted` pixels: there, unless the window would then not overlap the available
// screen by a usable part (at least 32 x 32 pixels) — then at `fallback`.
QPoint VisibleTopLeft(QPoint wanted, QSize size, QPoint fallback);

}  // namespace orvale
