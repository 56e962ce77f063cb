#pragma once
// The spacing, search and stop distances of the automatic fringe tracer, by density
// level: 1 traces the densest, 4 the sparsest.
#include <cstdint>
#include <optional>

namespace orvale {

struct AutoTraceParameters {
  std::int32_t Step = 0;                    // least row distance between consecutive points
  std::int32_t MinimumDistanceSquared = 0;  // least squared pixel distance between them
  double NearRadius = 0.0;  // a candidate this close (box distance) to its own fringe is skipped
  double StopRadius = 0.0;  // a fringe ends this close (box distance) to another fringe
  std::int32_t RowSpacing = 0;     // distance between seed scan lines
  std::int32_t MinimumPoints = 0;  // a traced fringe with fewer points is discarded
  std::int32_t EdgeGap =
      0;  // a fringe end this close to the mask edge is not tested for the obstruction
  std::int32_t Window = 0;  // half size of the obstruction probe around a fringe end

  bool operator==(const AutoTraceParameters&) const = default;
};

// The level the tracer falls back on when it is asked for an unknown one before it
// has any parameters.
inline constexpr std::int32_t kDefaultTraceDensity = 3;

// The parameters of density level 1..4; nothing for any other value.
std::optional<AutoTraceParameters> AutoTraceParametersForDensity(std::int32_t density);

}  // namespace orvale
