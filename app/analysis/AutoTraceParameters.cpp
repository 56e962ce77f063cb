#include "app/analysis/AutoTraceParameters.h"

#include <array>

namespace orvale {

std::optional<AutoTraceParameters> AutoTraceParametersForDensity(std::int32_t density) {
  static constexpr std::array<AutoTraceParameters, 4> kLevels{{
      {4, 36, 2.0, 10.0, 20, 8, 25, 15},
      {6, 81, 3.0, 10.0, 20, 8, 25, 15},
      {8, 144, 4.0, 10.0, 20, 8, 25, 15},
      {12, 256, 6.0, 12.0, 25, 8, 25, 15},
  }};
  if (density < 1 || density > static_cast<std::int32_t>(kLevels.size())) return std::nullopt;
  return kLevels[static_cast<std::size_t>(density - 1)];
}

}  // namespace orvale
