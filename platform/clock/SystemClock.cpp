#include "platform/clock/SystemClock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace orvale {

namespace {

class SystemWakeEvent final : public WakeEvent {
 public:
  void Signal() override {
    {
      std::lock_guard lock(mutex_);
      signalled_ = true;
    }
    changed_.notify_one();
  }
  bool Wait(std::uint32_t timeoutMs) override {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return signalled_; })) {
      return false;
    }
    signalled_ = false;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
};

}  // namespace

std::uint32_t SystemClock::NowMs() {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void SystemClock::SleepMs(std::uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::unique_ptr<WakeEvent> SystemClock::MakeEvent() { return std::make_unique<SystemWakeEvent>(); }

}  // namespace orvale
