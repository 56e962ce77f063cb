#pragma once
// The automatic tracer's working frame: the pupil mask and the smoothed interferogram
// at the mask's size, turned so that the fringes cross the rows. The tracer seeds
// fringes along rows and follows each one from row to row.
#include <cstdint>
#include <span>
#include <vector>

namespace orvale {

class TraceFrame {
 public:
  // A frame over a mask alone, as it is (what the numbering of the fringes needs).
  TraceFrame(std::span<const std::uint8_t> mask, std::int32_t width, std::int32_t height);

  // The full frame for an image of imageWidth x imageHeight bytes and a mask of that
  // size or, with `doubled`, of twice its width and height: the image is resampled to
  // the mask's size when doubled and smoothed; with `transpose` the smoothed image and
  // a copy of the mask are swapped in x and y. The caller's mask is never written.
  // Throws std::bad_alloc when memory runs out.
  static TraceFrame ForImage(std::span<const std::uint8_t> image, std::int32_t imageWidth,
                             std::int32_t imageHeight, std::span<const std::uint8_t> mask,
                             bool doubled, bool transpose);

  TraceFrame(TraceFrame&&) = default;
  TraceFrame& operator=(TraceFrame&&) = default;
  TraceFrame(const TraceFrame&) = delete;
  TraceFrame& operator=(const TraceFrame&) = delete;

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  // The mask byte at column x, row y; 0 (outside) beyond the frame.
  std::uint8_t MaskByte(std::int64_t x, std::int64_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return mask_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
  }
  // Usable pupil: exactly the mask value 1.
  bool Usable(std::int64_t x, std::int64_t y) const { return MaskByte(x, y) == 1; }
  // The smoothed image at a pixel inside the frame.
  std::uint8_t Smoothed(std::int32_t x, std::int32_t y) const {
    return smoothed_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                     static_cast<std::size_t>(x)];
  }

 private:
  TraceFrame() = default;

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  const std::uint8_t* mask_ = nullptr;
  std::vector<std::uint8_t> turnedMask_;  // holds the mask bytes of a transposed frame
  std::vector<std::uint8_t> smoothed_;
};

// The tracer's smoothing of a width x height image into `smoothed` (same size): every
// pixel off the border becomes round(0.125 x (its four edge neighbours) + 0.5 x itself),
// halves to even; border pixels are 0. Buffers of other sizes leave it as it was.
void SmoothForTracing(std::span<const std::uint8_t> image, std::int32_t width, std::int32_t height,
                      std::span<std::uint8_t> smoothed);

}  // namespace orvale
