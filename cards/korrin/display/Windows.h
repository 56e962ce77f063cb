#pragma once
// Window handles as the exports get them: the address of a live TrackedWindow.
#include "korrin32.h"
#include "platform/window/TrackedWindow.h"

namespace orvale::korrin {

// The live window `handle` names, or null for a null, unknown or destroyed one.
inline TrackedWindow* FindWindow(KR_Window handle) { return TrackedWindow::Find(handle); }

}  // namespace orvale::korrin
