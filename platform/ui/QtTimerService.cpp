#include "platform/ui/QtTimerService.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

namespace orvale {

QtTimerService::QtTimerService() : owner_(std::make_unique<QObject>()) {}

QtTimerService::~QtTimerService() = default;

TimerId QtTimerService::Start(std::uint32_t intervalMs, Callback callback) {
  if (QCoreApplication::instance() == nullptr) return 0;
  const TimerId id = nextId_++;
  auto* timer = new QTimer(owner_.get());
  timer->setTimerType(Qt::PreciseTimer);
  timer->setInterval(static_cast<int>(std::clamp<std::uint32_t>(intervalMs, 1, INT32_MAX)));
  QObject::connect(timer, &QTimer::timeout, timer, [callback = std::move(callback), id] {
    callback(id);
  });
  timer->start();
  timers_[id] = timer;
  return id;
}

bool QtTimerService::Kill(TimerId id) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return false;
  QTimer* timer = it->second;
  timer->stop();
  timer->deleteLater();  // it may be the timer whose callback is running
  timers_.erase(it);
  return true;
}

void QtTimerService::ProcessDue() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace orvale
