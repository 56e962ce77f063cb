#pragma once
// Time-outs on a Clock, right across the 32-bit wrap (spans up to 49 days). Every poll
// loop of the card libraries goes through these, so that on a VirtualClock each poll
// moves time and no loop can spin for ever:
//
//   Deadline deadline(clock, 80);
//   while (!FieldChanged()) {
//     if (deadline.Expired()) return kTimedOut;
//   }
//
// or, the same, `if (!PollUntil(clock, 80, FieldChanged)) return kTimedOut;`.
#include <cstdint>

#include "platform/clock/Clock.h"

namespace orvale {

class Deadline {
 public:
  // Starts now.
  Deadline(Clock& clock, std::uint32_t timeoutMs);

  // True once more than the time-out has passed; a time-out of 0 is expired from the start.
  bool Expired();
  std::uint32_t ElapsedMs();
  // Starts the same time-out again from now.
  void Restart();
  std::uint32_t TimeoutMs() const { return timeoutMs_; }

 private:
  Clock& clock_;
  std::uint32_t startMs_;
  std::uint32_t timeoutMs_;
};

// Calls `ready` until it returns true (result true) or the time-out passes (false).
// `ready` is called at least once; the clock is read after every `pollsPerClockRead`
// calls, for loops that poll hardware in rounds between clock reads.
template <class Ready>
bool PollUntil(Clock& clock, std::uint32_t timeoutMs, Ready&& ready,
               std::uint32_t pollsPerClockRead = 1) {
  const std::uint32_t round = pollsPerClockRead > 0 ? pollsPerClockRead : 1;
  Deadline deadline(clock, timeoutMs);
  for (;;) {
    for (std::uint32_t i = 0; i < round; ++i) {
      if (ready()) return true;
    }
    if (deadline.Expired()) return false;
  }
}

}  // namespace orvale
