#include "cards/korrin/interrupts/Waits.h"

#include <algorithm>

#include "cards/korrin/interrupts/FieldWait.h"
#include "cards/korrin/hardware/LocalBus.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/interrupts/YieldingWait.h"

namespace orvale::korrin {
namespace {

constexpr std::int32_t kCountsPerLine = 1170;
constexpr std::int32_t kLinesPerChunk = 50;
constexpr std::uint32_t kLineTimeUs = 64;
constexpr std::uint32_t kChunkSlackMs = 80;
constexpr std::uint32_t kPollsPerClockRead = 1000;
constexpr std::uint32_t kLineCounter = 0xF800;

}  // namespace

std::int32_t GetFieldType(Library& lib) {
  if (!lib.Live().Located()) return kFail;
  return CurrentField(lib);
}

std::int32_t WaitFieldType(Library& lib, std::int32_t type) {
  if (!lib.Live().Located()) return kFail;
  return WaitForField(lib, type) == FieldWaitResult::kChanged ? kOk : kFail;
}

std::int32_t WaitVSync(Library& lib, std::int32_t fields) {
  if (fields <= 0) return kOk;
  if (!lib.Live().Located()) return kFail;
  for (std::int32_t i = 0; i < fields; ++i) {
    if (WaitForField(lib, kNextField) != FieldWaitResult::kChanged) return kFail;
  }
  return kOk;
}

std::int32_t WaitHSync(Library& lib, std::int32_t lines) {
  if (!lib.Live().Located()) return kFail;
  for (std::int32_t done = 0; done < lines;) {
    LocalBus bus(lib);
    const std::int32_t chunk = std::min(kLinesPerChunk, lines - done);
    const std::uint32_t target = static_cast<std::uint32_t>(chunk * kCountsPerLine);
    const std::uint32_t timeout = 2 * static_cast<std::uint32_t>(chunk) * kLineTimeUs / 1000 + kChunkSlackMs;
    bus.Write(kLineCounter, 0);
    const bool reached =
        WaitUntil(lib, timeout, [&] { return bus.Read(kLineCounter) >= target; }, kPollsPerClockRead);
    if (!reached) return kFail;
    done += chunk;
  }
  return kOk;
}

std::int32_t WaitMs(Library& lib, std::int32_t milliseconds) {
  if (milliseconds > 0) Pause(lib, static_cast<std::uint32_t>(milliseconds));
  return kOk;
}

}  // namespace orvale::korrin
