#include "app/plots/CanvasSubWindow.h"

#include <QEvent>
#include <QStyle>

#include "platform/ui/HandlerGuard.h"

namespace orvale {

CanvasSubWindow::CanvasSubWindow(MainFrame& frame, clsDocument& doc, std::int32_t formType)
    : DocumentSubWindow(frame, doc, formType, new BackingImageWidget) {
  canvas_ = static_cast<BackingImageWidget*>(widget());
  canvas_->setFocusPolicy(Qt::ClickFocus);
  canvas_->installEventFilter(this);
}

bool CanvasSubWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == canvas_ && event->type() == QEvent::Resize) {
    GuardHandler([this] {
      if (parentDoc != nullptr && ShowState() != WindowShowState::Minimized) ClientResized();
    });
  }
  return DocumentSubWindow::eventFilter(watched, event);
}

std::int32_t CanvasSubWindow::ScrollBarExtent() const {
  return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QScrollBar* CanvasSubWindow::MakeScrollBar(Qt::Orientation orientation, int minimum, int maximum) {
  auto* bar = new QScrollBar(orientation, canvas_);
  bar->setRange(minimum, maximum);
  const std::int32_t extent = ScrollBarExtent();
  if (orientation == Qt::Horizontal) {
    bar->resize(bar->width(), extent);
  } else {
    bar->resize(extent, bar->height());
  }
  return bar;
}

}  // namespace orvale
