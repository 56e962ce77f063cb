#include "cards/korrin/interrupts/SwitchState.h"

#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/interrupts/YieldingWait.h"

namespace orvale::korrin {
namespace {

constexpr std::uint32_t kSwitchInputBit = 0x04;
constexpr std::uint32_t kPollsPerClockRead = 1000;

}  // namespace

std::optional<int> SwitchLevel(Library& lib) {
  if (!lib.Live().Located()) return std::nullopt;
  if (lib.Settings().controller.present) {
    const auto state = ControllerSwitchState(lib);
    if (!state) return std::nullopt;
    return *state != 0 ? 1 : 0;
  }
  return (lib.Live().Registers().Read32(saa::kGpio) & kSwitchInputBit) != 0 ? 1 : 0;
}

bool WaitSwitchLeaves(Library& lib, int level, std::uint32_t timeoutMs) {
  const std::uint32_t polls = lib.Settings().controller.present ? 1 : kPollsPerClockRead;
  return WaitUntil(
      lib, timeoutMs,
      [&] {
        const auto now = SwitchLevel(lib);
        return now && *now != level;
      },
      polls);
}

std::int32_t CheckSwitch(Library& lib, std::int32_t word, std::int32_t timeoutMs) {
  if (!lib.Live().Located()) return kFail;
  lib.Settings().switchWord = word;
  if (timeoutMs <= 0) {
    for (std::uint32_t i = 0; i < kPollsPerClockRead; ++i) {
      const auto level = SwitchLevel(lib);
      if (level && *level != 0) return kOk;
    }
    return kFail;
  }
  PriorityGuard raised(lib.Priority(), PriorityLevel::kHigh);
  return WaitSwitchLeaves(lib, 0, static_cast<std::uint32_t>(timeoutMs)) ? kOk : kFail;
}

}  // namespace orvale::korrin
