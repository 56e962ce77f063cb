#pragma once
// Waiting for video fields: the current field is a status bit of the SAA7146 (bit 8, or
// bit 7 with channel selector 1); a change that does not come within 80 ms is a time-out.
#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

inline constexpr int kNextField = 2;
inline constexpr std::uint32_t kFieldTimeoutMs = 80;

enum class FieldWaitResult { kChanged, kTimedOut };

int CurrentField(Library& lib);
// Waits for field `type` (0 or 1) or, with kNextField, for the next field. Types above 2
// return at once. Other calls come in between polls (YieldingWait.h).
FieldWaitResult WaitForField(Library& lib, int type);

}  // namespace orvale::korrin
