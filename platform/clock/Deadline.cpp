#include "platform/clock/Deadline.h"

namespace orvale {

Deadline::Deadline(Clock& clock, std::uint32_t timeoutMs)
    : clock_(clock), startMs_(clock.NowMs()), timeoutMs_(timeoutMs) {}

// Unsigned subtraction gives the span even when the counter wrapped in between.
std::uint32_t Deadline::ElapsedMs() { return clock_.NowMs() - startMs_; }

bool Deadline::Expired() { return timeoutMs_ == 0 || ElapsedMs() > timeoutMs_; }

void Deadline::Restart() { startMs_ = clock_.NowMs(); }

}  // namespace orvale
