#include "app/analysis/TransposeImage.h"

#include <algorithm>

namespace orvale {

void TransposeImage(std::span<const std::uint8_t> source, std::int32_t width, std::int32_t height,
                    std::span<std::uint8_t> destination) {
  if (width < 1 || height < 1) return;
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  if (source.size() != w * h || destination.size() != w * h) return;
  // Tiles keep both the rows read and the rows written in the cache.
  constexpr std::size_t kTile = 64;
  for (std::size_t y0 = 0; y0 < h; y0 += kTile) {
    const std::size_t y1 = std::min(h, y0 + kTile);
    for (std::size_t x0 = 0; x0 < w; x0 += kTile) {
      const std::size_t x1 = std::min(w, x0 + kTile);
      for (std::size_t y = y0; y < y1; ++y) {
        const std::uint8_t* in = source.data() + y * w;
        for (std::size_t x = x0; x < x1; ++x) destination[x * h + y] = in[x];
      }
    }
  }
}

}  // namespace orvale
