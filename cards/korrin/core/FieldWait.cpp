#include "cards/korrin/core/FieldWait.h"

#include "cards/korrin/core/Saa7146.h"
#include "platform/clock/Deadline.h"

namespace orvale::korrin {
namespace {

FieldWaitResult WaitForChange(Library& lib, BoardWait* caller) {
  const int field = CurrentField(lib);
  bool gone = false;
  const bool changed = PollUntil(lib.GetClock(), kFieldTimeoutMs, [&] {
    gone = caller != nullptr && !caller->Continue();
    return gone || CurrentField(lib) != field;
  });
  if (gone) return FieldWaitResult::kBoardGone;
  return changed ? FieldWaitResult::kChanged : FieldWaitResult::kTimedOut;
}

}  // namespace

int CurrentField(Library& lib) {
  const std::uint32_t status = lib.Live().Registers().Read32(saa::kStatus);
  const int bit = lib.Settings().misc.channel == 1 ? 7 : 8;
  return static_cast<int>((status >> bit) & 1);
}

FieldWaitResult WaitForField(Library& lib, int type, BoardWait* caller) {
  if (type > kNextField || type < 0) return FieldWaitResult::kChanged;
  const FieldWaitResult first = WaitForChange(lib, caller);
  if (first != FieldWaitResult::kChanged) return first;
  if (type == kNextField || CurrentField(lib) == type) return FieldWaitResult::kChanged;
  return WaitForChange(lib, caller);
}

}  // namespace orvale::korrin
