#pragma once
// The real clock: the process's steady clock in milliseconds, truncated to 32 bits.
#include "platform/clock/Clock.h"

namespace orvale {

class SystemClock final : public Clock {
 public:
  std::uint32_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;
  std::unique_ptr<WakeEvent> MakeEvent() override;
};

}  // namespace orvale
