#pragma once
// Where a window that belongs to a program's main window opens: on the screen, and by
// default never over the main window's title bar, menu bar and toolbars, which the user
// needs to reach.
// Plain geometry in screen pixels, shared by the program's tool windows and the capture
// plug-in's live window.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <span>

namespace orvale {

// The main window as the placement sees it.
struct HostGeometry {
  QRect Frame;     // its outer rectangle, title bar and borders included
  QRect WorkArea;  // its client area below the menu bar and toolbars
  QRect Screen;    // the available screen
};

// `wanted` for a window of `outer` size where it lies wholly on `screen`; else the
// nearest place where it does, or, along an axis the screen is too small for, at the
// screen's left or top edge.
QPoint KeptOnScreen(QPoint wanted, QSize outer, const QRect& screen);

// The band from the frame's top down to the work area: title bar, menu bar and toolbars.
QRect HostBars(const HostGeometry& host);

// The work area's top right corner for a window of `outer` size, kept on the screen:
// there it covers no menu, no toolbar and the least of the documents, which open at
// the left.
QPoint WorkAreaTopRight(const HostGeometry& host, QSize outer);

// Whether a window at `place` (its outer rectangle) covers some of the bars.
bool CoversHostBars(const QRect& place, const HostGeometry& host);

// A window of `outer` size whose default top-left corner is `wanted`, beside `others`
// (the outer rectangles of the host's other windows now showing): `wanted` when it
// covers neither the bars nor any of the others; else, from the first of `wanted` (when
// clear of the bars), the places beside the main window that the screen has room for
// (on the side `wanted` leans to first) and WorkAreaTopRight, the nearest place on the
// screen that covers none of them; where the screen has no such place, the first of
// those places as it is.
QPoint ClearOfHostBars(QPoint wanted, QSize outer, const HostGeometry& host, std::span<const QRect> others = {});

}  // namespace orvale
