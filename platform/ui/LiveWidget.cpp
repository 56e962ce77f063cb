#include "platform/ui/LiveWidget.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

namespace orvale {

bool OnWidgetThread() {
  const auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  return app != nullptr && QThread::currentThread() == app->thread();
}

QWidget* LiveWidget(const void* handle) {
  if (!OnWidgetThread()) return nullptr;
  for (QWidget* widget : QApplication::allWidgets())
    if (widget == handle) return widget;
  return nullptr;
}

}  // namespace orvale
