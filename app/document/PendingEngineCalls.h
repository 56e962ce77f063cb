#pragma once
// PENDING ENGINE CALL: the document's only call into the automatic tracer (AutoTrace of
// clsAnalysis), which is still being built. Until it is in, PendingEngineCalls.cpp
// traces nothing; replace its body by the engine call, nothing else changes.
#include <cstdint>
#include <span>

namespace orvale {

class clsAnalysis;
class clsFringes;

// Replaces the fringe store's contents with the traced fringes.
void TraceFringes(clsAnalysis& analysis, clsFringes& fringes, std::span<const std::uint8_t> image,
                  std::int32_t width, std::int32_t height, std::int32_t direction,
                  std::int32_t density);

}  // namespace orvale
