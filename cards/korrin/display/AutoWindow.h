#pragma once
// The auto-window: live video kept inside a window that moves, resizes, is covered and
// uncovered, deactivated and hidden. The messages of the window and of the other
// windows of its thread come through the exported hook; changes of its visible parts
// through a clip watch. The clip mask hides the video where the window is covered and
// under the overlay marker.
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "cards/korrin/session/Library.h"
#include "cards/korrin/display/OverlayRect.h"
#include "korrin32.h"
#include "platform/window/TrackedWindow.h"

namespace orvale::korrin {

namespace hiding {
inline constexpr std::uint32_t kEmpty = 0x1;      // minimised, or no client area
inline constexpr std::uint32_t kOffScreen = 0x2;  // the client area leaves the screen
inline constexpr std::uint32_t kMenu = 0x4;
inline constexpr std::uint32_t kHidden = 0x10000;
inline constexpr std::uint32_t kAppInactive = 0x20000;
inline constexpr std::uint32_t kOtherActive = 0x40000;
}  // namespace hiding

inline constexpr std::size_t kClipBufferBytes = 8192;
inline constexpr std::size_t kMaskBufferBytes = 0xD800;
inline constexpr std::size_t kLastFrameBytes = 1300664;

// What the auto-window owns while a window is tracked.
class AutoWindow {
 public:
  AutoWindow(TrackedWindow& window, std::uint32_t flags, const int margins[4], int board);
  // Unhooks its own hook and clip watch (a destroyed window needs neither undone).
  ~AutoWindow();
  AutoWindow(const AutoWindow&) = delete;
  AutoWindow& operator=(const AutoWindow&) = delete;

  TrackedWindow* window;
  std::thread::id thread;  // the window's: the hook follows its windows
  int board;               // the multi-board index its callbacks run on
  std::uint32_t flags;
  int margins[4];
  int ownHook = 0;  // one board: its own hook; several share the library's
  bool sharesHook = false;
  int clipWatch = 0;
  TimerId trackingTimer = 0;
  gdi::Rect overlay{};
  gdi::Rect reference{};  // the client area when size-move began
  bool sizing = false;
  std::uint32_t hiding = 0;
  bool overlayVisible = false;
  bool desiredLive = false;
  // The visible parts of the overlay at the last rebuild, to tell a change.
  std::vector<gdi::Rect> clipList;
  bool clipKnown = false;
  std::vector<std::uint8_t> mask;
  std::vector<std::uint8_t> lastFrame;
  int lastFrameWidth = 0;  // what the last-frame bitmap holds; 0 while empty
  int lastFrameHeight = 0;
  // The marker taken off the picture while a last frame is copied.
  std::optional<OverlayMarker> savedMarker;
};

// 1 tracking with the clip list, 2 without (flag 0x2000), 0 after detaching (a null
// window), -1 for an unknown window or a buffer that cannot be had.
std::int32_t AutoWindowAttach(Library& lib, KR_Window window, std::int32_t left, std::int32_t top,
                              std::int32_t right, std::int32_t bottom, std::uint32_t flags);
void AutoWindowDetach(Library& lib);
std::int32_t AutoWindowInfo(Library& lib, KR_AutoWindowInfoRecord* info);

// A message sent on a tracked window's thread (through HookFilterFunc, or for every board
// through HookFilterFuncMulti).
void OnHookMessage(Library& lib, const KR_HookMessage& message, bool everyBoard);
// The delayed-tracking timer (through _AWTimeProc).
void OnTrackingTimer(Library& lib, KR_Window window);

// Live video with an auto-window: whether a start may run now (the overlay is visible),
// after remembering the wanted state.
bool AutoWindowAllowsLive(Library& lib, bool on);
// Live video stopping (KR_VideoLive off, a grab). With `refresh` (bit 15 of the caller's
// flags clear) a window that keeps a last frame first has the marker taken off the
// picture for two fields, so that the frame copied afterwards shows none of it.
void BeforeVideoStops(Library& lib, bool refresh);
// Afterwards the video is no longer wanted; with `refresh` and a frame on the screen
// (`hadFrame`) it goes into the last-frame bitmap, and the marker comes back.
void AfterVideoStopped(Library& lib, bool refresh, bool hadFrame);

// Misc parameter 27: the clip state again; `force` loads the mask even when the visible
// parts are as they were.
void RebuildAutoWindowClip(Library& lib, bool force);
// Misc parameters 2 and 11 changed what the mask holds beside the visible parts.
void OverlayMarkerChanged(Library& lib);
void MaskOverlayChanged(Library& lib);

}  // namespace orvale::korrin
