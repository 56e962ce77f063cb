#pragma once
// Waiting on video timing: fields, vertical and horizontal sync, milliseconds.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

std::int32_t GetFieldType(Library& lib);
std::int32_t WaitFieldType(Library& lib, std::int32_t type);
// `fields` field changes; -1 at the first that does not come.
std::int32_t WaitVSync(Library& lib, std::int32_t fields);
// `lines` line times on the board's line counter, in chunks of at most 50 lines so the
// 16-bit counter never wraps; a chunk that takes longer than twice its line time plus
// 80 ms is a time-out (-1).
std::int32_t WaitHSync(Library& lib, std::int32_t lines);
std::int32_t WaitMs(Library& lib, std::int32_t milliseconds);

}  // namespace orvale::korrin
