#include "cards/korrin/capture/VideoGrab.h"

#include <algorithm>

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/display/AutoBlit.h"
#include "cards/korrin/display/AutoWindow.h"
#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/interrupts/FieldWait.h"
#include "cards/korrin/capture/PostProcess.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/Surfaces.h"
#include "cards/korrin/interrupts/SwitchState.h"
#include "cards/korrin/capture/TriggerOutput.h"
#include "cards/korrin/interrupts/Waits.h"
#include "cards/korrin/interrupts/YieldingWait.h"

namespace orvale::korrin {
namespace {

constexpr std::uint32_t kSwitchSettleMs = 60;
constexpr std::uint32_t kStrobeHoldMs = 3001;

class Sequence {
 public:
  explicit Sequence(Library& lib) : lib_(lib) {}

  void Set() { WriteTriggerOutput(lib_, TriggerOutputState(lib_) | 1); }
  void Clear() { WriteTriggerOutput(lib_, TriggerOutputState(lib_) & ~1u); }
  void Field(int type) { WaitForField(lib_, type); }
  // A field that does not come is waited for no longer than its time-out; the grab goes on.
  void Fields(int n) {
    for (int i = 0; i < n; ++i) WaitForField(lib_, kNextField);
  }
  void Lines(int n) {
    if (n > 0) WaitHSync(lib_, n);
  }
  void Ms(std::uint32_t ms) { Pause(lib_, ms); }
  void Stop() { StopTransfer(lib_); }
  void Start() { StartTransfer(lib_, kNextField + 1); }
  std::uint32_t Timeout() const {
    return static_cast<std::uint32_t>(std::max(lib_.Settings().controller.timeoutMs, 0));
  }
  bool SwitchLeaves(int level, std::uint32_t ms) { return WaitSwitchLeaves(lib_, level, ms); }
  void Strobe(bool on) {
    if (lib_.Settings().controller.present) {
      RunControllerCommand(lib_, {controller::kStrobe, 1, {static_cast<std::uint8_t>(on ? 1 : 0)}, 0, 2});
    }
  }

 private:
  Library& lib_;
};

// Modes 3 and 4 (and 1 without a controller): a pulse at the chosen field.
void Pulse(Sequence& q, int mode, int fieldType, int fields, int lines, bool decrement) {
  q.Set();
  q.Field(fieldType);
  q.Lines(lines);
  q.Clear();
  if (mode == 4) {
    q.Lines(50);
    q.Set();
  }
  q.Fields(1);
  q.Clear();
  q.Fields(decrement ? fields - 1 : fields);
  q.Stop();
  q.Set();
}

void DefaultMode(Sequence& q, int fieldType, int fields, int lines) {
  q.Field(fieldType);
  q.Fields(fields);
  q.Lines(lines);
  q.Stop();
}

// The trigger and capture sequence of one mode; true when a trigger did not come.
bool RunMode(Library& lib, int mode, std::int32_t modeWord, int fieldType, int fields, int lines) {
  Sequence q(lib);
  switch (mode) {
    case 1:
      if (lib.Settings().controller.present) {
        RunControllerCommand(lib, {controller::kExposure, std::nullopt,
                                   {static_cast<std::uint8_t>(fieldType), 1, static_cast<std::uint8_t>(fields),
                                    static_cast<std::uint8_t>(lines)},
                                   2, static_cast<std::uint32_t>(160 + 20 * fields)});
        q.Stop();
      } else {
        Pulse(q, 3, fieldType, fields, lines, false);
      }
      return false;
    case 3:
    case 4:
      Pulse(q, mode, fieldType, fields, lines, true);
      return false;
    case 2:
      for (int i = 0; i < 3; ++i) {
        q.Clear();
        q.Ms(2);
      }
      q.Set();
      q.Ms(kStrobeHoldMs);
      q.Fields(fields);
      q.Stop();
      q.Clear();
      return false;
    case 5: {
      q.SwitchLeaves(0, kSwitchSettleMs);
      const bool released = q.SwitchLeaves(1, q.Timeout());
      if (released && (modeWord & grabflag::kStartOnSwitch)) q.Start();
      q.SwitchLeaves(0, kSwitchSettleMs);
      q.Fields(2);
      q.Stop();
      return !released;
    }
    case 6: {
      const bool came = q.SwitchLeaves(0, q.Timeout());
      DefaultMode(q, fieldType, fields, lines);
      return !came;
    }
    case 7:
      q.Clear();
      q.Field(kNextField);
      q.Ms(5);
      q.Set();
      q.Fields(fields);
      q.Stop();
      q.Clear();
      return false;
    case 8:
    case 9: {
      const bool came = BrightnessTrigger(lib, mode);
      q.Field(fieldType);
      q.Stop();
      return !came;
    }
    case 10:
    case 11: {
      // A strobe pulse: high then low in mode 11, low then high in mode 10.
      const int triggerMode = lib.Settings().misc.triggerMode;
      const bool strobe = triggerMode == 4 || triggerMode == 5;
      if (strobe) q.Strobe(true);
      if (mode == 11) {
        q.Set();
        q.Lines(lines);
        q.Clear();
      } else {
        q.Clear();
        q.Lines(lines);
        q.Set();
      }
      q.Fields(fields);
      q.Stop();
      if (strobe) q.Strobe(false);
      return false;
    }
    default:
      DefaultMode(q, fieldType, fields, lines);
      return false;
  }
}

double LineMean(const Surface& s, int y) {
  const std::uint8_t* row = s.At(0, y);
  const std::int64_t bytes = std::int64_t{s.width} * s.BytesPerPixel();
  std::int64_t sum = 0;
  for (std::int64_t i = 0; i < bytes; ++i) sum += row[i];
  return bytes > 0 ? static_cast<double>(sum) / static_cast<double>(bytes) : 0;
}

void PostProcessFrame(Library& lib, std::int32_t modeWord) {
  const auto surface = CaptureSurface(lib);
  if (!surface) return;
  const BoardSettings& s = lib.Settings();
  if ((modeWord & (grabflag::kOneField | grabflag::kSecondField)) && s.geometry.interleave) {
    KeepOneField(*surface, (modeWord & grabflag::kSecondField) != 0, (modeWord & grabflag::kAverage) != 0);
  }
  const int full = s.video.standard != 0 ? 570 : 480;
  if ((modeWord & grabflag::kRightmost) && surface->height != full && surface->height != full / 2) {
    RepairRightmostPixel(*surface);
  }
}

}  // namespace

bool BrightnessTrigger(Library& lib, int mode) {
  const auto surface = CaptureSurface(lib);
  if (!surface || surface->height < 2) return false;
  const BoardSettings& s = lib.Settings();
  // The reference line and the next one always lie inside the frame.
  const int wanted = s.misc.flashLine < 0 ? s.geometry.window.height / 2 : s.misc.flashLine;
  const int line = std::clamp(wanted, 0, surface->height - 2);
  const int margin = s.misc.flashMargin < 0 ? 16 : s.misc.flashMargin;
  const double threshold[2] = {std::min(LineMean(*surface, line) + margin, 250.0),
                               std::min(LineMean(*surface, line + 1) + margin, 250.0)};
  return WaitUntil(lib, static_cast<std::uint32_t>(std::max(s.controller.timeoutMs, 0)), [&] {
    const bool first = LineMean(*surface, line) > threshold[0];
    const bool second = LineMean(*surface, line + 1) > threshold[1];
    return mode == 9 ? (first || second) : (first && second);
  });
}

std::int32_t VideoGrab(Library& lib, std::int32_t fieldAndWindow, std::int32_t modeAndFlags,
                       std::int32_t fields, std::int32_t lines) {
  if (!lib.Live().Located()) return kFail;
  const int fieldType = fieldAndWindow & 0xFF;
  const int mode = modeAndFlags & 0xFF;
  const bool refresh = (fieldAndWindow & 0x8000) == 0;
  BeforeVideoStops(lib, refresh);
  // Auto-blit pauses for the grab; only what it suspended is resumed, and only while it
  // is still there (a callback let in at a wait may have stopped it).
  AutoBlit* blit = lib.Live().resources.autoBlit.get();
  const bool blitSuspended = blit != nullptr && blit->running;
  if (blitSuspended) AutoBlitSet(lib, blit->window, -2, 0, 0, 0, 0, 0);
  bool missed;
  {
    PriorityGuard raised(lib.Priority(), PriorityLevel::kHigh);
    missed = RunMode(lib, mode, modeAndFlags, fieldType, std::max(fields, 0), std::max(lines, 0));
  }
  lib.Settings().liveState = 0;
  PostProcessFrame(lib, modeAndFlags);
  if (blitSuspended && lib.Live().resources.autoBlit.get() == blit) {
    AutoBlitSet(lib, blit->window, -3, 0, 0, 0, 0, 0);
  }
  AfterVideoStopped(lib, refresh, true);
  return missed ? 1 : kOk;
}

}  // namespace orvale::korrin
