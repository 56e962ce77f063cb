#pragma once
// A program's own widgets as the windows the exports take. The shared object keeps its
// own set of live tracked windows, apart from any the program makes with its own copy of
// the platform layer; so a program hands in its QWidget*, and the library wraps it in a
// tracked window of its own, once per widget, for as long as the widget lives (or
// the library stays loaded).
#include "korrin32.h"

namespace orvale::korrin {

// `handle` as the core should see it: a live tracked window or null as it is; a widget
// of the running Qt application (asked on the application's thread, and looked for
// among Qt's own list of widgets before anything is read through it) as its tracked
// window; anything else unchanged, so that the core refuses it.
KR_Window TrackedHandleOf(KR_Window handle);

}  // namespace orvale::korrin
