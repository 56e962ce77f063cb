#pragma once
// The program window the plug-in's windows belong to. The plug-in is told of no window:
// it takes the program's main window, found from the window active when it is called.
class QWidget;

namespace orvale {

// The main window that owns the active window, else the program's visible main window,
// else the owner of the active window; null when no window is shown.
QWidget* FindHostWindow();

}  // namespace orvale
