#include "app/document/PendingEngineCalls.h"

#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"

namespace orvale {

void TraceFringes(clsAnalysis& /*analysis*/, clsFringes& /*fringes*/,
                  std::span<const std::uint8_t> /*image*/, std::int32_t /*width*/,
                  std::int32_t /*height*/, std::int32_t /*direction*/,
                  std::int32_t /*density*/) {}

}  // namespace orvale
