#pragma once
// A single grab: waiting for the right field, driving the trigger output in the chosen
// mode, stopping the capture, and post-processing the frame.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

namespace grabflag {
inline constexpr std::int32_t kNoRefresh = 0x8000;    // first word: leave the window alone
inline constexpr std::int32_t kAverage = 0x0800;      // mode word: average instead of copy
inline constexpr std::int32_t kSecondField = 0x2000;  // keep the second field
inline constexpr std::int32_t kRightmost = 0x4000;    // repair the rightmost column
inline constexpr std::int32_t kOneField = 0x8000;     // keep one field
inline constexpr std::int32_t kStartOnSwitch = 0x1000;
}  // namespace grabflag

// 0, or 1 when a trigger the mode waits for did not come.
std::int32_t VideoGrab(Library& lib, std::int32_t fieldAndWindow, std::int32_t modeAndFlags,
                       std::int32_t fields, std::int32_t lines);

// Brightness trigger: true when the reference lines brightened (mode 9: either line,
// mode 8: both) within the controller time-out.
bool BrightnessTrigger(Library& lib, int mode);

}  // namespace orvale::korrin
