#include "plugins/tavrel/HostWindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QWidget>

namespace orvale {

namespace {

// The window at the top of `window`'s chain of owners.
QWidget* OwnerRoot(QWidget* window) {
  while (window != nullptr && window->parentWidget() != nullptr) window = window->parentWidget()->window();
  return window;
}

bool IsMainWindow(const QWidget* window) { return qobject_cast<const QMainWindow*>(window) != nullptr; }

}  // namespace

QWidget* FindHostWindow() {
  QWidget* active = OwnerRoot(QApplication::activeWindow());
  if (IsMainWindow(active)) return active;
  // Between two windows nothing may be active (a dialog just closed): the main window
  // is still the one to belong to.
  for (QWidget* window : QApplication::topLevelWidgets())
    if (IsMainWindow(window) && window->isVisible() && window->parentWidget() == nullptr) return window;
  return active;
}

}  // namespace orvale
