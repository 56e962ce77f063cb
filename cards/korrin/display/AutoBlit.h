#pragma once
// Auto-blit: a window timer that copies the off-screen video into a window, for up to
// four boards sharing one timer.
#include <cstdint>
#include <vector>

#include "cards/korrin/session/Library.h"
#include "korrin32.h"
#include "platform/window/TrackedWindow.h"

namespace orvale::korrin {

inline constexpr int kMaxBlitBoards = 4;
inline constexpr std::size_t kGreyBlitDib = 443432;
inline constexpr std::size_t kColourBlitDib = 1327144;

namespace blitflag {
inline constexpr std::int32_t kRealisePalette = 1;
inline constexpr std::int32_t kGrey = 2;
inline constexpr std::int32_t kNoLimit = 4;
}  // namespace blitflag

class AutoBlit {
 public:
  KR_Window window = nullptr;
  std::int32_t period = 0;
  std::int32_t x = 0, y = 0, right = 0, bottom = 0;
  std::int32_t flags = 0;
  std::vector<std::uint8_t> dib;
  bool suspended = false;
  bool running = false;
  bool copiedSinceChange = false;
  int frameWidth = 0;
  int frameHeight = 0;
  gdi::Rect client{};
};

// Period or command: -1 draw once, -2 suspend, -3 resume (draw once, and run the timer
// again when -2 stopped it). A null window stops auto-blit.
std::int32_t AutoBlitSet(Library& lib, KR_Window window, std::int32_t periodOrCommand, std::int32_t x,
                         std::int32_t y, std::int32_t right, std::int32_t bottom, std::int32_t flags);
// One timer tick (AutoBlitProc; every participating board with AutoBlitProcMulti).
void OnBlitTimer(Library& lib, bool everyBoard);
// Stops this board's auto-blit and frees its bitmap (clean-up).
void StopAutoBlit(Library& lib);

}  // namespace orvale::korrin
