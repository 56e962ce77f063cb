#pragma once
// Bilinear resampling of an 8-bit image to a new size or aspect ratio.
#include <cstdint>
#include <span>

namespace orvale {

// The size ResampleImage produces: round(width x scale x xFactor) by
// round(height x scale), halves to even. False when either would be below 1 or beyond
// the 32-bit range.
bool ResampledSize(std::int32_t width, std::int32_t height, double xFactor, double scale,
                   std::int32_t& newWidth, std::int32_t& newHeight);

// Fills `destination` (the ResampledSize of the source, rows from the top) from
// `source` (width x height bytes) by bilinear sampling; every sample is rounded to the
// nearest, halves to even. Positions past the last source row or column take the
// nearest source pixels, so the bottom and right edges are filled. With a scale and an
// x factor of exactly 1 the source is copied. Buffers of other sizes leave the
// destination as it was.
void ResampleImage(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination,
                   double xFactor, double scale, std::int32_t width, std::int32_t height);

}  // namespace orvale
