#include "platform/ui/TimerService.h"

#include <algorithm>
#include <vector>

namespace orvale {

PumpedTimerService::PumpedTimerService(Clock& clock) : clock_(clock) {}

TimerId PumpedTimerService::Start(std::uint32_t intervalMs, Callback callback) {
  const TimerId id = nextId_++;
  timers_[id] = Timer{std::max<std::uint32_t>(intervalMs, 1), clock_.NowMs(), std::move(callback)};
  return id;
}

bool PumpedTimerService::Kill(TimerId id) { return timers_.erase(id) > 0; }

std::uint32_t PumpedTimerService::IntervalMs(TimerId id) const {
  const auto it = timers_.find(id);
  return it == timers_.end() ? 0 : it->second.intervalMs;
}

void PumpedTimerService::RunTimer(TimerId id, std::uint32_t nowMs) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second.lastMs = nowMs;
  // A copy, so the callback may kill its own timer.
  const Callback callback = it->second.callback;
  callback(id);
}

bool PumpedTimerService::Fire(TimerId id) {
  if (!IsActive(id)) return false;
  RunTimer(id, clock_.NowMs());
  return true;
}

void PumpedTimerService::ProcessDue() {
  const std::uint32_t now = clock_.NowMs();
  // (how late, id) of every due timer, the one that fell due first first.
  std::vector<std::pair<std::uint32_t, TimerId>> due;
  for (const auto& [id, timer] : timers_) {
    const std::uint32_t waited = now - timer.lastMs;  // right across the clock's wrap
    if (waited >= timer.intervalMs) due.emplace_back(waited - timer.intervalMs, id);
  }
  std::sort(due.begin(), due.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  for (const auto& entry : due) RunTimer(entry.second, now);
}

}  // namespace orvale
