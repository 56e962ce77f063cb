#pragma once
// A program's main window, read as HostPlacement places beside and over it.
#include <QRect>

#include "platform/window/HostPlacement.h"

class QWidget;

namespace orvale {

// Where the host's documents go, in screen coordinates: its client area below its menu
// bar and toolbars (the central widget of a main window).
QRect HostWorkArea(const QWidget& host);

// The host's frame, work area and available screen. A host maximised before the window
// manager has given it its size is taken at the size it gets: the available screen,
// with its bars as they are.
HostGeometry HostGeometryOf(const QWidget& host);

}  // namespace orvale
