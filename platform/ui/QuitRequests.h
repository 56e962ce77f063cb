#pragma once
// Whether a close request is part of the program ending. Qt delivers a request to quit
// (QCoreApplication::quit(), and the end of the desktop session, which Qt's session
// handling turns into the same request) by asking every top-level window to close, in
// no fixed order; one window that refuses stops the quit. Windows that only hide when
// the user closes them use this to let the program's end through.
class QWidget;

namespace orvale {

// Starts watching the application's quit requests; later calls do nothing. Needs the
// application object.
void WatchQuitRequests();

// True while a quit request is being handled or the session is being saved.
bool QuitRequested();

// A window that closed for the quit request being handled now: should another window
// refuse that request, the program goes on and the window is shown again.
void ShowAgainIfQuitRefused(QWidget& window);

}  // namespace orvale
