#include "app/analysis/TraceFrame.h"

#include <algorithm>

#include "app/analysis/ImageResample.h"
#include "app/analysis/TransposeImage.h"

namespace orvale {

TraceFrame::TraceFrame(std::span<const std::uint8_t> mask, std::int32_t width,
                       std::int32_t height) {
  if (width < 1 || height < 1 ||
      mask.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return;
  width_ = width;
  height_ = height;
  mask_ = mask.data();
}

TraceFrame TraceFrame::ForImage(std::span<const std::uint8_t> image, std::int32_t imageWidth,
                                std::int32_t imageHeight, std::span<const std::uint8_t> mask,
                                bool doubled, bool transpose) {
  const std::int32_t width = doubled ? 2 * imageWidth : imageWidth;
  const std::int32_t height = doubled ? 2 * imageHeight : imageHeight;
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);

  TraceFrame frame;
  frame.smoothed_.assign(pixels, 0);
  if (doubled) {
    std::vector<std::uint8_t> large(pixels);
    ResampleImage(image, large, 1.0, 2.0, imageWidth, imageHeight);
    SmoothForTracing(large, width, height, frame.smoothed_);
  } else {
    SmoothForTracing(image, width, height, frame.smoothed_);
  }

  if (!transpose) {
    frame.width_ = width;
    frame.height_ = height;
    frame.mask_ = mask.data();
    return frame;
  }
  std::vector<std::uint8_t> turned(pixels);
  TransposeImage(frame.smoothed_, width, height, turned);
  frame.smoothed_.swap(turned);
  frame.turnedMask_.assign(pixels, 0);
  TransposeImage(mask, width, height, frame.turnedMask_);
  frame.width_ = height;
  frame.height_ = width;
  frame.mask_ = frame.turnedMask_.data();
  return frame;
}

void SmoothForTracing(std::span<const std::uint8_t> image, std::int32_t width, std::int32_t height,
                      std::span<std::uint8_t> smoothed) {
  if (width < 1 || height < 1) return;
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  if (image.size() != w * h || smoothed.size() != w * h) return;
  std::fill(smoothed.begin(), smoothed.end(), std::uint8_t{0});
  for (std::size_t y = 1; y + 1 < h; ++y) {
    const std::uint8_t* above = image.data() + (y - 1) * w;
    const std::uint8_t* row = above + w;
    const std::uint8_t* below = row + w;
    std::uint8_t* out = smoothed.data() + y * w;
    for (std::size_t x = 1; x + 1 < w; ++x) {
      // Eighths, exactly: (four neighbours + 4 x centre) / 8, rounded half to even.
      const unsigned eighths = above[x] + below[x] + row[x - 1] + row[x + 1] + 4u * row[x];
      unsigned whole = eighths >> 3;
      const unsigned rest = eighths & 7u;
      if (rest > 4 || (rest == 4 && (whole & 1u) != 0)) ++whole;
      out[x] = static_cast<std::uint8_t>(whole);
    }
  }
}

}  // namespace orvale
