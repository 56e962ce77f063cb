#include "cards/korrin/WidgetWindows.h"

#include <QWidget>
#include <map>

#include "platform/ui/LiveWidget.h"
#include "platform/window/QtTrackedWindow.h"

namespace orvale::korrin {

namespace {

// One tracked window per widget. Each is a child of its widget and ends with it; those
// still alive when this library is unloaded go first, as their code goes with it.
class WidgetAdapters {
 public:
  WidgetAdapters() = default;
  WidgetAdapters(const WidgetAdapters&) = delete;
  WidgetAdapters& operator=(const WidgetAdapters&) = delete;
  ~WidgetAdapters() {
    const auto adapters = byWidget_;
    for (const auto& [widget, adapter] : adapters) delete adapter;
  }

  KR_Window For(QWidget& widget) {
    if (const auto found = byWidget_.find(&widget); found != byWidget_.end())
      return found->second->Handle();
    auto* adapter = new QtTrackedWindow(widget);
    byWidget_[&widget] = adapter;
    QObject::connect(adapter, &QObject::destroyed, [this, key = &widget] { byWidget_.erase(key); });
    return adapter->Handle();
  }

 private:
  std::map<const QWidget*, QtTrackedWindow*> byWidget_;
};

}  // namespace

KR_Window TrackedHandleOf(KR_Window handle) {
  if (handle == nullptr || TrackedWindow::Find(handle) != nullptr) return handle;
  QWidget* widget = LiveWidget(handle);
  if (widget == nullptr) return handle;
  // Made after the live set of tracked windows (asked above), so it goes first at unload.
  static WidgetAdapters adapters;
  return adapters.For(*widget);
}

}  // namespace orvale::korrin
