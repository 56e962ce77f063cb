#pragma once
// What the image-file readers and writers share: the image description, and the row
// callbacks through which pixels travel in the file's own format.
#include <cstdint>
#include <functional>

namespace orvale::korrin {

struct ImageInfo {
  int width = 0;
  int height = 0;
  int bits = 0;   // pixel format of the rows (PixelConvert.h)
  int extra = 0;  // TGA: the image type; BMP: 0
};

// Files wider than this are described but not loaded.
inline constexpr int kMaxLoadWidth = 1024;

// A reader hands over row `row` (0 = top) of `width` pixels.
using RowSink = std::function<void(int row, const std::uint8_t* pixels)>;
// A writer asks for row `row` (0 = top) of `width` pixels; false stops the write.
using RowSource = std::function<bool(int row, std::uint8_t* pixels)>;

}  // namespace orvale::korrin
