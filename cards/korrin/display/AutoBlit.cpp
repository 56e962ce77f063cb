#include "cards/korrin/display/AutoBlit.h"

#include <algorithm>

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/session/BoardCallbacks.h"
#include "cards/korrin/display/DisplayMemory.h"
#include "cards/korrin/display/Palettes.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/VideoWindow.h"
#include "cards/korrin/display/Windows.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"

namespace orvale::korrin {

template <>
void ResourceDeleter<AutoBlit>::operator()(AutoBlit* blit) const {
  delete blit;
}

namespace {

constexpr std::uint32_t kWmTimer = 0x113;
constexpr std::uint32_t kSourceCopy = 0x00CC0020;

AutoBlit* Blit(Library& lib) { return lib.Live().resources.autoBlit.get(); }
int BoardIndex(Library& lib) { return lib.BoardCount() > 0 ? lib.CurrentBoard() : 0; }

// This board leaves the shared timer; the timer goes when the last board has left.
void LeaveTimer(Library& lib) {
  auto& shared = lib.blitTimer;
  const int index = BoardIndex(lib);
  if (index >= 0 && index < kMaxBlitBoards) shared.boards[index] = false;
  if (AutoBlit* blit = Blit(lib)) blit->running = false;
  if (shared.id != 0 && std::none_of(shared.boards.begin(), shared.boards.end(), [](bool b) { return b; })) {
    lib.Timers().Kill(shared.id);
    shared.id = 0;
  }
}

bool JoinTimer(Library& lib, std::uint32_t period) {
  auto& shared = lib.blitTimer;
  const bool multi = lib.BoardCount() > 0;
  if (shared.id == 0) {
    const KR_TimerProc proc = lib.BlitTimerCallback(multi);
    if (proc == nullptr) return false;
    KR_Window window = Blit(lib)->window;
    shared.id = lib.Timers().Start(period, [proc, window](TimerId id) { proc(window, kWmTimer, id, 0); });
    if (shared.id == 0) return false;
  }
  shared.boards[BoardIndex(lib)] = true;
  Blit(lib)->running = true;
  return true;
}

// The off-screen frame sized to the window less the position and margins.
bool FitVideo(Library& lib, AutoBlit& blit, TrackedWindow& window) {
  const BoardSettings& s = lib.Settings();
  blit.client = window.ClientOnScreen();
  const int width = std::min(blit.client.Width() - blit.x - blit.right, s.geometry.fullWidth);
  const int height = std::min(blit.client.Height() - blit.y - blit.bottom, s.geometry.fullHeight);
  const int bits = (blit.flags & blitflag::kGrey) ? 8 : 24;
  VideoOffscreen(lib, width, height, bits, (blit.flags & blitflag::kNoLimit) ? 0 : 1);
  blit.frameWidth = s.geometry.window.width;
  blit.frameHeight = s.geometry.window.height;
  blit.copiedSinceChange = false;
  return true;
}

void Draw(Library& lib, AutoBlit& blit, TrackedWindow& window) {
  if (blit.dib.empty()) return;
  const bool grey = (blit.flags & blitflag::kGrey) != 0;
  const int width = blit.frameWidth - blit.frameWidth % 4;
  if (width < 4 || blit.frameHeight <= 0 || DibSize(width, blit.frameHeight, grey) > blit.dib.size()) return;
  const bool live = TransferOn(lib);
  if (live || !blit.copiedSinceChange) {
    if (live) StopTransfer(lib);
    ScreenToDib(lib, 0, 0, width, blit.frameHeight, dibflag::kDmaTarget | (grey ? dibflag::kGrey : 0),
                blit.dib.data());
    if (live) StartTransfer(lib, 3);
    blit.copiedSinceChange = true;
  }
  gdi::DeviceContext* dc = window.Dc();
  if (dc == nullptr) return;
  if (blit.flags & blitflag::kRealisePalette) SetPalette(lib, 5, reinterpret_cast<std::intptr_t>(dc));
  const std::size_t headerBytes = gdi::kBitmapInfoHeaderSize + (grey ? 1024 : 0);
  gdi::BitmapInfo info;
  info.header.biWidth = width;
  info.header.biHeight = blit.frameHeight;
  info.header.biBitCount = static_cast<std::uint16_t>(grey ? 8 : 24);
  if (grey) {
    for (int i = 0; i < 256; ++i) {
      info.colors[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), 0};
    }
  }
  const std::span<const std::uint8_t> bits(blit.dib.data() + headerBytes,
                                           static_cast<std::size_t>(width) * (grey ? 1 : 3) * blit.frameHeight);
  dc->StretchDIBits(blit.x, blit.y, width, blit.frameHeight, 0, 0, width, blit.frameHeight, bits, info,
                    gdi::DIB_RGB_COLORS, kSourceCopy);
}

void Tick(Library& lib) {
  AutoBlit* blit = Blit(lib);
  if (blit == nullptr || !blit->running) return;
  TrackedWindow* window = FindWindow(blit->window);
  if (window == nullptr) {
    // A destroyed window takes its auto-blit with it.
    StopAutoBlit(lib);
    return;
  }
  const gdi::Rect client = window->ClientOnScreen();
  if (client.Width() != blit->client.Width() || client.Height() != blit->client.Height()) {
    FitVideo(lib, *blit, *window);
    return;
  }
  Draw(lib, *blit, *window);
}

}  // namespace

std::int32_t AutoBlitSet(Library& lib, KR_Window window, std::int32_t periodOrCommand, std::int32_t x,
                         std::int32_t y, std::int32_t right, std::int32_t bottom, std::int32_t flags) {
  // One timer serves at most four boards.
  if (BoardIndex(lib) >= kMaxBlitBoards) return kFail;
  AutoBlit* blit = Blit(lib);
  if (periodOrCommand == -3) {
    if (blit == nullptr) return kOk;
    if (TrackedWindow* w = FindWindow(blit->window)) Draw(lib, *blit, *w);
    // Only what a suspend stopped starts again; a running timer runs on.
    if (blit->suspended) {
      blit->suspended = false;
      if (!JoinTimer(lib, static_cast<std::uint32_t>(blit->period))) return kFail;
    }
    return kOk;
  }
  const bool wasRunning = blit != nullptr && blit->running;
  LeaveTimer(lib);
  if (periodOrCommand == -2) {
    if (blit != nullptr && wasRunning) blit->suspended = true;
    return kOk;
  }
  if (window == nullptr) {
    StopAutoBlit(lib);
    return kOk;
  }
  TrackedWindow* tracked = FindWindow(window);
  if (tracked == nullptr || !lib.Live().Located()) return kFail;
  BoardResources& res = lib.Live().resources;
  if (!res.autoBlit) res.autoBlit.reset(new AutoBlit());
  blit = Blit(lib);
  if (((blit->flags ^ flags) & blitflag::kGrey) != 0) blit->dib.clear();
  const bool changed = blit->window != window || blit->period != periodOrCommand || blit->x != x ||
                       blit->y != y || blit->right != right || blit->bottom != bottom || blit->flags != flags;
  if (changed || blit->dib.empty()) {
    blit->window = window;
    blit->x = x;
    blit->y = y;
    blit->right = right;
    blit->bottom = bottom;
    blit->flags = flags;
    if (periodOrCommand >= 0) blit->period = periodOrCommand;
    FitVideo(lib, *blit, *tracked);
    try {
      if (lib.allocationFails) throw std::bad_alloc();
      blit->dib.assign((flags & blitflag::kGrey) ? kGreyBlitDib : kColourBlitDib, 0);
    } catch (const std::bad_alloc&) {
      blit->dib.clear();
      return kFail;
    }
  }
  if (periodOrCommand == -1) {
    Draw(lib, *blit, *tracked);
    return kOk;
  }
  if (periodOrCommand < 0) return kFail;
  return StatusOf(JoinTimer(lib, static_cast<std::uint32_t>(periodOrCommand)));
}

void OnBlitTimer(Library& lib, bool everyBoard) {
  if (!everyBoard || lib.BoardCount() == 0) {
    Tick(lib);
    return;
  }
  for (int i = 0; i < std::min(lib.BoardCount(), kMaxBlitBoards); ++i) {
    if (lib.blitTimer.boards[i]) WithBoardLive(lib, i, [&] { Tick(lib); });
  }
}

void StopAutoBlit(Library& lib) {
  LeaveTimer(lib);
  lib.Live().resources.autoBlit.reset();
}

}  // namespace orvale::korrin
