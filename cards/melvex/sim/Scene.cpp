#include "cards/melvex/sim/Scene.h"

#include <algorithm>

namespace orvale::melvex::sim {

SceneSample CoordinateScene::Expected(int x, int y) {
  return {static_cast<std::uint8_t>(x + 3 * y), static_cast<std::uint8_t>(2 * x + y),
          static_cast<std::uint8_t>(x + 2 * y + 128)};
}

SceneSample CoordinateScene::At(int x, int y, std::uint32_t) const { return Expected(x, y); }

SceneSample RectangleScene::At(int x, int y, std::uint32_t) const {
  const bool inside = x >= left_ && x <= right_ && y >= top_ && y <= bottom_;
  return {inside ? inside_ : outside_, 128, 128};
}

int VaryingScene::Offset(int x, int y, std::uint32_t snapIndex) const {
  if (amplitude_ <= 0) return 0;
  // A small integer hash: the same inputs always give the same offset.
  std::uint32_t h = seed_ ^ (snapIndex * 0x9E3779B9u) ^ (static_cast<std::uint32_t>(x) * 0x85EBCA6Bu) ^
                    (static_cast<std::uint32_t>(y) * 0xC2B2AE35u);
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return static_cast<int>(h % static_cast<std::uint32_t>(2 * amplitude_ + 1)) - amplitude_;
}

SceneSample VaryingScene::At(int x, int y, std::uint32_t snapIndex) const {
  const SceneSample base = base_->At(x, y, snapIndex);
  const int offset = Offset(x, y, snapIndex);
  const auto vary = [offset](std::uint8_t v) {
    return static_cast<std::uint8_t>(std::clamp(v + offset, 0, 255));
  };
  return {vary(base.luma), vary(base.cb), vary(base.cr)};
}

}  // namespace orvale::melvex::sim
