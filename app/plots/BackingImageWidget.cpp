#include "app/plots/BackingImageWidget.h"

#include <QPaintEvent>
#include <QPainter>

#include "platform/ui/HandlerGuard.h"

namespace orvale {

BackingImageWidget::BackingImageWidget(QWidget* parent) : QWidget(parent) {
  // The backing image covers every pixel: nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

BackingImageWidget::~BackingImageWidget() = default;

gdi::ImageDeviceContext& BackingImageWidget::DC() {
  const int w = std::max(1, width());
  const int h = std::max(1, height());
  if (!backing_ || backing_->Image().width() != w || backing_->Image().height() != h) {
    const QColor window = palette().color(QPalette::Window);
    backing_ = std::make_unique<gdi::ImageDeviceContext>(
        w, h, gdi::RGB(window.red(), window.green(), window.blue()));
  }
  return *backing_;
}

const QImage* BackingImageWidget::Image() const { return backing_ ? &backing_->Image() : nullptr; }

void BackingImageWidget::paintEvent(QPaintEvent* event) {
  GuardHandler([&] {
    QPainter painter(this);
    if (backing_) {
      painter.drawImage(event->rect(), backing_->Image(), event->rect());
    } else {
      painter.fillRect(event->rect(), palette().color(QPalette::Window));
    }
  });
}

}  // namespace orvale
