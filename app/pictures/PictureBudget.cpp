#include "app/pictures/PictureBudget.h"

#include <algorithm>

#include "app/pictures/ImageFileChecks.h"

namespace orvale {

std::int64_t AllowedPicturePixels(std::uint64_t codingBytes) {
  // Counted no further than the absolute limit, so that the product cannot overflow.
  const auto bytes = static_cast<std::int64_t>(std::min<std::uint64_t>(codingBytes, kMaxPicturePixels));
  const std::int64_t bought = bytes * kPicturePixelsPerCodingByte;
  return std::min(kMaxPicturePixels, std::max(kPicturePixelsFloor, bought));
}

}  // namespace orvale
