#pragma once
// Finding the input a camera is on, and probing the current one.
#include <cstdint>
#include <optional>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// Tries the board's eight candidate inputs at standard 0 and reports the first with a
// signal as type | (50-field signal << 8) | (source << 16) | (fourth << 24); empty when
// none has one or the board has no detection. The selection before is put back.
std::optional<std::int32_t> DetectSource(Library& lib);

}  // namespace orvale::korrin
