#include "platform/ui/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace orvale {

ScopedBusyCursor::ScopedBusyCursor()
    : shown_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
  if (shown_) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

ScopedBusyCursor::~ScopedBusyCursor() {
  if (shown_) QGuiApplication::restoreOverrideCursor();
}

}  // namespace orvale
