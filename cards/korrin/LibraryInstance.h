#pragma once
// The one library instance behind the C exports. Its services are chosen on first use:
// the simulated board when ORVALE_KORRIN_DEVICE=sim, else no device at all (there is
// no Linux driver for the board). Unloading the library cleans every board up.
#include "cards/korrin/core/Library.h"

namespace orvale::korrin {

inline constexpr char kDeviceVariable[] = "ORVALE_KORRIN_DEVICE";

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
