#pragma once
// Where video DMA writes: the register words of a video channel for a geometry and a
// target, and whether the frame fits. Pure arithmetic, no board.
#include <cstdint>
#include <optional>

#include "cards/korrin/session/BoardState.h"

namespace orvale::korrin {

struct DmaLayoutInput {
  bool onScreen = false;
  // On-screen: the display's frame buffer.
  std::uint32_t displayPhysical = 0;
  std::uint32_t displaySize = 0;
  int displayWidth = 0;
  int displayHeight = 0;
  std::int64_t displayLine = 0;
  // Off-screen: the DMA target (its bus address, or the buffer's offset into its first
  // page when it is reached through the page table).
  std::uint32_t targetPhysical = 0;
  std::uint32_t targetSize = 0;
  std::uint32_t pageTablePhysical = 0;  // non-zero: through the page table
  std::int64_t offset = 0;
  int frames = 1;

  Rect16 window;
  int bytesPerPixel = 2;
  int acquisitionMode = 1;
  bool interleave = false;
  int channel = 0;
  int limitHeight = 480;
  int inputWidth = 640;
};

struct DmaLayout {
  std::uint32_t base = 0;
  std::uint32_t evenBase = 0;
  std::uint32_t protection = 0;
  std::uint32_t pitch = 0;
  std::uint32_t pageTable = 0;
  std::uint32_t lines = 0;
  std::int64_t line = 0;        // bytes per window line
  std::int64_t frameBytes = 0;  // line x window height
};

// Empty when the frames would not lie inside their target: on-screen the window must
// lie inside the display, off-screen offset + frames x frame bytes inside the target.
std::optional<DmaLayout> ComputeDmaLayout(const DmaLayoutInput& in);

}  // namespace orvale::korrin
