#include "cards/korrin/session/Library.h"

#include "cards/korrin/interrupts/Interrupts.h"
#include "cards/korrin/interrupts/IrqMachinery.h"
#include "cards/korrin/session/Startup.h"

namespace orvale::korrin {
namespace {

// What a call works on across a wait: the board, the memory it captures into and the
// geometry that lays the picture out there.
struct BoardInUse {
  std::shared_ptr<BoardSession> session;  // kept, so a new session cannot take its address
  bool located = false;
  MemoryRegion target;
  bool callerTarget = false;
  VideoGeometry geometry;
  std::int32_t colourSpaceBits = 0;
  std::int32_t displayBits = 0;
  std::int32_t channel = 0;
  std::int32_t dmaOffset = 0;
  std::int32_t dmaOffset2 = 0;

  explicit BoardInUse(BoardState& b)
      : session(b.resources.session),
        located(b.Located()),
        target(b.resources.dmaTarget),
        callerTarget(b.resources.callerTarget),
        geometry(b.settings.geometry),
        colourSpaceBits(b.settings.colourSpaceBits),
        displayBits(b.settings.displayBits),
        channel(b.settings.misc.channel),
        dmaOffset(b.settings.dmaOffset),
        dmaOffset2(b.settings.dmaOffset2) {}

  // A call on no board (a plain pause) has nothing to lose.
  bool StillIn(BoardState& b) const {
    if (!located) return true;
    const MemoryRegion& t = b.resources.dmaTarget;
    const BoardSettings& s = b.settings;
    return b.Located() && b.resources.session == session && t.physical == target.physical &&
           t.linear == target.linear && t.size == target.size && b.resources.callerTarget == callerTarget &&
           s.geometry == geometry && s.colourSpaceBits == colourSpaceBits && s.displayBits == displayBits &&
           s.misc.channel == channel && s.dmaOffset == dmaOffset && s.dmaOffset2 == dmaOffset2;
  }
};

}  // namespace

Library::Library(LibraryServices services)
    : services_(std::move(services)), gate_(services_.gate != nullptr ? services_.gate : &ownGate_) {}

Library::~Library() {
  try {
    CleanUpAll();
  } catch (...) {
  }
}

void Library::CleanUpAll() {
  std::lock_guard inside(*gate_);
  for (auto& copy : copies_) CleanupOther(*this, *copy);
  Cleanup(*this);
  JoinStoppedWorkers(*this);
}

void Library::LetOthersIn() {
  if (gateHeld_ > 0 || !gate_->Inside() || !gate_->OthersWaiting()) return;
  const BoardInUse before(live_);
  gate_->Yield();
  if (!before.StillIn(live_)) throw BoardChanged();
}

}  // namespace orvale::korrin
