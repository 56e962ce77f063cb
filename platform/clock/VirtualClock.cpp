#include "platform/clock/VirtualClock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace orvale {

class VirtualClock::Event final : public WakeEvent {
 public:
  explicit Event(VirtualClock& clock) : clock_(clock) {}

  void Signal() override {
    {
      std::lock_guard lock(clock_.mutex_);
      signalled_ = true;
    }
    clock_.changed_.notify_all();
  }

  bool Wait(std::uint32_t timeoutMs) override {
    std::unique_lock lock(clock_.mutex_);
    const std::uint64_t start = clock_.elapsedMs_;
    const auto done = [&] { return signalled_ || clock_.elapsedMs_ - start >= timeoutMs; };
    if (!done() && clock_.IsMovingThread()) {
      // Nothing but this thread could move time on: the wait would never end.
      throw std::logic_error("a scheduled event cannot wait on the virtual clock");
    }
    ++clock_.waiting_;
    clock_.changed_.wait(lock, done);
    --clock_.waiting_;
    if (!signalled_) return false;
    signalled_ = false;
    return true;
  }

 private:
  VirtualClock& clock_;
  bool signalled_ = false;  // guarded by the clock's mutex
};

VirtualClock::VirtualClock(std::uint32_t startMs) : startMs_(startMs) {}

VirtualClock::~VirtualClock() = default;

std::unique_ptr<WakeEvent> VirtualClock::MakeEvent() { return std::make_unique<Event>(*this); }

std::uint32_t VirtualClock::NowMs() {
  std::uint32_t step;
  {
    std::lock_guard lock(mutex_);
    step = pollStepMs_;
  }
  Move(step, true);
  return PeekMs();
}

void VirtualClock::Advance(std::uint32_t ms) { Move(ms, false); }

std::uint32_t VirtualClock::PeekMs() const {
  std::lock_guard lock(mutex_);
  return NowLocked();
}

std::uint64_t VirtualClock::ElapsedMs() const {
  std::lock_guard lock(mutex_);
  return elapsedMs_;
}

void VirtualClock::SetPollStep(std::uint32_t ms) {
  std::lock_guard lock(mutex_);
  pollStepMs_ = ms;
}

VirtualClock::EventId VirtualClock::ScheduleAt(std::uint32_t atMs, Callback callback) {
  std::lock_guard lock(mutex_);
  // A reading within half the counter's range before now counts as past, not as 49 days on.
  const auto ahead = static_cast<std::int32_t>(atMs - NowLocked());
  const std::uint64_t due = elapsedMs_ + static_cast<std::uint64_t>(std::max(ahead, 0));
  const EventId id = nextId_++;
  queue_.emplace(std::make_pair(due, id), std::move(callback));
  return id;
}

VirtualClock::EventId VirtualClock::ScheduleAfter(std::uint32_t delayMs, Callback callback) {
  std::lock_guard lock(mutex_);
  const EventId id = nextId_++;
  queue_.emplace(std::make_pair(elapsedMs_ + delayMs, id), std::move(callback));
  return id;
}

bool VirtualClock::Cancel(EventId id) {
  std::lock_guard lock(mutex_);
  const auto it = std::find_if(queue_.begin(), queue_.end(),
                               [id](const auto& entry) { return entry.first.second == id; });
  if (it == queue_.end()) return false;
  queue_.erase(it);
  return true;
}

std::size_t VirtualClock::PendingEvents() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

void VirtualClock::SetWatchdog(std::uint64_t limitMs, WatchdogHook hook) {
  std::lock_guard lock(mutex_);
  watchdogMs_ = limitMs;
  watchdogHook_ = std::move(hook);
  watchdogFired_ = false;
}

std::size_t VirtualClock::WaitingThreads() const {
  std::lock_guard lock(mutex_);
  return waiting_;
}

void VirtualClock::Move(std::uint64_t ms, bool isPoll) {
  if (IsMovingThread()) {
    if (isPoll) return;
    throw std::logic_error("virtual time cannot be moved from inside a scheduled event");
  }
  // A poll while another thread moves time reads without stepping rather than wait for
  // it: that thread may be running an event that waits for this one.
  std::unique_lock moving(moving_, std::defer_lock);
  if (isPoll) {
    if (!moving.try_lock()) return;
  } else {
    moving.lock();
  }
  struct MoverMark {
    explicit MoverMark(std::atomic<std::thread::id>& mover) : mover_(mover) {
      mover_.store(std::this_thread::get_id());
    }
    ~MoverMark() { mover_.store(std::thread::id()); }
    std::atomic<std::thread::id>& mover_;
  } mark(mover_);

  std::unique_lock lock(mutex_);
  std::uint64_t target = elapsedMs_ + ms;
  const bool overLimit = target > watchdogMs_;
  if (overLimit) target = std::max(elapsedMs_, watchdogMs_);
  while (!queue_.empty() && queue_.begin()->first.first <= target) {
    auto event = queue_.extract(queue_.begin());
    elapsedMs_ = std::max(elapsedMs_, event.key().first);
    lock.unlock();
    changed_.notify_all();
    event.mapped()();
    lock.lock();
  }
  elapsedMs_ = target;
  lock.unlock();
  changed_.notify_all();
  if (overLimit) FireWatchdog();
}

void VirtualClock::FireWatchdog() {
  WatchdogHook hook;
  bool first;
  std::uint64_t limit;
  {
    std::lock_guard lock(mutex_);
    first = !watchdogFired_;
    watchdogFired_ = true;
    hook = watchdogHook_;
    limit = watchdogMs_;
  }
  const std::string message = "virtual clock watchdog: more than " + std::to_string(limit) +
                              " ms of virtual time passed; some wait has no bound";
  if (first) {
    if (!hook) {
      std::fprintf(stderr, "%s\n", message.c_str());
      std::abort();
    }
    hook(message);
  }
  throw WatchdogExpired(message);
}

}  // namespace orvale
