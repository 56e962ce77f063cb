#include "cards/korrin/capture/SourceDetection.h"

#include <algorithm>
#include <array>

#include "cards/korrin/hardware/Decoder.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/capture/VideoConfig.h"
#include "cards/korrin/interrupts/YieldingWait.h"

namespace orvale::korrin {
namespace {

struct Candidate {
  int type;
  int source;
  int fourth;
};
constexpr std::array<Candidate, 8> kCandidates = {{
    {0, 1, 0}, {1, 1, 0}, {2, 0, 0}, {2, 0, 1}, {0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {2, 1, 1}}};

}  // namespace

std::optional<std::int32_t> DetectSource(Library& lib) {
  if (!lib.Live().Located()) return std::nullopt;
  if (lib.Settings().frame.configId & config::kNoDetection) return std::nullopt;
  const VideoSelection before = lib.Settings().video;
  std::optional<std::int32_t> found;
  for (const Candidate& c : kCandidates) {
    // A candidate the board cannot select is skipped, not probed on the old input.
    if (SetVideoConfig(lib, c.type, 0, c.source, c.fourth) != kOk) continue;
    Pause(lib, static_cast<std::uint32_t>(std::max(lib.Settings().misc.settleTime, 0)));
    if (!SignalPresent(lib)) continue;
    const int fifty = FiftyFieldSignal(lib) ? 1 : 0;
    found = c.type | (fifty << 8) | (c.source << 16) | (c.fourth << 24);
    break;
  }
  SetVideoConfig(lib, before.type, before.standard, before.source, before.fourth);
  return found;
}

}  // namespace orvale::korrin
