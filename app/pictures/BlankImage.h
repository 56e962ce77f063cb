#pragma once
// The stand-in image of a document that has no real image data.
#include <cstdint>
#include <vector>

namespace orvale {

// Makes the image blank: `width` and `height` become `xpts` and `ypts` unless either is
// kNotGivenLong (then the size is kept), and the data buffer shrinks to one byte.
// The caller sets its BlankImage flag, clears BMPDirty and sizes its image window
// (InitialImageWindowSize). Always true.
bool LoadBlankImage(std::int32_t xpts, std::int32_t ypts, std::int32_t& width,
                    std::int32_t& height, std::vector<std::uint8_t>& dataBuffer);

}  // namespace orvale
