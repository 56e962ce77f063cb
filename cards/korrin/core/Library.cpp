#include "cards/korrin/core/Library.h"

#include "cards/korrin/core/Interrupts.h"
#include "cards/korrin/core/IrqMachinery.h"
#include "cards/korrin/core/Startup.h"

namespace orvale::korrin {

Library::Library(LibraryServices services) : services_(std::move(services)) {}

Library::~Library() {
  // Every board, the live one and the copies, lets go of what it holds: interrupt
  // workers stop and are joined, locks are released, boards detach.
  try {
    std::lock_guard inside(gate_);
    for (auto& copy : copies_) CleanupOther(*this, *copy);
    Cleanup(*this);
    JoinStoppedWorkers(*this);
  } catch (...) {
  }
}

}  // namespace orvale::korrin
