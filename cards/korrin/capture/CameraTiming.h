#pragma once
// Camera timing: a window timer that, while live video runs, waits for the camera's
// exposure switch (trigger modes 1 and 2) or times the exposure itself (mode 0x4000)
// and gates the capture for the fields of one exposure. The timer belongs to the board
// that started it, whichever board is live when it fires.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// Misc parameter 17: a period of 0 stops the timing and the capture; another measures
// the camera (modes 1 and 2) and starts the timer. -1 when the camera could not be
// measured (the timing is then off).
std::int32_t SetCameraPeriod(Library& lib, std::int32_t periodMs);
// One tick of the timer, on the live board.
void CameraTimingTick(Library& lib);
// Kills the live board's timer (clean-up).
void StopCameraTiming(Library& lib);

}  // namespace orvale::korrin
