#pragma once
// The millisecond clock that the card libraries and their simulated hardware run on, in
// place of the system's millisecond timer: 32-bit milliseconds that wrap about every 49.7
// days. Code that waits takes a Clock&, so programs run it on a SystemClock and tests on a
// VirtualClock, where long waits take no real time. Measure spans with Deadline or
// PollUntil (Deadline.h), which stay right across the wrap.
//
// Usage: a poll loop is `PollUntil(clock, 80, [&] { return FieldChanged(); })`; a sleep is
// `clock.SleepMs(60)`; a worker thread that waits for a signal from another thread waits on
// an event the clock made: `auto event = clock.MakeEvent(); ... event->Wait(100)`.
#include <cstdint>
#include <memory>

namespace orvale {

// An auto-reset event measured on the clock that made it. A Signal with nobody waiting is
// kept for the next Wait; several Signals before a Wait count as one. Safe to use from any
// thread.
class WakeEvent {
 public:
  virtual ~WakeEvent() = default;
  virtual void Signal() = 0;
  // True when signalled (the signal is used up); false once `timeoutMs` of the clock's
  // time has passed without one. A time-out of 0 only looks.
  virtual bool Wait(std::uint32_t timeoutMs) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a 32-bit counter that wraps; only differences mean anything.
  virtual std::uint32_t NowMs() = 0;
  virtual void SleepMs(std::uint32_t ms) = 0;
  virtual std::unique_ptr<WakeEvent> MakeEvent() = 0;
};

}  // namespace orvale
