#pragma once
// Asynchronous multi-frame capture: a register-programming sequence in the DMA area
// that points video channel 1 at frame after frame of the target.
#include <cstdint>
#include <vector>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

inline constexpr int kEntryWords = 9;
inline constexpr int kTriggeredEntryWords = 22;
inline constexpr std::uint32_t kProgramBytes = 4096;

// Async word bits: frame count in the low 16 bits; 0x08000000 wait for the trigger pin,
// 0x10000000 ring, 0x20000000 wait until done, 0x40000000 armed by KR_AsyncGrab,
// 0x80000000 armed by KR_VideoLive.
namespace asyncbit {
inline constexpr std::uint32_t kTrigger = 0x08000000;
inline constexpr std::uint32_t kRing = 0x10000000;
inline constexpr std::uint32_t kWait = 0x20000000;
inline constexpr std::uint32_t kArmed = 0x40000000;
}  // namespace asyncbit

struct AsyncProgramPlan {
  int frames = 1;
  bool trigger = false;
  int triggerCode = 0;
  bool ring = false;
  std::uint32_t start = 0;  // bus address of the program's first word
  std::uint32_t base = 0;   // frame 0: odd base, even base, protection
  std::uint32_t evenBase = 0;
  std::uint32_t protection = 0;
  std::uint32_t frameBytes = 0;
};

// The most frames a program page holds.
int ProgramCapacity(bool trigger);
// The program's words: one entry per frame, then a jump back (ring) or the stop entry.
std::vector<std::uint32_t> BuildAsyncProgram(const AsyncProgramPlan& plan);

// Builds the program for the async word and starts it; with the wait bit, waits up to
// 5000 ms for it to end (-1, with the program stopped, when it does not).
std::int32_t StartAsyncProgram(Library& lib, std::uint32_t asyncWord);
void StopAsyncProgram(Library& lib);

std::int32_t AsyncGrab(Library& lib, std::int32_t operation, std::int32_t a, std::int32_t b);
// The frame the program is at (-1 when none runs), and a jump to frame `frame`.
std::int32_t AsyncCurrentFrame(Library& lib);
std::int32_t AsyncJumpToFrame(Library& lib, std::int32_t frame);

}  // namespace orvale::korrin
