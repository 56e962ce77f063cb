#include "platform/window/HostWindowGeometry.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>

namespace orvale {

QRect HostWorkArea(const QWidget& host) {
  if (const auto* main = qobject_cast<const QMainWindow*>(&host); main != nullptr && main->centralWidget() != nullptr) {
    const QWidget* central = main->centralWidget();
    return {central->mapToGlobal(QPoint(0, 0)), central->size()};
  }
  QRect area(host.mapToGlobal(QPoint(0, 0)), host.size());
  if (const auto* bar = host.findChild<const QMenuBar*>(QString(), Qt::FindDirectChildrenOnly); bar != nullptr && bar->isVisible())
    area.setTop(bar->mapToGlobal(QPoint(0, bar->height())).y());
  return area;
}

HostGeometry HostGeometryOf(const QWidget& host) {
  const QScreen* screen = host.screen() != nullptr ? host.screen() : QGuiApplication::primaryScreen();
  HostGeometry geometry{host.frameGeometry(), HostWorkArea(host), screen != nullptr ? screen->availableGeometry() : QRect()};
  if (host.isMaximized() && geometry.Frame != geometry.Screen) {
    const QMargins bars(geometry.WorkArea.left() - geometry.Frame.left(), geometry.WorkArea.top() - geometry.Frame.top(),
                        geometry.Frame.right() - geometry.WorkArea.right(), geometry.Frame.bottom() - geometry.WorkArea.bottom());
    geometry.Frame = geometry.Screen;
    geometry.WorkArea = geometry.Screen.marginsRemoved(bars);
  }
  return geometry;
}

}  // namespace orvale
