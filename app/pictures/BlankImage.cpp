#include "app/pictures/BlankImage.h"

#include "platform/runtime/Markers.h"

namespace orvale {

bool LoadBlankImage(std::int32_t xpts, std::int32_t ypts, std::int32_t& width,
                    std::int32_t& height, std::vector<std::uint8_t>& dataBuffer) {
  if (xpts != kNotGivenLong && ypts != kNotGivenLong) {
    width = xpts;
    height = ypts;
  }
  dataBuffer.assign(1, 0);
  dataBuffer.shrink_to_fit();
  return true;
}

}  // namespace orvale
