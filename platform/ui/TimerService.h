#pragma once
// Window timers on the message loop, in place of SetTimer/KillTimer: a started timer calls
// its callback on the GUI thread every interval until it is killed. The card libraries
// time cameras, track overlay windows and blit frames with them; a dialog refreshes its
// preview with one.
//
// Programs use QtTimerService (QtTimerService.h); tests use PumpedTimerService, whose
// timers fire only when the test pumps it, never from inside a busy-wait. Timers belong
// to the thread that runs the message loop: start, kill and pump them there.
//
//   const TimerId id = timers.Start(1000, [this](TimerId) { Track(); });
//   ...
//   timers.Kill(id);
#include <cstdint>
#include <functional>
#include <map>

#include "platform/clock/Clock.h"

namespace orvale {

using TimerId = std::uint32_t;  // 0 is no timer

class TimerService {
 public:
  using Callback = std::function<void(TimerId)>;

  virtual ~TimerService() = default;
  // Starts a repeating timer; an interval of 0 counts as 1 ms. Returns 0 when no timer
  // can run (no message loop).
  virtual TimerId Start(std::uint32_t intervalMs, Callback callback) = 0;
  // Stops the timer; false for an unknown one. A callback may kill its own timer.
  virtual bool Kill(TimerId id) = 0;
  // One turn of the message loop for timers: runs those that are due now. For code that
  // waits for a timer tick by pumping messages.
  virtual void ProcessDue() = 0;
};

// Timers that fire only when pumped, on the time of a Clock (a VirtualClock in tests).
// A timer is due once its interval has passed since it started or last fired; each pump
// fires every due timer once, in the order they fall due, and late ticks run together as
// one, as WM_TIMER messages do. Callbacks may start and kill timers; a timer started by a
// callback first falls due at a later pump.
class PumpedTimerService final : public TimerService {
 public:
  explicit PumpedTimerService(Clock& clock);

  TimerId Start(std::uint32_t intervalMs, Callback callback) override;
  bool Kill(TimerId id) override;
  void ProcessDue() override;

  // Fires one timer now, whether due or not; false for an unknown one.
  bool Fire(TimerId id);
  bool IsActive(TimerId id) const { return timers_.contains(id); }
  std::size_t ActiveCount() const { return timers_.size(); }
  // 0 for an unknown timer.
  std::uint32_t IntervalMs(TimerId id) const;

 private:
  struct Timer {
    std::uint32_t intervalMs;
    std::uint32_t lastMs;  // when it started or last fired
    Callback callback;
  };
  // Runs the callback of `id` as it is now, and marks it fired at `nowMs`.
  void RunTimer(TimerId id, std::uint32_t nowMs);

  Clock& clock_;
  std::map<TimerId, Timer> timers_;
  TimerId nextId_ = 1;
};

}  // namespace orvale
