#pragma once
// Waits on the board's clock that let the calls waiting to come in go first between
// their polls (Library::LetOthersIn), so an interrupt callback's call waits for no wait
// of the program's to end. Each throws BoardChanged when the board it works on went
// meanwhile. Every wait of the library goes through these, except the waits inside one
// transfer on a bus (an I2C transfer, the controller's command handshake, an EEPROM
// write cycle): another call must not cut into those.
#include <algorithm>
#include <cstdint>

#include "cards/korrin/session/Library.h"
#include "platform/clock/Deadline.h"

namespace orvale::korrin {

// Calls `ready` until it returns true (true) or the time-out passes (false); between
// rounds of `pollsPerClockRead` calls it reads the clock and lets others in.
template <class Ready>
bool WaitUntil(Library& lib, std::uint32_t timeoutMs, Ready&& ready, std::uint32_t pollsPerClockRead = 1) {
  const std::uint32_t round = std::max<std::uint32_t>(pollsPerClockRead, 1);
  Deadline deadline(lib.GetClock(), timeoutMs);
  for (;;) {
    for (std::uint32_t i = 0; i < round; ++i) {
      if (ready()) return true;
    }
    if (deadline.Expired()) return false;
    lib.LetOthersIn();
  }
}

// Sleeps `ms` milliseconds, a millisecond at a time.
inline void Pause(Library& lib, std::uint32_t ms) {
  for (std::uint32_t left = ms; left > 0; --left) {
    lib.GetClock().SleepMs(1);
    if (left > 1) lib.LetOthersIn();
  }
}

}  // namespace orvale::korrin
