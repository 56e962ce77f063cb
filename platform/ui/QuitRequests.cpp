#include "platform/ui/QuitRequests.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace orvale {

namespace {

class QuitWatch final : public QObject {
 public:
  bool Handling() const { return depth_ > 0; }
  void Remember(QWidget& window) {
    if (depth_ > 0) closed_.emplace_back(&window);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit) return false;
    // The application handles the request here and now, so that the windows it asks
    // to close can tell; afterwards it is known whether the request went through.
    ++depth_;
    watched->event(event);
    --depth_;
    std::vector<QPointer<QWidget>> closed = std::move(closed_);
    closed_.clear();
    if (!event->isAccepted()) {
      for (const QPointer<QWidget>& window : closed)
        if (window) window->show();
    }
    return true;
  }

 private:
  int depth_ = 0;
  std::vector<QPointer<QWidget>> closed_;
};

QPointer<QuitWatch>& Watch() {
  static QPointer<QuitWatch> watch;
  return watch;
}

}  // namespace

void WatchQuitRequests() {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr || Watch()) return;
  // Owned by the application: it goes when the application does.
  auto* watch = new QuitWatch;
  watch->setParent(application);
  application->installEventFilter(watch);
  Watch() = watch;
}

bool QuitRequested() {
  if (Watch() && Watch()->Handling()) return true;
  const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  return application != nullptr && application->isSavingSession();
}

void ShowAgainIfQuitRefused(QWidget& window) {
  if (Watch()) Watch()->Remember(window);
}

}  // namespace orvale
