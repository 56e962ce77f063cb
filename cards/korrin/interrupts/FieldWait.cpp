#include "cards/korrin/interrupts/FieldWait.h"

#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/interrupts/YieldingWait.h"

namespace orvale::korrin {
namespace {

FieldWaitResult WaitForChange(Library& lib) {
  const int field = CurrentField(lib);
  const bool changed = WaitUntil(lib, kFieldTimeoutMs, [&] { return CurrentField(lib) != field; });
  return changed ? FieldWaitResult::kChanged : FieldWaitResult::kTimedOut;
}

}  // namespace

int CurrentField(Library& lib) {
  const std::uint32_t status = lib.Live().Registers().Read32(saa::kStatus);
  const int bit = lib.Settings().misc.channel == 1 ? 7 : 8;
  return static_cast<int>((status >> bit) & 1);
}

FieldWaitResult WaitForField(Library& lib, int type) {
  if (type > kNextField || type < 0) return FieldWaitResult::kChanged;
  const FieldWaitResult first = WaitForChange(lib);
  if (first != FieldWaitResult::kChanged) return first;
  if (type == kNextField || CurrentField(lib) == type) return FieldWaitResult::kChanged;
  return WaitForChange(lib);
}

}  // namespace orvale::korrin
