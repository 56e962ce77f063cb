#pragma once
// Window timers over QTimer, for the program and the libraries running inside it. Needs
// a QCoreApplication: without one Start returns 0. ProcessDue runs the pending events
// except user input.
#include <memory>

#include "platform/ui/TimerService.h"

class QObject;
class QTimer;

namespace orvale {

class QtTimerService final : public TimerService {
 public:
  QtTimerService();
  ~QtTimerService() override;
  QtTimerService(const QtTimerService&) = delete;
  QtTimerService& operator=(const QtTimerService&) = delete;

  TimerId Start(std::uint32_t intervalMs, Callback callback) override;
  bool Kill(TimerId id) override;
  void ProcessDue() override;

 private:
  std::unique_ptr<QObject> owner_;  // parent of the QTimers
  std::map<TimerId, QTimer*> timers_;
  TimerId nextId_ = 1;
};

}  // namespace orvale
