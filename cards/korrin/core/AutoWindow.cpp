#include "cards/korrin/core/AutoWindow.h"

#include <algorithm>
#include <cstring>

#include "cards/korrin/core/Acquisition.h"
#include "cards/korrin/core/BoardFrame.h"
#include "cards/korrin/core/DisplayMemory.h"
#include "cards/korrin/core/Masks.h"
#include "cards/korrin/core/Palettes.h"
#include "cards/korrin/core/Status.h"
#include "cards/korrin/core/VideoWindow.h"
#include "cards/korrin/core/Windows.h"
#include "cards/korrin/image/PixelConvert.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"

namespace orvale::korrin {

template <>
void ResourceDeleter<AutoWindow>::operator()(AutoWindow* window) const {
  delete window;
}

AutoWindow::AutoWindow(TrackedWindow& w, std::uint32_t f, const int m[4]) : window(&w), flags(f) {
  std::copy(m, m + 4, margins);
}

AutoWindow::~AutoWindow() {
  // A window being destroyed has left the live set and needs no unhooking.
  if (TrackedWindow::Find(window) != nullptr && listener != 0) window->StopListening(listener);
}

namespace {

constexpr std::uint32_t kSourceCopy = 0x00CC0020;

AutoWindow* Tracked(Library& lib) { return lib.Live().resources.autoWindow.get(); }

gdi::Rect DisplayRect(Library& lib) { return {0, 0, lib.Display().Width(), lib.Display().Height()}; }

void Pause(Library& lib) {
  if (TransferOn(lib)) StopTransfer(lib);
}

// The visible parts of the overlay, clipped to the display, decide whether video shows
// and, with the mask flag, which parts of it.
void RebuildClipState(Library& lib) {
  AutoWindow& aw = *Tracked(lib);
  BoardSettings& s = lib.Settings();
  std::vector<gdi::Rect> visible;
  const gdi::Rect area = gdi::Intersect(aw.overlay, DisplayRect(lib));
  if (!(aw.flags & autoflag::kNoClipList)) {
    for (const gdi::Rect& r : aw.window->VisibleRects()) {
      const gdi::Rect part = gdi::Intersect(r, area);
      if (!part.IsEmpty()) visible.push_back(part);
    }
  } else if (!area.IsEmpty() && aw.window->Shown()) {
    visible.push_back(area);
  }
  aw.overlayVisible = !visible.empty();
  if ((aw.flags & autoflag::kMask) && lib.Live().Located()) {
    // One mask row per window row: per field the window holds one field's lines, per
    // frame both fields' interleaved.
    const int rows = MaskRows(s);
    std::fill(aw.mask.begin(), aw.mask.end(), 0xFF);
    for (const gdi::Rect& r : visible) {
      for (int y = r.top - aw.overlay.top; y < r.bottom - aw.overlay.top; ++y) {
        const int row = y;
        if (row < 0 || row >= rows) continue;
        for (int x = r.left - aw.overlay.left; x < r.right - aw.overlay.left && x < kMaskWidth; ++x) {
          if (x >= 0) aw.mask[row * kMaskRowBytes + x / 8] &= static_cast<std::uint8_t>(~(1u << (x % 8)));
        }
      }
    }
    if (s.maskOverlay != 0) {
      const auto* extra = reinterpret_cast<const std::uint8_t*>(s.maskOverlay);
      for (std::size_t i = 0; i < static_cast<std::size_t>(rows) * kMaskRowBytes; ++i) aw.mask[i] |= extra[i];
    }
    EnableVideoMask(lib, 1);
    SetVideoMask(lib, 0, 0, kMaskWidth, rows, kMaskRowBytes, reinterpret_cast<std::intptr_t>(aw.mask.data()));
  }
}

// Copies the video into the last-frame bitmap and shows it in the window.
void ShowLastFrame(Library& lib) {
  AutoWindow& aw = *Tracked(lib);
  if (!(aw.flags & autoflag::kLastFrame) || aw.lastFrame.empty()) return;
  const gdi::Rect r = aw.overlay;
  const int width = r.Width() - r.Width() % 4;
  if (width < 4 || r.Height() <= 0 || DibSize(width, r.Height(), false) > aw.lastFrame.size()) return;
  if (ScreenToDib(lib, r.left, r.top, width, r.Height(), 0, aw.lastFrame.data()) != kOk) return;
  if (gdi::DeviceContext* dc = aw.window->Dc()) {
    gdi::BitmapInfo info;
    info.header.biWidth = width;
    info.header.biHeight = r.Height();
    info.header.biBitCount = 24;
    const gdi::Rect client = aw.window->ClientOnScreen();
    const std::span<const std::uint8_t> bits(aw.lastFrame.data() + gdi::kBitmapInfoHeaderSize,
                                             static_cast<std::size_t>(width) * 3 * r.Height());
    dc->StretchDIBits(r.left - client.left, r.top - client.top, width, r.Height(), 0, 0, width, r.Height(), bits,
                      info, gdi::DIB_RGB_COLORS, kSourceCopy);
  }
}

void Resume(Library& lib) {
  AutoWindow& aw = *Tracked(lib);
  RebuildClipState(lib);
  if (aw.hiding == 0 && aw.overlayVisible && aw.desiredLive && !TransferOn(lib)) StartTransfer(lib, 3);
  if (!aw.overlayVisible) Pause(lib);
}

void SetReason(Library& lib, std::uint32_t reason, bool on) {
  AutoWindow& aw = *Tracked(lib);
  const std::uint32_t before = aw.hiding;
  aw.hiding = on ? aw.hiding | reason : aw.hiding & ~reason;
  if (aw.hiding != 0) {
    Pause(lib);
  } else if (before != 0) {
    Resume(lib);
  }
}

// Recomputes the overlay from the window and moves the video there.
void PlaceVideo(Library& lib) {
  AutoWindow& aw = *Tracked(lib);
  BoardSettings& s = lib.Settings();
  const gdi::Rect client = aw.window->ClientOnScreen();
  OverlayInput in;
  in.client = aw.sizing ? aw.reference : client;
  std::copy(aw.margins, aw.margins + 4, in.margins);
  in.flags = aw.flags;
  in.current = aw.overlay;
  in.bytesPerPixel = BytesPerPixel(s.displayBits);
  in.maxWidth = s.geometry.fullWidth;
  in.maxHeight = s.geometry.fullHeight;
  const gdi::Rect overlay = ComputeOverlayRect(in);
  const bool empty = aw.window->Minimized() || client.IsEmpty() || overlay.IsEmpty();
  const gdi::Rect display = DisplayRect(lib);
  const bool offScreen = !empty && (overlay.left < 0 || overlay.top < 0 || overlay.right > display.right ||
                                    overlay.bottom > display.bottom);
  aw.hiding = (aw.hiding & ~(hiding::kEmpty | hiding::kOffScreen)) | (empty ? hiding::kEmpty : 0) |
              (offScreen ? hiding::kOffScreen : 0);
  if (overlay.left != aw.overlay.left || overlay.top != aw.overlay.top || overlay.right != aw.overlay.right ||
      overlay.bottom != aw.overlay.bottom) {
    aw.overlay = overlay;
    if (!empty && !offScreen && lib.Live().Located()) {
      if (s.geometry.offscreen) {
        VideoOffscreen(lib, overlay.Width(), overlay.Height(), s.colourSpaceBits, 1);
      } else {
        SetVideoWindow(lib, overlay.left, overlay.top, overlay.Width(), overlay.Height(), 1);
      }
    }
  }
}

void HandleMessage(Library& lib, const KR_HookMessage& m) {
  AutoWindow& aw = *Tracked(lib);
  switch (static_cast<WindowMessage>(m.message)) {
    case WindowMessage::kDestroy:
      AutoWindowDetach(lib);
      return;
    case WindowMessage::kActivate:
      if (m.wParam != 0) {
        SetReason(lib, hiding::kOtherActive, false);
      } else if (!(aw.flags & autoflag::kKeepOnDeactivate)) {
        SetReason(lib, hiding::kOtherActive, true);
      }
      return;
    case WindowMessage::kShowWindow:
      SetReason(lib, hiding::kHidden, m.wParam == 0);
      return;
    case WindowMessage::kActivateApp:
      if (m.wParam != 0) {
        SetReason(lib, hiding::kAppInactive, false);
      } else if (!(aw.flags & autoflag::kKeepOnAppDeactivate)) {
        const bool already = (aw.hiding & hiding::kAppInactive) != 0;
        const bool wasLive = TransferOn(lib);
        Pause(lib);
        if (!already && !(aw.flags & autoflag::kTopmost) && wasLive) ShowLastFrame(lib);
        aw.hiding |= hiding::kAppInactive;
      }
      return;
    case WindowMessage::kPosChanging:
      if (m.wParam != 0) Pause(lib);
      return;
    case WindowMessage::kPosChanged: {
      Pause(lib);
      PlaceVideo(lib);
      if (aw.hiding != 0) return;
      // Delayed tracking rebuilds once things have settled, from a one-second timer.
      if ((aw.flags & autoflag::kDelayed) && lib.TrackingTimerCallback() != nullptr) {
        if (aw.trackingTimer == 0) {
          const KR_TimerProc proc = lib.TrackingTimerCallback();
          const KR_Window handle = m.window;
          aw.trackingTimer = lib.Timers().Start(1000, [proc, handle](TimerId id) { proc(handle, 0x113, id, 0); });
        }
        return;
      }
      Resume(lib);
      return;
    }
    case WindowMessage::kInitMenu:
    case WindowMessage::kInitMenuPopup:
      SetReason(lib, hiding::kMenu, true);
      return;
    case WindowMessage::kMenuSelect:
      if (m.wParam != 0) SetReason(lib, hiding::kMenu, false);
      return;
    case WindowMessage::kEnterIdle:
      if (aw.hiding == 0) Resume(lib);
      return;
    case WindowMessage::kEnterSizeMove:
      aw.reference = aw.window->ClientOnScreen();
      aw.sizing = true;
      return;
    case WindowMessage::kExitSizeMove:
      aw.sizing = false;
      PlaceVideo(lib);
      if (aw.hiding == 0) Resume(lib);
      return;
  }
}

}  // namespace

std::int32_t AutoWindowAttach(Library& lib, KR_Window handle, std::int32_t left, std::int32_t top,
                              std::int32_t right, std::int32_t bottom, std::uint32_t flags) {
  const bool wanted = Tracked(lib) != nullptr && Tracked(lib)->desiredLive;
  AutoWindowDetach(lib);
  if (handle == nullptr) {
    if (wanted && lib.Live().Located()) VideoLive(lib, 1, 3);
    return 0;
  }
  TrackedWindow* window = FindWindow(handle);
  if (window == nullptr || !lib.Live().Located()) return kFail;
  const int margins[4] = {left, top, right, bottom};
  auto aw = std::make_unique<AutoWindow>(*window, flags, margins);
  try {
    if (lib.allocationFails) throw std::bad_alloc();
    aw->clipList.resize(kClipBufferBytes);
    if (flags & autoflag::kMask) aw->mask.resize(kMaskBufferBytes);
    if (flags & autoflag::kLastFrame) {
      aw->lastFrame.resize(kLastFrameBytes);
      SetPalette(lib, 0, 0);
    }
  } catch (const std::bad_alloc&) {
    return kFail;
  }
  if (flags & autoflag::kTopmost) window->SetTopmost(true);
  aw->desiredLive = lib.Settings().liveState != 0;
  aw->hiding = window->Active() || (flags & autoflag::kKeepOnDeactivate) ? 0 : hiding::kOtherActive;
  lib.Live().resources.autoWindow.reset(aw.release());
  AutoWindow& tracked = *Tracked(lib);
  // Messages reach the library the way the system would deliver them: through the
  // exported hook, which finds the board that tracks the window.
  KR_HookProc hook = lib.HookCallback(lib.BoardCount() > 0);
  tracked.listener = window->Listen([hook, handle](const WindowEvent& e) {
    if (hook == nullptr) return;
    KR_HookMessage message{e.otherThread ? 1 : 0, static_cast<std::uintptr_t>(e.flag ? 1 : 0),
                           static_cast<std::uint32_t>(e.message), handle};
    hook(0, 0, reinterpret_cast<std::intptr_t>(&message));
  });
  PlaceVideo(lib);
  if (tracked.hiding != 0) Pause(lib);
  RebuildClipState(lib);
  if (!tracked.overlayVisible) Pause(lib);
  return (flags & autoflag::kNoClipList) ? 2 : 1;
}

void AutoWindowDetach(Library& lib) {
  BoardResources& res = lib.Live().resources;
  if (!res.autoWindow) return;
  AutoWindow& aw = *res.autoWindow;
  if (aw.trackingTimer != 0) lib.Timers().Kill(aw.trackingTimer);
  if (lib.Live().Located()) {
    Pause(lib);
    if (aw.flags & autoflag::kMask) EnableVideoMask(lib, 0);
  }
  res.autoWindow.reset();
}

std::int32_t AutoWindowInfo(Library& lib, KR_AutoWindowInfoRecord* info) {
  if (info == nullptr) return kFail;
  *info = KR_AutoWindowInfoRecord{};
  info->maskDelay = lib.Settings().frame.maskDelay;
  info->maskBytesPerRow = kMaskRowBytes;
  info->maskRows = MaskRows(lib.Settings());
  if (AutoWindow* aw = Tracked(lib)) {
    info->window = aw->window;
    info->maskBuffer = aw->mask.empty() ? nullptr : aw->mask.data();
    info->overlayVisible = aw->overlayVisible && aw->hiding == 0 ? 1 : 0;
    info->desiredLive = aw->desiredLive ? 1 : 0;
    info->lastFrameDib = aw->lastFrame.empty() ? nullptr : aw->lastFrame.data();
    info->watchHandle = (aw->flags & autoflag::kNoClipList) ? nullptr : aw->window;
  }
  return kOk;
}

void OnHookMessage(Library& lib, const KR_HookMessage& message, bool everyBoard) {
  auto tracks = [&](BoardState& b) {
    return b.resources.autoWindow && b.resources.autoWindow->window == message.window;
  };
  if (tracks(lib.Live())) {
    HandleMessage(lib, message);
  }
  if (!everyBoard) return;
  const int current = lib.CurrentBoard();
  for (int i = 0; i < lib.BoardCount(); ++i) {
    if (i == current || !tracks(*lib.Copies()[i])) continue;
    MultiBoard(lib, 2, i);
    HandleMessage(lib, message);
    MultiBoard(lib, 2, current);
  }
}

void OnTrackingTimer(Library& lib, KR_Window window) {
  AutoWindow* aw = Tracked(lib);
  if (aw == nullptr || aw->window != window) return;
  lib.Timers().Kill(aw->trackingTimer);
  aw->trackingTimer = 0;
  if (aw->hiding == 0) Resume(lib);
}

bool AutoWindowAllowsLive(Library& lib, bool on) {
  AutoWindow* aw = Tracked(lib);
  if (aw == nullptr) return true;
  aw->desiredLive = on;
  if (!on) return true;
  if ((aw->flags & autoflag::kMask) && !lib.Settings().geometry.offscreen) RebuildClipState(lib);
  return aw->overlayVisible && aw->hiding == 0;
}

}  // namespace orvale::korrin
