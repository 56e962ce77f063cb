#pragma once
// Stopping everything a located board is doing before its resources go: live video,
// the overlay, the auto-window, auto-blit and interrupts.
#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

void ReleaseBoardActivity(Library& lib);

}  // namespace orvale::korrin
