#include "cards/korrin/capture/CameraTiming.h"

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/session/BoardCallbacks.h"
#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/capture/CaptureGate.h"
#include "cards/korrin/interrupts/FieldWait.h"
#include "cards/korrin/interrupts/YieldingWait.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/interrupts/SwitchState.h"
#include "cards/korrin/capture/TriggerOutput.h"
#include "cards/korrin/capture/VideoWindow.h"

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

bool StartTimer(Library& lib, std::uint32_t intervalMs) {
  Library* library = &lib;
  const int board = CallbackBoard(lib);
  TimerId& timer = lib.Live().resources.cameraTimer;
  timer = lib.Timers().Start(intervalMs, [library, board, intervalMs](TimerId) {
    RunForBoard(*library, board, [&] {
      CameraTimingTick(*library);
      // The next exposure is timed from the end of this one.
      TimerId& own = library->Live().resources.cameraTimer;
      if (own == 0) return;
      library->Timers().Kill(own);
      StartTimer(*library, intervalMs);
    });
  });
  return timer != 0;
}

}  // namespace

void StopCameraTiming(Library& lib) {
  TimerId& timer = lib.Live().resources.cameraTimer;
  if (timer != 0) lib.Timers().Kill(timer);
  timer = 0;
  lib.Settings().cameraTiming.periodMs = 0;
}

std::int32_t SetCameraPeriod(Library& lib, std::int32_t periodMs) {
  if (!lib.Live().Located()) return kFail;
  BoardSettings& s = lib.Settings();
  StopCameraTiming(lib);
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
      Pause(lib, 1);
      const std::uint32_t level = TriggerOutputState(lib) & 1;
      WriteTriggerOutput(lib, level ^ 1);
      if (mode & 2) {
        Pause(lib, 1);
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
