#include "platform/window/QtTrackedWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/gdi/ImageDeviceContext.h"

namespace orvale {
namespace {

// The layer's untouched pixels: a colour nobody draws on purpose.
constexpr std::uint32_t kLayerKey = 0x030201;

// The layer with its untouched pixels see-through.
QImage Overlay(const QImage& layer) {
  QImage out = layer.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = qRgb(kLayerKey & 0xFF, (kLayerKey >> 8) & 0xFF, (kLayerKey >> 16) & 0xFF);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) row[x] = 0;
    }
  }
  return out;
}

}  // namespace

QtTrackedWindow::QtTrackedWindow(QWidget& widget) : QObject(&widget), widget_(widget) {
  NewLayer();
  widget_.installEventFilter(this);
  if (widget_.window() != &widget_) widget_.window()->installEventFilter(this);
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
      Send({WindowMessage::kActivateApp, state == Qt::ApplicationActive, true});
    });
  }
}

// Qt drops the event filters of a deleted filter object itself, and the widget may be
// half destroyed by now: nothing here touches it.
QtTrackedWindow::~QtTrackedWindow() = default;

gdi::Rect QtTrackedWindow::ClientOnScreen() const {
  const QPoint origin = widget_.mapToGlobal(QPoint(0, 0));
  return {origin.x(), origin.y(), origin.x() + widget_.width(), origin.y() + widget_.height()};
}

std::vector<gdi::Rect> QtTrackedWindow::VisibleRects() const {
  const gdi::Rect client = ClientOnScreen();
  if (!Shown() || Minimized() || client.IsEmpty()) return {};
  return {client};
}

bool QtTrackedWindow::Shown() const { return widget_.isVisible(); }
bool QtTrackedWindow::Minimized() const { return widget_.window()->isMinimized(); }
bool QtTrackedWindow::Active() const { return widget_.isActiveWindow(); }
bool QtTrackedWindow::AppActive() const {
  return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

gdi::DeviceContext* QtTrackedWindow::Dc() {
  // Whoever takes the context may draw; the widget shows it at its next paint.
  drawn_ = true;
  widget_.update();
  return layer_.get();
}

void QtTrackedWindow::SetTopmost(bool topmost) {
  QWidget* top = widget_.window();
  if (top->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) return;
  const bool visible = top->isVisible();
  top->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  if (visible) top->show();  // changing the flags hides a window
}

void QtTrackedWindow::Repaint() {
  NewLayer();
  widget_.update();
}

std::uint32_t QtTrackedWindow::BackgroundColour() const {
  const QColor c = widget_.palette().color(widget_.backgroundRole());
  return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
         (static_cast<std::uint32_t>(c.blue()) << 16);
}

void QtTrackedWindow::NewLayer() {
  layer_ = std::make_unique<gdi::ImageDeviceContext>(widget_.width(), widget_.height(), kLayerKey);
  drawn_ = false;
}

void QtTrackedWindow::Moved() {
  Send({WindowMessage::kPosChanging, true});
  Send({WindowMessage::kPosChanged});
  ClipChanged();
}

bool QtTrackedWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool own = watched == &widget_;
  const bool top = watched == widget_.window();
  switch (event->type()) {
    case QEvent::Paint:
      if (own && drawn_) {
        // The widget paints itself first; what was drawn through Dc() goes on top.
        static_cast<QObject&>(widget_).event(event);
        QPainter painter(&widget_);
        painter.drawImage(0, 0, Overlay(layer_->Image()));
        return true;
      }
      break;
    case QEvent::Show:
    case QEvent::Hide:
      if (own) {
        Send({WindowMessage::kShowWindow, event->type() == QEvent::Show});
        ClipChanged();
      }
      break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
      if (top) Send({WindowMessage::kActivate, event->type() == QEvent::WindowActivate});
      break;
    case QEvent::Resize:
      if (own) NewLayer();
      Moved();
      break;
    case QEvent::Move:
      Moved();
      break;
    case QEvent::WindowStateChange:
      if (top) Moved();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace orvale
