#include "cards/korrin/core/CameraTiming.h"

#include "cards/korrin/core/Acquisition.h"
#include "cards/korrin/core/BoardController.h"
#include "cards/korrin/core/FieldWait.h"
#include "cards/korrin/core/Saa7146.h"
#include "cards/korrin/core/Status.h"
#include "cards/korrin/core/SwitchState.h"
#include "cards/korrin/core/TriggerOutput.h"
#include "cards/korrin/core/VideoWindow.h"

namespace orvale::korrin {
namespace {

constexpr std::int32_t kTimedExposure = 0x4000;
constexpr std::uint8_t kNewSequencer = 18;  // controller status above this runs mode 0x4000 itself

std::uint32_t ControllerTimeout(Library& lib) {
  return static_cast<std::uint32_t>(std::max(lib.Settings().controller.timeoutMs, 0));
}

void WaitFields(Library& lib, int n) {
  for (int i = 0; i < n; ++i) WaitForField(lib, kNextField);
}

// Modes 1 and 2 time the camera from one switch edge to the next.
std::optional<std::uint32_t> MeasureCamera(Library& lib, int mode) {
  const int idle = mode == 1 ? 0 : 1;
  const std::uint32_t timeout = ControllerTimeout(lib);
  // From an idle switch: one opening edge to the next.
  if (!WaitSwitchLeaves(lib, 1 - idle, timeout) || !WaitSwitchLeaves(lib, idle, timeout)) return std::nullopt;
  const std::uint32_t start = lib.GetClock().NowMs();
  if (!WaitSwitchLeaves(lib, 1 - idle, timeout) || !WaitSwitchLeaves(lib, idle, timeout)) return std::nullopt;
  std::uint32_t period = lib.GetClock().NowMs() - start;
  if (mode == 2 && period > 40) period = period - 40 + (lib.Settings().video.standard == 0 ? 6 : 0);
  return period;
}

void StopTiming(Library& lib) {
  CameraTimingState& t = lib.Settings().cameraTiming;
  if (t.timer != 0) lib.Timers().Kill(t.timer);
  t.timer = 0;
  t.periodMs = 0;
}

bool StartTimer(Library& lib, std::uint32_t intervalMs) {
  CameraTimingState& t = lib.Settings().cameraTiming;
  t.timer = lib.Timers().Start(intervalMs, [&lib](TimerId) { CameraTimingTick(lib); });
  return t.timer != 0;
}

}  // namespace

void GateCapture(Library& lib, bool open) {
  BoardSettings& s = lib.Settings();
  if (s.controller.present && (s.frame.configId & config::kControllerGate)) {
    RunControllerCommand(lib, {controller::kGate, std::nullopt, {static_cast<std::uint8_t>(open ? 1 : 0), 0}, 2, 160});
    return;
  }
  RegisterWindow& regs = lib.Live().Registers();
  const std::uint32_t gpio = regs.Read32(saa::kGpio) & ~0x00500000u;
  regs.Write32(saa::kGpio, gpio | (open ? 0x00500000u : 0x00400000u));
}

std::int32_t SetCameraPeriod(Library& lib, std::int32_t periodMs) {
  if (!lib.Live().Located()) return kFail;
  BoardSettings& s = lib.Settings();
  StopTiming(lib);
  if (periodMs <= 0) {
    VideoLive(lib, 0, 0);
    return kOk;
  }
  const int mode = s.misc.triggerMode;
  std::uint32_t period = static_cast<std::uint32_t>(periodMs);
  if (mode == 1 || mode == 2) {
    const auto measured = MeasureCamera(lib, mode);
    if (!measured) return kFail;
    period = *measured;
  }
  s.cameraTiming.periodMs = static_cast<std::int32_t>(period);
  if ((mode & kTimedExposure) && s.controller.present && s.controller.status > kNewSequencer) {
    // The controller's own sequencer times the exposure.
    const std::uint8_t fields = static_cast<std::uint8_t>((mode >> 4) & 0xF);
    const std::uint8_t word = static_cast<std::uint8_t>((((fields << 3) | ((mode >> 1) & 1)) << 1) | (mode & 1));
    const bool ok = RunControllerCommand(
        lib, {controller::kCameraTiming, 1,
              {word, static_cast<std::uint8_t>(period), static_cast<std::uint8_t>(period >> 8)}, 2, 80});
    return StatusOf(ok);
  }
  const std::uint32_t interval = (mode & kTimedExposure) ? period : (period > 136 ? period - 68 : 68);
  return StatusOf(StartTimer(lib, interval));
}

void CameraTimingTick(Library& lib) {
  BoardSettings& s = lib.Settings();
  CameraTimingState& t = s.cameraTiming;
  if (!lib.Live().Located() || t.periodMs == 0) return;
  if (LiveRunning(lib)) {
    const int mode = s.misc.triggerMode;
    const std::uint32_t timeout = ControllerTimeout(lib);
    if (mode & kTimedExposure) {
      WaitForField(lib, kNextField);
      lib.GetClock().SleepMs(1);
      const std::uint32_t level = TriggerOutputState(lib) & 1;
      WriteTriggerOutput(lib, level ^ 1);
      if (mode & 2) {
        lib.GetClock().SleepMs(1);
        WriteTriggerOutput(lib, level);
      }
      WaitForField(lib, kNextField);
      GateCapture(lib, true);
      WaitFields(lib, (mode >> 4) & 0xF);
      GateCapture(lib, false);
      WriteTriggerOutput(lib, level);
    } else if (mode == 1 || mode == 2) {
      const int idle = mode == 1 ? 0 : 1;
      if (mode == 2) WaitFields(lib, 1);
      if (WaitSwitchLeaves(lib, idle, timeout) && WaitSwitchLeaves(lib, 1 - idle, timeout)) {
        GateCapture(lib, true);
        WaitFields(lib, s.frame.boardKind == kBoardKind ? 3 : 2);
        GateCapture(lib, false);
      }
    }
  }
  ++t.ticks;
}

}  // namespace orvale::korrin
