#include "plugins/directshow/LiveVideoDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QScreen>

namespace orvale {

LiveVideoDialog::LiveVideoDialog(std::int32_t width, std::int32_t height)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint) {
  setWindowTitle("Live Video");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_ShowWithoutActivating);
  FrameSize(width, height);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().topLeft());
  show();
}

void LiveVideoDialog::FrameSize(std::int32_t width, std::int32_t height) {
  // The picture area, one pixel taller than the picture, which starts a pixel down.
  resize(width, height + 1);
}

void LiveVideoDialog::PostFrame(const FramePtr& frame) {
  std::lock_guard lock(mutex_);
  pending_ = frame;
  if (posted_) return;  // the call on its way takes this one
  posted_ = true;
  QMetaObject::invokeMethod(this, [this] { ShowNewest(); }, Qt::QueuedConnection);
}

void LiveVideoDialog::ShowNewest() {
  {
    std::lock_guard lock(mutex_);
    shown_ = std::move(pending_);
    posted_ = false;
  }
  shownOn_ = std::this_thread::get_id();
  update();
}

void LiveVideoDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!shown_ || !shown_->Complete()) return;
  const QImage bottomUp(shown_->Bytes.data(), shown_->Width, shown_->Height,
                        static_cast<qsizetype>(shown_->Stride()), QImage::Format_BGR888);
  // The picture starts one pixel down, as the video window always did.
  painter.drawImage(QRect(0, 1, width(), height() - 1), bottomUp.mirrored());
}

void LiveVideoDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
  QApplication::beep();
}

LiveDisplayFactory LiveVideoWindows() {
  return [](std::int32_t width, std::int32_t height) -> std::unique_ptr<LiveDisplay> {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return nullptr;
    return std::make_unique<LiveVideoDialog>(width, height);
  };
}

}  // namespace orvale
