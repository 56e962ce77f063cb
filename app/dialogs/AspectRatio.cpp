#include "app/dialogs/AspectRatio.h"

#include <cmath>

#include "platform/runtime/NumberText.h"

namespace orvale {

bool ReadAspectRatio(std::string_view text, double& ratio) {
  double value = 0.0;
  if (!TryConvertNumber(text, value) || !std::isfinite(value)) return false;
  if (value != 0.0 && (value < kSmallestAspectRatio || value > kLargestAspectRatio)) return false;
  ratio = value;
  return true;
}

}  // namespace orvale
