#pragma once
// The frame a window manager draws round a top-level window: title bar and borders.
// On X11 it is known only once the window manager has framed a shown window, which
// happens a moment after the window is shown.
#include <QMargins>
#include <QSize>
#include <chrono>

class QWidget;

namespace orvale {

// The frame's margins round `window`; zero while it has no frame (not yet shown or
// framed, or a child widget).
QMargins FrameMarginsOf(const QWidget& window);

// The outer size `window` has, or will have once framed: its own frame when it has
// one, else the `expected` margins (those of a window already framed by the same
// window manager).
QSize ExpectedOuterSize(const QWidget& window, const QMargins& expected);

// Lets the window manager frame a window just shown, so that what is placed beside it
// can take its outer rectangle: processes events until `window` has a frame or
// `bound` has passed. Returns at once where frames are known as soon as a window is
// shown (every platform but X11).
void AwaitWindowFrame(const QWidget& window, std::chrono::milliseconds bound);

}  // namespace orvale
