#pragma once
// The one library instance behind the C exports. Its services are chosen on first use:
// the simulated board when ORVALE_KORRIN_DEVICE=sim, else no device at all (there is
// no Linux driver for the board).
//
// Unloading the library, or the process's exit, cleans every board up. What a call in
// progress on another thread still holds (a program's wait while its callback calls
// exit()) is not freed: that call fails once it comes back in, as does any call after
// it. A fork stops the interrupt workers for its moment and the parent starts them again;
// the child has none until it enables interrupts itself.
#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

inline constexpr char kDeviceVariable[] = "ORVALE_KORRIN_DEVICE";

// One call from outside: passes the gate of the library it runs against for as long as
// it lives. Throws (the export fails) when the library has been torn down.
class LibraryCall {
 public:
  LibraryCall();
  ~LibraryCall();
  LibraryCall(const LibraryCall&) = delete;
  LibraryCall& operator=(const LibraryCall&) = delete;

 private:
  CallGate& gate_;
};

// The library the calls run against; only inside a LibraryCall.
Library& TheLibrary();

// Hands `services` the exported callbacks (row callbacks, hooks, timer procedures) that
// the window system, timers and format plug-ins call.
void UseExportedCallbacks(LibraryServices& services);

// While one exists, the exports run against `library` instead (test programs that
// link the export layer and drive a simulated board of their own). Overrides nest.
class ScopedLibraryOverride {
 public:
  explicit ScopedLibraryOverride(Library& library);
  ~ScopedLibraryOverride();
  ScopedLibraryOverride(const ScopedLibraryOverride&) = delete;
  ScopedLibraryOverride& operator=(const ScopedLibraryOverride&) = delete;

 private:
  Library* previous_;
};

}  // namespace orvale::korrin
