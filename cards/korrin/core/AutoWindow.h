#pragma once
// The auto-window: live video kept inside a window that moves, resizes, is covered and
// uncovered, deactivated and hidden. Its messages come through the exported hook; the
// clip mask hides the video where the window is covered.
#include <cstdint>
#include <memory>
#include <vector>

#include "cards/korrin/core/Library.h"
#include "cards/korrin/core/OverlayRect.h"
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
  AutoWindow(TrackedWindow& window, std::uint32_t flags, const int margins[4]);
  ~AutoWindow();
  AutoWindow(const AutoWindow&) = delete;
  AutoWindow& operator=(const AutoWindow&) = delete;

  TrackedWindow* window;
  std::uint32_t flags;
  int margins[4];
  int listener = 0;
  TimerId trackingTimer = 0;
  gdi::Rect overlay{};
  gdi::Rect reference{};  // the client area when size-move began
  bool sizing = false;
  std::uint32_t hiding = 0;
  bool overlayVisible = false;
  bool desiredLive = false;
  std::vector<std::uint8_t> clipList;
  std::vector<std::uint8_t> mask;
  std::vector<std::uint8_t> lastFrame;
};

// 1 tracking with the clip list, 2 without (flag 0x2000), 0 after detaching (a null
// window), -1 for an unknown window or a buffer that cannot be had.
std::int32_t AutoWindowAttach(Library& lib, KR_Window window, std::int32_t left, std::int32_t top,
                              std::int32_t right, std::int32_t bottom, std::uint32_t flags);
void AutoWindowDetach(Library& lib);
std::int32_t AutoWindowInfo(Library& lib, KR_AutoWindowInfoRecord* info);

// A message to a tracked window (through HookFilterFunc / HookFilterFuncMulti).
void OnHookMessage(Library& lib, const KR_HookMessage& message, bool everyBoard);
// The delayed-tracking timer (through _AWTimeProc).
void OnTrackingTimer(Library& lib, KR_Window window);

// Live video with an auto-window: whether a start may run now (the overlay is visible),
// after remembering the wanted state.
bool AutoWindowAllowsLive(Library& lib, bool on);

}  // namespace orvale::korrin
