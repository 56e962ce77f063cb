#include "cards/korrin/WidgetWindows.h"

#include <QApplication>
#include <QThread>
#include <QWidget>
#include <map>

#include "platform/window/QtTrackedWindow.h"

namespace orvale::korrin {

namespace {

// One tracked window per widget; an entry leaves with its tracked window, which is a
// child of the widget and so ends with it.
std::map<const QWidget*, QtTrackedWindow*>& Wrapped() {
  static std::map<const QWidget*, QtTrackedWindow*> wrapped;
  return wrapped;
}

QWidget* LiveWidget(const void* handle) {
  if (QApplication::instance() == nullptr) return nullptr;
  if (QThread::currentThread() != QApplication::instance()->thread()) return nullptr;
  for (QWidget* widget : QApplication::allWidgets())
    if (widget == handle) return widget;
  return nullptr;
}

}  // namespace

KR_Window TrackedHandleOf(KR_Window handle) {
  if (handle == nullptr || TrackedWindow::Find(handle) != nullptr) return handle;
  QWidget* widget = LiveWidget(handle);
  if (widget == nullptr) return handle;
  auto& wrapped = Wrapped();
  if (const auto found = wrapped.find(widget); found != wrapped.end())
    return found->second->Handle();
  auto* tracked = new QtTrackedWindow(*widget);
  wrapped[widget] = tracked;
  QObject::connect(tracked, &QObject::destroyed, [widget] { Wrapped().erase(widget); });
  return tracked->Handle();
}

}  // namespace orvale::korrin
