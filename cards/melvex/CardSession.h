#pragma once
// One card session: what ZLP_init learnt from the driver, the digitizer's state and the
// snap and readout in progress. Its address is the card handle callers see.
#include <cstdint>
#include <vector>

#include "cards/melvex/zelvo32.h"

namespace orvale::melvex {

inline constexpr std::uint16_t kSessionMarker = 0x1234;

// Bytes of one line buffer: a colour line of the widest output (3200 pixels, two bytes
// each) with a pixel pair of margin on each side, plus slack for reads that round a count
// up to a whole pair.
inline constexpr std::size_t kLineBufferBytes = 2 * (3200 + 2) + 16;

struct CardSession {
  std::uint16_t marker = 0;
  std::uint32_t driverCardHandle = 0;
  bool narrowOutput = false;
  std::uintptr_t ioWindow = 0;
  std::uintptr_t dataWindow = 0;

  bool configured = false;
  int videoStandard = 0;  // 0 = 525-line, 1 = 625-line, from the digitizer status

  // The flash routine: the caller's, or the library's own; neither when disabled.
  ZlpFlashRoutine flashRoutine = nullptr;
  bool builtInFlash = false;
  int flashType = 0;
  std::uint16_t flashDelay = 0;

  bool prepared = false;
  bool started = false;
  bool finished = false;
  bool readoutStarted = false;

  std::uint16_t outWidth = 0;
  std::uint16_t outHeight = 0;
  int hwWidth = 0;
  int hwHeight = 0;
  bool oddStart = false;
  int lineSkip = 0;
  bool interlaced = false;
  bool monochrome = false;

  int readoutFormat = 0;
  int lineCounter = 0;
  int hwLine = 0;  // the line the card's readout pointer stands at

  // The two source lines of the vertical interpolation, per session so that another
  // card's lines are never taken for this one's.
  int bufferLineA = -1;
  int bufferLineB = -1;
  std::vector<std::uint8_t> bufferA;
  std::vector<std::uint8_t> bufferB;

  bool FlashEnabled() const { return flashRoutine != nullptr || builtInFlash; }
  void ClearSnapFlags() {
    prepared = started = finished = readoutStarted = false;
  }
  void ForgetCachedLines() { bufferLineA = bufferLineB = -1; }
};

}  // namespace orvale::melvex
