#pragma once
// Where a window that belongs to a program's main window opens by default: never over
// the main window's title bar, menu bar and toolbars, which the user needs to reach.
// Plain geometry in screen pixels, shared by the program's tool windows and the capture
// plug-in's live window.
#include <QPoint>
#include <QRect>
#include <QSize>

namespace orvale {

// The main window as the placement sees it.
struct HostGeometry {
  QRect Frame;     // its outer rectangle, title bar and borders included
  QRect WorkArea;  // its client area below the menu bar and toolbars
  QRect Screen;    // the available screen
};

// The band from the frame's top down to the work area: title bar, menu bar and toolbars.
QRect HostBars(const HostGeometry& host);

// The work area's top right corner for a window of `outer` size, kept on the screen:
// there it covers no menu, no toolbar and the least of the documents, which open at
// the left.
QPoint WorkAreaTopRight(const HostGeometry& host, QSize outer);

// A window of `outer` size whose default top-left corner is `wanted`: there, unless it
// would cover some of the bars; then beside the main window where the screen has room
// for it (on the side `wanted` leans to first), else at WorkAreaTopRight.
QPoint ClearOfHostBars(QPoint wanted, QSize outer, const HostGeometry& host);

}  // namespace orvale
