#include "cards/korrin/display/AutoWindow.h"

#include <algorithm>
#include <cstring>

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/session/BoardCallbacks.h"
#include "cards/korrin/display/DisplayMemory.h"
#include "cards/korrin/interrupts/FieldWait.h"
#include "cards/korrin/display/Masks.h"
#include "cards/korrin/display/OverlayMarker.h"
#include "cards/korrin/display/Palettes.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/VideoWindow.h"
#include "cards/korrin/display/Windows.h"
#include "cards/korrin/image/PixelConvert.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Region.h"

namespace orvale::korrin {

template <>
void ResourceDeleter<AutoWindow>::operator()(AutoWindow* window) const {
  delete window;
}

AutoWindow::AutoWindow(TrackedWindow& w, std::uint32_t f, const int m[4], int b)
    : window(&w), thread(w.Thread()), board(b), flags(f) {
  std::copy(m, m + 4, margins);
}

AutoWindow::~AutoWindow() {
  if (ownHook != 0) TrackedWindow::Unhook(ownHook);
  if (clipWatch != 0 && TrackedWindow::Find(window) != nullptr) window->StopWatchingClip(clipWatch);
}

namespace {

constexpr std::uint32_t kSourceCopy = 0x00CC0020;
constexpr std::uint32_t kWmTimer = 0x113;
constexpr std::uint32_t kTrackingDelayMs = 1000;

AutoWindow* Tracked(Library& lib) { return lib.Live().resources.autoWindow.get(); }

gdi::Rect DisplayRect(Library& lib) { return {0, 0, lib.Display().Width(), lib.Display().Height()}; }

// Window client coordinates of a point of the overlay.
gdi::Point ClientOffset(const AutoWindow& aw) {
  const gdi::Rect client = aw.window->ClientOnScreen();
  return {aw.overlay.left - client.left, aw.overlay.top - client.top};
}

void Pause(Library& lib) {
  if (TransferOn(lib)) StopTransfer(lib);
}

// The visible parts of the overlay on the display. Without the clip-list functions the
// whole overlay shows while the window is shown.
std::vector<gdi::Rect> VisibleParts(Library& lib, const AutoWindow& aw) {
  const gdi::Rect area = gdi::Intersect(aw.overlay, DisplayRect(lib));
  std::vector<gdi::Rect> visible;
  if (aw.flags & autoflag::kNoClipList) {
    if (!area.IsEmpty() && aw.window->Shown() && !aw.window->Minimized()) visible.push_back(area);
    return visible;
  }
  for (const gdi::Rect& r : aw.window->VisibleRects()) {
    const gdi::Rect part = gdi::Intersect(r, area);
    if (!part.IsEmpty()) visible.push_back(part);
  }
  return visible;
}

// Marks the pixels of `r` (overlay coordinates) hidden or shown in the software mask.
void MarkMask(std::vector<std::uint8_t>& mask, int rows, const gdi::Rect& r, bool hidden) {
  const gdi::Rect clipped = gdi::Intersect(r, {0, 0, kMaskWidth, rows});
  for (int y = clipped.top; y < clipped.bottom; ++y) {
    std::uint8_t* row = mask.data() + static_cast<std::size_t>(y) * kMaskRowBytes;
    for (int x = clipped.left; x < clipped.right; ++x) {
      const auto bit = static_cast<std::uint8_t>(1u << (x % 8));
      row[x / 8] = hidden ? row[x / 8] | bit : row[x / 8] & ~bit;
    }
  }
}

// The clip mask from the visible parts, the caller's mask overlay and the marker, loaded
// for channel 2. One mask row per window row: per field the window holds one field's
// lines, per frame both fields' interleaved.
void LoadMask(Library& lib) {
  AutoWindow& aw = *Tracked(lib);
  BoardSettings& s = lib.Settings();
  if (!(aw.flags & autoflag::kMask) || !lib.Live().Located()) return;
  const int rows = MaskRows(s);
  std::fill(aw.mask.begin(), aw.mask.end(), 0xFF);
  for (const gdi::Rect& r : aw.clipList) {
    MarkMask(aw.mask, rows, {r.left - aw.overlay.left, r.top - aw.overlay.top, r.right - aw.overlay.left,
                             r.bottom - aw.overlay.top},
             false);
  }
  if (s.maskOverlay != 0) {
    const auto* extra = reinterpret_cast<const std::uint8_t*>(s.maskOverlay);
    for (std::size_t i = 0; i < static_cast<std::size_t>(rows) * kMaskRowBytes; ++i) aw.mask[i] |= extra[i];
  }
  for (const gdi::Rect& r : MarkerRects(s.marker, s.misc.markerLineWidth)) MarkMask(aw.mask, rows, r, true);
  EnableVideoMask(lib, 1);
  SetVideoMask(lib, 0, 0, kMaskWidth, rows, kMaskRowBytes, reinterpret_cast<std::intptr_t>(aw.mask.data()));
}

// The marker in the colour key (given as 0x00RRGGBB) on the window.
void DrawMarker(Library& lib) {
  AutoWindow& aw = *Tracked(lib);
  const BoardSettings& s = lib.Settings();
  gdi::DeviceContext* dc = aw.window->Dc();
  const auto rects = MarkerRects(s.marker, s.misc.markerLineWidth);
  if (dc == nullptr || rects.empty()) return;
  const std::uint32_t key = s.misc.colourKey;
  const gdi::Brush brush =
      gdi::CreateSolidBrush(((key >> 16) & 0xFF) | (key & 0xFF00) | ((key & 0xFF) << 16));
  const gdi::Point at = ClientOffset(aw);
  for (const gdi::Rect& r : rects) dc->FillRect({r.left + at.x, r.top + at.y, r.right + at.x, r.bottom + at.y}, brush);
}

// The video's part of the screen (or the off-screen frame) into the last-frame bitmap.
void CopyLastFrame(Library& lib) {
  AutoWindow& aw = *Tracked(lib);
  const VideoGeometry& g = lib.Settings().geometry;
  if (aw.lastFrame.empty()) return;
  const gdi::Rect r = g.offscreen ? gdi::Rect{0, 0, g.window.width, g.window.height} : aw.overlay;
  const int width = r.Width() - r.Width() % 4;
  if (width < 4 || r.Height() <= 0 || DibSize(width, r.Height(), false) > aw.lastFrame.size()) return;
  const std::int32_t from = g.offscreen ? dibflag::kDmaTarget : 0;
  if (ScreenToDib(lib, r.left, r.top, width, r.Height(), from, aw.lastFrame.data()) != kOk) return;
  aw.lastFrameWidth = width;
  aw.lastFrameHeight = r.Height();
}

// Shows the last-frame bitmap where the video was.
void DrawLastFrame(Library& lib) {
  AutoWindow& aw = *Tracked(lib);
  gdi::DeviceContext* dc = aw.window->Dc();
  if (dc == nullptr || aw.lastFrameWidth == 0) return;
  gdi::BitmapInfo info;
  info.header.biWidth = aw.lastFrameWidth;
  info.header.biHeight = aw.lastFrameHeight;
  info.header.biBitCount = 24;
  const std::span<const std::uint8_t> bits(aw.lastFrame.data() + gdi::kBitmapInfoHeaderSize,
                                           static_cast<std::size_t>(aw.lastFrameWidth) * 3 * aw.lastFrameHeight);
  const gdi::Point at = ClientOffset(aw);
  dc->StretchDIBits(at.x, at.y, aw.lastFrameWidth, aw.lastFrameHeight, 0, 0, aw.lastFrameWidth, aw.lastFrameHeight,
                    bits, info, gdi::DIB_RGB_COLORS, kSourceCopy);
}

// Reads the visible parts. When they changed (or `force`), the mask is rebuilt and the
// marker drawn again; a hidden overlay stops the transfer and may show the last frame.
void RebuildClipState(Library& lib, bool force) {
  AutoWindow& aw = *Tracked(lib);
  const std::vector<gdi::Rect> visible = VisibleParts(lib, aw);
  const bool changed = !aw.clipKnown || visible != aw.clipList;
  aw.clipList.assign(visible.begin(), visible.end());
  aw.clipKnown = true;
  aw.overlayVisible = !visible.empty();
  if (changed || force) {
    LoadMask(lib);
    if (aw.overlayVisible) DrawMarker(lib);
  }
  if (!aw.overlayVisible && TransferOn(lib)) {
    StopTransfer(lib);
    if (aw.flags & autoflag::kLastFrame) DrawLastFrame(lib);
  }
}

// The clip state again, and live video back when nothing hides it.
void Refresh(Library& lib, bool force = false) {
  AutoWindow& aw = *Tracked(lib);
  RebuildClipState(lib, force);
  if (aw.hiding == 0 && aw.overlayVisible && aw.desiredLive && !TransferOn(lib)) StartTransfer(lib, 3);
}

void SetReason(Library& lib, std::uint32_t reason, bool on) {
  AutoWindow& aw = *Tracked(lib);
  if (on) {
    aw.hiding |= reason;
    Pause(lib);
  } else {
    aw.hiding &= ~reason;
    Refresh(lib);
  }
}

// With flag 0x40 the part of the old overlay the new one leaves is painted over.
void PaintUncovered(Library& lib, const gdi::Rect& before, const gdi::Rect& after) {
  AutoWindow& aw = *Tracked(lib);
  gdi::DeviceContext* dc = aw.window->Dc();
  if (dc == nullptr || before.IsEmpty()) return;
  const gdi::Rect client = aw.window->ClientOnScreen();
  const gdi::Region left =
      gdi::Region::Combine(gdi::Region::FromRect(before), gdi::Region::FromRect(after), gdi::RGN_DIFF);
  const gdi::Brush brush = gdi::CreateSolidBrush(aw.window->BackgroundColour());
  for (const gdi::Rect& r : left.Rects()) {
    dc->FillRect({r.left - client.left, r.top - client.top, r.right - client.left, r.bottom - client.top}, brush);
  }
}

// Recomputes the overlay from the window and moves the video there; true when it moved.
bool PlaceVideo(Library& lib) {
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
  if (overlay == aw.overlay) return false;
  if (aw.flags & autoflag::kPaintOld) PaintUncovered(lib, aw.overlay, overlay);
  aw.overlay = overlay;
  if (!empty && !offScreen && lib.Live().Located()) {
    if (s.geometry.offscreen) {
      VideoOffscreen(lib, overlay.Width(), overlay.Height(), s.colourSpaceBits, 1);
    } else {
      SetVideoWindow(lib, overlay.left, overlay.top, overlay.Width(), overlay.Height(), 1);
    }
  }
  return true;
}

void StartTrackingTimer(Library& lib) {
  AutoWindow& aw = *Tracked(lib);
  const KR_TimerProc proc = lib.TrackingTimerCallback();
  if (aw.trackingTimer != 0 || proc == nullptr) return;
  const KR_Window handle = aw.window;
  aw.trackingTimer = lib.Timers().Start(kTrackingDelayMs, [proc, handle](TimerId id) { proc(handle, kWmTimer, id, 0); });
}

// The clip watch: the visible parts are changing (video pauses) and then settled. With
// delayed tracking the rebuild waits for the tracking timer.
void OnClipNotification(Library& lib, ClipEvent event) {
  AutoWindow& aw = *Tracked(lib);
  if (event == ClipEvent::kChanged) Pause(lib);
  if (aw.flags & autoflag::kDelayed) {
    StartTrackingTimer(lib);
  } else if (event == ClipEvent::kChanged) {
    RebuildClipState(lib, false);
  } else {
    Refresh(lib);
  }
}

void HandleMessage(Library& lib, const KR_HookMessage& m) {
  AutoWindow& aw = *Tracked(lib);
  const bool on = m.wParam != 0;
  switch (static_cast<WindowMessage>(m.message)) {
    case WindowMessage::kDestroy:
      AutoWindowDetach(lib);
      return;
    case WindowMessage::kActivate:
      if (on || !(aw.flags & autoflag::kKeepOnDeactivate)) SetReason(lib, hiding::kOtherActive, !on);
      return;
    case WindowMessage::kShowWindow:
      SetReason(lib, hiding::kHidden, !on);
      return;
    case WindowMessage::kActivateApp:
      if (on) {
        SetReason(lib, hiding::kAppInactive, false);
      } else if (!(aw.flags & autoflag::kKeepOnAppDeactivate)) {
        const bool already = (aw.hiding & hiding::kAppInactive) != 0;
        const bool hadFrame = TransferOn(lib);
        Pause(lib);
        if (!already && !(aw.flags & autoflag::kTopmost)) {
          // The screen keeps the last video frame; it is kept in the bitmap, the screen
          // painted again, and the bitmap shown in the video's place.
          const bool lastFrame = (aw.flags & autoflag::kLastFrame) != 0;
          if (lastFrame && aw.desiredLive && hadFrame) CopyLastFrame(lib);
          aw.window->Repaint();
          if (lastFrame) DrawLastFrame(lib);
        }
        aw.hiding |= hiding::kAppInactive;
      }
      return;
    case WindowMessage::kPosChanging:
      if (on) Pause(lib);
      return;
    case WindowMessage::kPosChanged: {
      Pause(lib);
      const bool moved = PlaceVideo(lib);
      Refresh(lib, moved);
      return;
    }
    case WindowMessage::kInitMenu:
    case WindowMessage::kInitMenuPopup:
      SetReason(lib, hiding::kMenu, true);
      return;
    case WindowMessage::kMenuSelect:
      if (on) SetReason(lib, hiding::kMenu, false);
      return;
    case WindowMessage::kEnterIdle:
      Refresh(lib);
      return;
    case WindowMessage::kEnterSizeMove:
      aw.reference = aw.window->ClientOnScreen();
      aw.sizing = true;
      return;
    case WindowMessage::kExitSizeMove: {
      aw.sizing = false;
      const bool moved = PlaceVideo(lib);
      Refresh(lib, moved);
      return;
    }
  }
}

// Another window of the tracked window's thread: its activation and showing change what
// covers the video, its moves pause it, and the rest counts as the tracked window's.
void HandleOtherWindowMessage(Library& lib, const KR_HookMessage& m) {
  switch (static_cast<WindowMessage>(m.message)) {
    case WindowMessage::kActivate:
    case WindowMessage::kShowWindow:
      Pause(lib);
      Refresh(lib);
      return;
    case WindowMessage::kPosChanging:
      if (m.wParam != 0) Pause(lib);
      return;
    case WindowMessage::kDestroy:
      return;
    default:
      HandleMessage(lib, m);
      return;
  }
}

void HandleHookMessage(Library& lib, const KR_HookMessage& m) {
  AutoWindow* aw = Tracked(lib);
  if (aw == nullptr) return;
  if (m.window == aw->window) {
    HandleMessage(lib, m);
    return;
  }
  const TrackedWindow* other = FindWindow(m.window);
  if (other != nullptr && other->Thread() == aw->thread) HandleOtherWindowMessage(lib, m);
}

// The system's hook: a message record for the exported hook procedure.
TrackedWindow::Hook HookCalling(KR_HookProc proc) {
  return [proc](void* window, const WindowEvent& e) {
    KR_HookMessage message{e.otherThread ? 1 : 0, static_cast<std::uintptr_t>(e.flag ? 1 : 0),
                           static_cast<std::uint32_t>(e.message), window};
    proc(0, 0, reinterpret_cast<std::intptr_t>(&message));
  };
}

// One board hooks the window's thread itself; with several boards they share one hook
// per thread, which visits every board.
void InstallHook(Library& lib, AutoWindow& aw) {
  const KR_HookProc proc = lib.HookCallback(lib.BoardCount() > 0);
  if (proc == nullptr) return;  // nobody to deliver messages to
  if (lib.BoardCount() == 0) {
    aw.ownHook = TrackedWindow::HookThread(aw.thread, HookCalling(proc));
    return;
  }
  Library::SharedHook& shared = lib.sharedHooks[aw.thread];
  if (shared.users++ == 0) shared.id = TrackedWindow::HookThread(aw.thread, HookCalling(proc));
  aw.sharesHook = true;
}

void LeaveSharedHook(Library& lib, AutoWindow& aw) {
  if (!aw.sharesHook) return;
  aw.sharesHook = false;
  const auto it = lib.sharedHooks.find(aw.thread);
  if (it == lib.sharedHooks.end() || --it->second.users > 0) return;
  TrackedWindow::Unhook(it->second.id);
  lib.sharedHooks.erase(it);
}

void WatchClip(Library& lib, AutoWindow& aw) {
  if (aw.flags & (autoflag::kNoClipList | autoflag::kNoNotification)) return;
  Library* library = &lib;
  const int board = aw.board;
  const KR_Window handle = aw.window;
  aw.clipWatch = aw.window->WatchClip([library, board, handle](ClipEvent event) {
    RunForBoard(*library, board, [&] {
      const AutoWindow* tracked = Tracked(*library);
      if (tracked != nullptr && tracked->window == handle) OnClipNotification(*library, event);
    });
  });
}

}  // namespace

std::int32_t AutoWindowAttach(Library& lib, KR_Window handle, std::int32_t left, std::int32_t top,
                              std::int32_t right, std::int32_t bottom, std::uint32_t flags) {
  // Video the old window paused for comes back; the new window may pause it again.
  const bool wanted = Tracked(lib) != nullptr && Tracked(lib)->desiredLive;
  AutoWindowDetach(lib);
  if (wanted && lib.Live().Located()) VideoLive(lib, 1, 3);
  if (handle == nullptr) return 0;
  TrackedWindow* window = FindWindow(handle);
  if (window == nullptr || !lib.Live().Located()) return kFail;
  const int margins[4] = {left, top, right, bottom};
  auto aw = std::make_unique<AutoWindow>(*window, flags, margins, CallbackBoard(lib));
  try {
    if (lib.allocationFails) throw std::bad_alloc();
    aw->clipList.reserve(kClipBufferBytes / sizeof(gdi::Rect));
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
  // Another window active, perhaps another program's.
  if (!window->Active() && !(flags & autoflag::kKeepOnDeactivate)) aw->hiding |= hiding::kOtherActive;
  if (!window->AppActive() && !(flags & autoflag::kKeepOnAppDeactivate)) aw->hiding |= hiding::kAppInactive;
  lib.Live().resources.autoWindow.reset(aw.release());
  AutoWindow& tracked = *Tracked(lib);
  WatchClip(lib, tracked);
  // Messages reach the library as the system would deliver them: through the exported
  // hook, which finds the boards that track a window of the thread.
  InstallHook(lib, tracked);
  PlaceVideo(lib);
  if (tracked.hiding != 0) Pause(lib);
  RebuildClipState(lib, true);
  return (flags & autoflag::kNoClipList) ? 2 : 1;
}

void AutoWindowDetach(Library& lib) {
  BoardResources& res = lib.Live().resources;
  if (!res.autoWindow) return;
  AutoWindow& aw = *res.autoWindow;
  if (aw.trackingTimer != 0) lib.Timers().Kill(aw.trackingTimer);
  LeaveSharedHook(lib, aw);
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
  if (!everyBoard || lib.BoardCount() == 0) {
    HandleHookMessage(lib, message);
    return;
  }
  for (int i = 0; i < lib.BoardCount(); ++i) {
    const bool live = i == lib.CurrentBoard();
    if (live ? !Tracked(lib) : !lib.Copies()[i]->resources.autoWindow) continue;
    WithBoardLive(lib, i, [&] { HandleHookMessage(lib, message); });
  }
}

void OnTrackingTimer(Library& lib, KR_Window window) {
  auto tracks = [window](const BoardState& b) {
    return b.resources.autoWindow && b.resources.autoWindow->window == window;
  };
  auto fire = [&] {
    AutoWindow& aw = *Tracked(lib);
    lib.Timers().Kill(aw.trackingTimer);
    aw.trackingTimer = 0;
    Refresh(lib);
  };
  if (tracks(lib.Live())) {
    fire();
    return;
  }
  for (int i = 0; i < lib.BoardCount(); ++i) {
    if (i != lib.CurrentBoard() && tracks(*lib.Copies()[i])) {
      WithBoardLive(lib, i, fire);
      return;
    }
  }
}

bool AutoWindowAllowsLive(Library& lib, bool on) {
  AutoWindow* aw = Tracked(lib);
  if (aw == nullptr) return true;
  aw->desiredLive = on;
  if (!on) return true;
  if ((aw->flags & autoflag::kMask) && !lib.Settings().geometry.offscreen) RebuildClipState(lib, true);
  return aw->overlayVisible && aw->hiding == 0;
}

void BeforeVideoStops(Library& lib, bool refresh) {
  AutoWindow* aw = Tracked(lib);
  OverlayMarker& marker = lib.Settings().marker;
  if (aw == nullptr || !refresh || !(aw->flags & autoflag::kLastFrame) || !marker.shown) return;
  aw->savedMarker = marker;
  marker.shown = false;
  LoadMask(lib);
  // Two fields of video over the marker's place.
  if (TransferOn(lib)) {
    WaitForField(lib, kNextField);
    WaitForField(lib, kNextField);
  }
}

void AfterVideoStopped(Library& lib, bool refresh, bool hadFrame) {
  AutoWindow* aw = Tracked(lib);
  if (aw == nullptr) return;
  aw->desiredLive = false;
  if (!refresh || !(aw->flags & autoflag::kLastFrame)) return;
  if (hadFrame) CopyLastFrame(lib);
  if (aw->savedMarker) {
    lib.Settings().marker = *aw->savedMarker;
    aw->savedMarker.reset();
    OverlayMarkerChanged(lib);
  }
}

void RebuildAutoWindowClip(Library& lib, bool force) {
  if (Tracked(lib) != nullptr) Refresh(lib, force);
}

void OverlayMarkerChanged(Library& lib) {
  AutoWindow* aw = Tracked(lib);
  if (aw == nullptr) return;
  // A removed marker leaves its drawing on the window until the window is painted again.
  if (!lib.Settings().marker.shown) aw->window->Repaint();
  RebuildClipState(lib, true);
}

void MaskOverlayChanged(Library& lib) {
  AutoWindow* aw = Tracked(lib);
  if (aw == nullptr) return;
  PlaceVideo(lib);
  Refresh(lib, true);
  if (lib.Settings().misc.noRepaint == 0) aw->window->Repaint();
}

}  // namespace orvale::korrin
