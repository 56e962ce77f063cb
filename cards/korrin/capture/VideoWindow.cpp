#include "cards/korrin/capture/VideoWindow.h"

#include <algorithm>
#include <exception>

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/display/AutoWindow.h"
#include "cards/korrin/dma/DmaLock.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/Surfaces.h"
#include "cards/korrin/image/PixelConvert.h"

namespace orvale::korrin {
namespace {

// Live video stopped for a change and started again afterwards, unless the change
// stopped because the board changed under it (BoardChanged): then nothing is touched.
class LivePause {
 public:
  explicit LivePause(Library& lib)
      : lib_(lib), wasLive_(LiveRunning(lib)), exceptions_(std::uncaught_exceptions()) {
    if (wasLive_) VideoLive(lib_, 0, 3);
  }
  ~LivePause() {
    if (!wasLive_ || std::uncaught_exceptions() != exceptions_) return;
    // A destructor may not throw: the restart keeps the gate.
    Library::GateHeld held(lib_);
    VideoLive(lib_, 1, 3);
  }
  LivePause(const LivePause&) = delete;
  LivePause& operator=(const LivePause&) = delete;

 private:
  Library& lib_;
  bool wasLive_;
  int exceptions_;
};

int OutputBits(std::int32_t format) {
  switch (format) {
    case 0:
    case 15: return 15;
    case 2:
    case 24: return 24;
    case 3:
    case 32: return 32;
    case 4:
    case 8: return 8;
    default: return 16;
  }
}

// Sizes of at least 4, compared as the signed values they are.
int AtLeastFour(std::int32_t v) { return std::max(v, 4); }

}  // namespace

void InitDefaultGeometry(Library& lib) {
  VideoGeometry& g = lib.Settings().geometry;
  g.fullWidth = 640;
  g.fullHeight = 480;
  SetInputWindow(lib, 0, 0, 640, 480);
  SetVideoWindow(lib, 0, 0, 640, 480, 1);
}

void SetStandardWindows(Library& lib) {
  BoardSettings& s = lib.Settings();
  const bool large = s.video.standard != 0;
  const int width = large ? 760 : 640;
  const int height = large ? 570 : 480;
  s.geometry.input = {0, 0, width, height};
  s.geometry.window.width = width;
  s.geometry.window.height = height;
  s.geometry.fullWidth = width;
  s.geometry.fullHeight = height;
}

std::int32_t SetInputOffset(Library& lib, std::int32_t x, std::int32_t y) {
  if (!lib.Live().Located()) return kFail;
  lib.Settings().geometry.input.x = x;
  lib.Settings().geometry.input.y = y;
  return StatusOf(ApplyAcquisition(lib));
}

std::int32_t SetInputWindow(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height) {
  if (!lib.Live().Located()) return kFail;
  lib.Settings().geometry.input = {x, y, AtLeastFour(width), AtLeastFour(height)};
  return StatusOf(ApplyAcquisition(lib));
}

std::int32_t SetAcqRect(Library& lib, std::int32_t xDelay, std::int32_t yDelay, std::int32_t width,
                        std::int32_t height) {
  if (!lib.Live().Located()) return kFail;
  BoardSettings& s = lib.Settings();
  s.xDelay = xDelay & 0x7FF;
  s.yDelay = yDelay & 0x7FF;
  s.geometry.input.width = AtLeastFour(width);
  s.geometry.input.height = AtLeastFour(height);
  return StatusOf(ApplyAcquisition(lib));
}

std::int32_t SetXYDelay(Library& lib, std::int32_t xDelay, std::int32_t yDelay) {
  if (!lib.Live().Located()) return kFail;
  lib.Settings().xDelay = xDelay & 0x7FF;
  lib.Settings().yDelay = yDelay & 0x7FF;
  return StatusOf(ApplyAcquisition(lib));
}

std::int32_t GetVideoRect(Library& lib, std::int32_t selector, std::int16_t* x, std::int16_t* y,
                          std::int16_t* width, std::int16_t* height) {
  if (selector < 0 || selector > 2 || !x || !y || !width || !height) return kFail;
  const BoardSettings& s = lib.Settings();
  const Rect16 r = selector == 0   ? Rect16{s.xDelay, s.yDelay, s.geometry.input.width, s.geometry.input.height}
                   : selector == 1 ? s.geometry.input
                                   : s.geometry.window;
  *x = static_cast<std::int16_t>(r.x);
  *y = static_cast<std::int16_t>(r.y);
  *width = static_cast<std::int16_t>(r.width);
  *height = static_cast<std::int16_t>(r.height);
  return kOk;
}

std::int32_t SetVideoWindow(Library& lib, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, std::int32_t limit) {
  BoardState& board = lib.Live();
  BoardSettings& s = board.settings;
  if (!board.Located() || !s.frame.ini.onscreen) return kFail;
  if (board.resources.session->Device().FrameBuffer().linear == nullptr) return kFail;
  const int bpp = BytesPerPixel(s.displayBits);
  const int align = bpp == 2 ? 2 : 4;
  Rect16 window{x - ((x % align) + align) % align, y, AtLeastFour(width) / align * align, AtLeastFour(height)};
  window.width = std::max(window.width, 4);
  // The window must lie on the display, or DMA would leave the frame buffer.
  if (window.x < 0 || window.y < 0 || window.x + window.width > lib.Display().Width() ||
      window.y + window.height > lib.Display().Height()) {
    return kFail;
  }
  const bool stopOffscreen = s.geometry.offscreen && LiveRunning(lib);
  if (stopOffscreen) VideoLive(lib, 0, 3);
  // Back on the display, the video is in the display's colour space again.
  if (s.geometry.offscreen) s.colourSpaceBits = s.displayBits;
  // A scale that cannot be made fails, but the window stays stored, so that a following
  // call can make it fit.
  s.geometry.offscreen = false;
  s.geometry.window = window;
  s.geometry.limitFlag = limit != 0;
  const bool ok = ApplyAcquisition(lib);
  if (stopOffscreen) VideoLive(lib, 1, 3);
  return StatusOf(ok);
}

std::int32_t VideoOffscreen(Library& lib, std::int32_t width, std::int32_t height, std::int32_t bits,
                            std::int32_t limit) {
  BoardState& board = lib.Live();
  BoardSettings& s = board.settings;
  if (!board.Located() || !s.frame.ini.offscreen) return kFail;
  const int outBits = OutputBits(bits);
  const int bpp = BytesPerPixel(outBits);
  const int align = bpp >= 3 ? 2 : 4;
  const int w = std::max(AtLeastFour(width) / align * align, 4);
  const int h = AtLeastFour(height);
  // The target is the locked caller buffer when there is one, else the driver's buffer.
  const std::int64_t needed = std::int64_t{s.dmaOffset} + std::int64_t{bpp} * w * h;
  if (needed > board.resources.dmaTarget.size) return kFail;
  LivePause pause(lib);
  s.geometry.offscreen = true;
  s.geometry.window = {0, 0, w, h};
  s.geometry.limitFlag = limit != 0;
  s.colourSpaceBits = outBits;
  return StatusOf(ApplyAcquisition(lib));
}

std::int32_t SetColorSpace(Library& lib, std::int32_t inputFormat, std::int32_t outputFormat) {
  if (!lib.Live().Located()) return kFail;
  BoardSettings& s = lib.Settings();
  if (inputFormat != -1) s.geometry.inputFormat = inputFormat;
  if (outputFormat == -1) return kOk;
  const int before = s.colourSpaceBits;
  s.colourSpaceBits = OutputBits(outputFormat);
  // A new pixel size changes the off-screen layout, so it is applied and checked.
  if (s.geometry.dmaBaseSet && s.geometry.offscreen && !ApplyAcquisition(lib)) {
    s.colourSpaceBits = before;
    ApplyAcquisition(lib);
    return kFail;
  }
  WriteFormatWord(lib);
  return kOk;
}

bool LiveRunning(Library& lib) { return lib.Settings().liveState != 0; }

std::int32_t VideoLive(Library& lib, std::int32_t state, std::int32_t flags) {
  if (!lib.Live().Located()) return kFail;
  BoardSettings& s = lib.Settings();
  // With an auto-window the wanted state is kept; video starts only where it shows.
  const bool allowed = AutoWindowAllowsLive(lib, state != 0);
  if (state != 0) {
    if (allowed && StartTransfer(lib, flags) != kOk) return kFail;
  } else {
    const bool refresh = (flags & 0x8000) == 0;
    const bool hadFrame = TransferOn(lib);
    BeforeVideoStops(lib, refresh);
    StopTransfer(lib);
    AfterVideoStopped(lib, refresh, hadFrame);
  }
  s.liveState = state != 0 ? 1 : 0;
  return kOk;
}

std::int32_t SetDmaOffset(Library& lib, int which, std::int32_t offset) {
  if (!lib.Live().Located()) return kFail;
  BoardSettings& s = lib.Settings();
  std::int32_t& slot = which == 2 ? s.dmaOffset2 : s.dmaOffset;
  const std::int32_t before = slot;
  slot = offset;
  if (!s.geometry.offscreen) return kOk;  // offsets only move off-screen frames
  LivePause pause(lib);
  if (!ApplyAcquisition(lib)) {
    slot = before;
    ApplyAcquisition(lib);
    return kFail;
  }
  return kOk;
}

namespace {

// Locks the record's buffer as the DMA target and unlocks the previous caller buffer,
// or with `lock` false unlocks the record's buffer and goes back to the driver's. Only
// the locked buffer can be unlocked: any other fails before anything changes. The frame
// must fit the new target: a lock it does not fit is undone and the old target stays.
// An unlocked buffer cannot stay, so then video stays stopped and no layout is left to
// start DMA with.
std::int32_t ChangeDmaTarget(Library& lib, const KR_CaptureRecord& record, bool lock) {
  BoardResources& res = lib.Live().resources;
  auto* previous = TargetLock(res);
  if (!lock && (previous == nullptr || (*previous)->buffer != record.buffer)) return kFail;
  // DMA must not run through a page table while its pages change hands.
  LivePause pause(lib);
  if (lock) {
    auto* fresh = LockDmaTarget(lib, record.buffer, record.size);
    if (fresh == nullptr) return kFail;
    if (!ApplyAcquisition(lib)) {
      ReleaseLock(res, *fresh);
      RestoreDmaTarget(res, previous != nullptr ? &**previous : nullptr);
      return kFail;
    }
    if (previous != nullptr) ReleaseLock(res, *previous);
    return kOk;
  }
  ReleaseLock(res, *previous);
  RestoreDmaTarget(res, nullptr);
  if (ApplyAcquisition(lib)) return kOk;
  lib.Settings().geometry.dmaBaseSet = false;
  return kFail;
}

}  // namespace

std::int32_t VideoCaptureMem(Library& lib, KR_CaptureRecord* record, std::int32_t flags) {
  BoardState& board = lib.Live();
  if (record == nullptr || !board.Located()) return kFail;
  BoardResources& res = board.resources;
  if ((flags & (0x20000 | 0x40000)) && ChangeDmaTarget(lib, *record, (flags & 0x20000) != 0) != kOk) {
    return kFail;
  }
  if ((flags & 0x80000) && SetDmaOffset(lib, 1, record->dmaOffset) != kOk) return kFail;
  if ((flags & 0x100000) && SetDmaOffset(lib, 2, record->dmaOffset2) != kOk) return kFail;
  if (flags & 0x10000) {
    const BoardSettings& s = board.settings;
    const MemoryRegion frame = res.session->Device().FrameBuffer();
    const auto layout = LayoutFor(lib, s.misc.channel);
    record->buffer = res.dmaTarget.linear;
    record->size = res.dmaTarget.size;
    record->dmaOffset = s.dmaOffset;
    record->dmaOffset2 = s.dmaOffset2;
    record->physical = res.dmaTarget.physical;
    record->frameBytes = layout ? static_cast<std::int32_t>(layout->frameBytes) : 0;
    record->displayLinear = frame.linear;
    record->displaySize = 0x400000;
    record->displayPhysical = frame.physical;
    const DmaArea* area = res.session->Dma();
    record->maskArea = area != nullptr ? area->Base() + kHardwareMaskAt : nullptr;
  }
  return kOk;
}

}  // namespace orvale::korrin
