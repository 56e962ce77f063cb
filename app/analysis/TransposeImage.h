#pragma once
// Transposition of a byte image: pixel (x, y) of a width x height image moves to (y, x)
// of a height x width image.
#include <cstdint>
#include <span>

namespace orvale {

// `source` and `destination` hold width x height bytes each (otherwise nothing is
// written); they must not overlap.
void TransposeImage(std::span<const std::uint8_t> source, std::int32_t width, std::int32_t height,
                    std::span<std::uint8_t> destination);

}  // namespace orvale
