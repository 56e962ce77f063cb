#include "cards/korrin/core/FieldWait.h"

#include "cards/korrin/core/Saa7146.h"
#include "platform/clock/Deadline.h"

namespace orvale::korrin {
namespace {

bool WaitForChange(Library& lib) {
  const int field = CurrentField(lib);
  return PollUntil(lib.GetClock(), kFieldTimeoutMs, [&] { return CurrentField(lib) != field; });
}

}  // namespace

int CurrentField(Library& lib) {
  const std::uint32_t status = lib.Live().Registers().Read32(saa::kStatus);
  const int bit = lib.Settings().misc.channel == 1 ? 7 : 8;
  return static_cast<int>((status >> bit) & 1);
}

FieldWaitResult WaitForField(Library& lib, int type) {
  if (type > kNextField || type < 0) return FieldWaitResult::kChanged;
  if (!WaitForChange(lib)) return FieldWaitResult::kTimedOut;
  if (type == kNextField || CurrentField(lib) == type) return FieldWaitResult::kChanged;
  return WaitForChange(lib) ? FieldWaitResult::kChanged : FieldWaitResult::kTimedOut;
}

}  // namespace orvale::korrin
