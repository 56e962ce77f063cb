#pragma once
// Where the video goes inside a tracked window: its client area less the margins,
// following the window's position and size as the flags say, kept at 4:3, aligned for
// the display's pixel size and limited to the standard's full size. Pure arithmetic.
#include <cstdint>

#include "platform/gdi/Geometry.h"

namespace orvale::korrin {

namespace autoflag {
inline constexpr std::uint32_t kMask = 0x2;
inline constexpr std::uint32_t kFollowPosition = 0x4;
inline constexpr std::uint32_t kFollowSize = 0x8;
inline constexpr std::uint32_t kFourThree = 0x10;
inline constexpr std::uint32_t kNoAlign = 0x20;
inline constexpr std::uint32_t kPaintOld = 0x40;
inline constexpr std::uint32_t kLastFrame = 0x100;
inline constexpr std::uint32_t kTopmost = 0x200;
inline constexpr std::uint32_t kKeepOnDeactivate = 0x400;
inline constexpr std::uint32_t kKeepOnAppDeactivate = 0x800;
inline constexpr std::uint32_t kNoNotification = 0x1000;
inline constexpr std::uint32_t kNoClipList = 0x2000;
inline constexpr std::uint32_t kDelayed = 0x8000;
inline constexpr std::uint32_t kEnlarge = 0x80000000;
}  // namespace autoflag

struct OverlayInput {
  gdi::Rect client;          // in screen coordinates
  int margins[4] = {0, 0, 0, 0};  // left, top, right, bottom
  std::uint32_t flags = 0;
  gdi::Rect current;         // the overlay so far (empty at the start)
  int bytesPerPixel = 4;
  int maxWidth = 640;
  int maxHeight = 480;
};

gdi::Rect ComputeOverlayRect(const OverlayInput& in);

}  // namespace orvale::korrin
