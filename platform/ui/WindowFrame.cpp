#include "platform/ui/WindowFrame.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

namespace orvale {

QMargins FrameMarginsOf(const QWidget& window) {
  const QRect inner = window.geometry();
  const QRect outer = window.frameGeometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

QSize ExpectedOuterSize(const QWidget& window, const QMargins& expected) {
  const QMargins own = FrameMarginsOf(window);
  return window.size().grownBy(own.isNull() ? expected : own);
}

void AwaitWindowFrame(const QWidget& window, std::chrono::milliseconds bound) {
  if (QGuiApplication::platformName() != QLatin1String("xcb") || !window.isVisible()) return;
  QElapsedTimer elapsed;
  elapsed.start();
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!FrameMarginsOf(window).isNull() || elapsed.elapsed() >= bound.count()) loop.quit();
  });
  poll.start(5);
  if (FrameMarginsOf(window).isNull()) loop.exec();
}

}  // namespace orvale
