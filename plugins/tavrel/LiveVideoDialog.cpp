#include "plugins/tavrel/LiveVideoDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "platform/ui/WindowFrame.h"
#include "platform/window/HostWindowGeometry.h"
#include "plugins/tavrel/HostWindow.h"

namespace orvale {

LiveVideoDialog::LiveVideoDialog(std::int32_t width, std::int32_t height, QWidget* host)
    // Owned windows stay above their owner and below what it opens later, as a dialog
    // does; nothing is put above every window, where it hid the program's questions.
    : QWidget(nullptr, (host != nullptr ? Qt::Tool : Qt::Window) | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
  setWindowTitle("Live Video");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_ShowWithoutActivating);
  FrameSize(width, height);
  // Placed before the native window exists, so that the place is the frame's.
  PlaceOver(host);
  if (host != nullptr) {
    // Owned by the host's window but not its child: the engine alone destroys it.
    createWinId();
    windowHandle()->setTransientParent(host->windowHandle());
  }
  show();
}

void LiveVideoDialog::PlaceOver(const QWidget* host) {
  if (host == nullptr) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().topLeft());
    return;
  }
  move(WorkAreaTopRight(HostGeometryOf(*host), ExpectedOuterSize(*this, FrameMarginsOf(*host))));
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
    QWidget* host = FindHostWindow();
    if (host != nullptr && host->windowHandle() == nullptr) host = nullptr;
    return std::make_unique<LiveVideoDialog>(width, height, host);
  };
}

}  // namespace orvale
