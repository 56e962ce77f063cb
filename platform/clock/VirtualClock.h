#pragma once
// A clock for tests and simulated hardware: time moves only when something moves it, so
// a wait of an hour takes no real time and every run is the same.
//
// How time moves:
//  - Advance(ms), and SleepMs(ms), which is the same;
//  - every NowMs() call first moves time on by the poll step (1 ms unless SetPollStep
//    says otherwise) and then returns the new time. So a poll loop that reads the clock
//    always gets somewhere, and the watchdog catches one that never ends. PeekMs() reads
//    without moving; a poll step of 0 turns the stepping off.
//
// Scheduled events stand in for hardware that acts on its own (a field toggling, an I2C
// transfer completing, DMA, an interrupt): ScheduleAt/ScheduleAfter register a callback,
// and when time moves past its due time the clock stops there, runs it, and goes on.
// Events run in time order, those due at the same time in the order scheduled, on the
// thread that moves time and with no lock of the clock held. An event may schedule and
// cancel events and signal WakeEvents; NowMs() inside an event reads without stepping,
// and Advance or SleepMs inside an event throws std::logic_error.
//
// Watchdog: when the time moved since construction would pass the limit (one virtual
// hour unless SetWatchdog says otherwise), time stops at the limit, the watchdog hook
// runs once (by default it prints the reason and aborts), and that move and every later
// one throw WatchdogExpired. A test that waits without bound thus fails loudly instead
// of hanging.
//
// Threads: any thread may read, move time, schedule or signal. Moves are serialised; a
// NowMs() on one thread while another moves time reads without stepping, so a worker
// polling the clock never waits for the thread that drives it.
// A WakeEvent's Wait on this clock is passive: it ends when signalled or when another
// thread moves time past its time-out. A thread waiting on its own is never woken by
// time, so a worker thread waits and the test thread drives time.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

#include "platform/clock/Clock.h"

namespace orvale {

class WatchdogExpired : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class VirtualClock final : public Clock {
 public:
  using Callback = std::function<void()>;
  using EventId = std::uint64_t;
  using WatchdogHook = std::function<void(const std::string& message)>;

  static constexpr std::uint64_t kDefaultWatchdogMs = 60ull * 60 * 1000;

  explicit VirtualClock(std::uint32_t startMs = 0);
  ~VirtualClock() override;
  VirtualClock(const VirtualClock&) = delete;
  VirtualClock& operator=(const VirtualClock&) = delete;

  std::uint32_t NowMs() override;
  void SleepMs(std::uint32_t ms) override { Advance(ms); }
  std::unique_ptr<WakeEvent> MakeEvent() override;

  void Advance(std::uint32_t ms);
  std::uint32_t PeekMs() const;
  // Time moved since construction; never wraps.
  std::uint64_t ElapsedMs() const;
  void SetPollStep(std::uint32_t ms);

  // `atMs` is a clock reading; one at or before now runs at the next move (Advance(0)
  // will do). Returns an id for Cancel.
  EventId ScheduleAt(std::uint32_t atMs, Callback callback);
  EventId ScheduleAfter(std::uint32_t delayMs, Callback callback);
  // False when the event already ran or was cancelled.
  bool Cancel(EventId id);
  std::size_t PendingEvents() const;

  // `limitMs` counts from construction. An empty hook keeps the default (print, abort).
  void SetWatchdog(std::uint64_t limitMs, WatchdogHook hook = {});
  // How many threads wait on this clock's events now, so a test can let time pass only
  // once a worker is parked.
  std::size_t WaitingThreads() const;

 private:
  class Event;
  // Moves time on by `ms`, running due events. A poll inside an event, or while another
  // thread moves time, does nothing.
  void Move(std::uint64_t ms, bool isPoll);
  bool IsMovingThread() const { return mover_.load() == std::this_thread::get_id(); }
  [[noreturn]] void FireWatchdog();
  std::uint32_t NowLocked() const { return startMs_ + static_cast<std::uint32_t>(elapsedMs_); }

  const std::uint32_t startMs_;
  mutable std::mutex mutex_;          // everything below, and the events' flags
  std::condition_variable changed_;   // time moved or an event was signalled
  std::uint64_t elapsedMs_ = 0;
  std::uint32_t pollStepMs_ = 1;
  std::map<std::pair<std::uint64_t, EventId>, Callback> queue_;  // (due, id) -> callback
  EventId nextId_ = 1;
  std::uint64_t watchdogMs_ = kDefaultWatchdogMs;
  WatchdogHook watchdogHook_;
  bool watchdogFired_ = false;
  std::size_t waiting_ = 0;

  std::mutex moving_;                  // one move at a time
  std::atomic<std::thread::id> mover_;  // the thread moving time, while it does
};

}  // namespace orvale
