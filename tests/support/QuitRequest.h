#pragma once
// A quit request in a test: what QCoreApplication::quit() sends inside the event loop
// (and what the session's end sends), without a loop that could wait forever.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace orvale::testing {

// Asks the application to quit; true when every window let the request through. An
// accepted request makes the thread's event loops end at once from then on; a short
// run of the application's loop undoes that, so that the test can go on.
inline bool RequestQuit() {
  QEvent quit(QEvent::Quit);
  QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
  if (quit.isAccepted()) {
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
  }
  return quit.isAccepted();
}

}  // namespace orvale::testing
