#pragma once
// The miscellaneous parameters, ids 1..38: one table of get and set handlers.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// -1 for a null result pointer, an id without a getter, or a failed read.
std::int32_t GetMiscParm(Library& lib, std::int16_t id, std::intptr_t* value);
// -1 for an id without a setter or a refused value.
std::int32_t SetMiscParm(Library& lib, std::int16_t id, std::intptr_t value);

}  // namespace orvale::korrin
