#include "cards/korrin/dma/Scaler.h"

#include <algorithm>
#include <cmath>

#include "cards/korrin/hardware/RegisterEncoding.h"

namespace orvale::korrin {
namespace {

constexpr int kMaxPrescale = 64;
constexpr int kMaxFineScale = 4095;
constexpr int kMaxVerticalRatio = 1024;

// Board data chosen by us from the data sheet's filter tables: the accumulator length
// and the weight per prescale, and the gain word per vertical scale index.
std::uint32_t PrescaleWord(int prescale) {
  const std::uint32_t accumulator = static_cast<std::uint32_t>(prescale - 1);
  const std::uint32_t weight = static_cast<std::uint32_t>(256 / prescale);
  return (weight << 16) | (accumulator << 8) | static_cast<std::uint32_t>(prescale);
}
std::uint32_t GainWord(int index) { return static_cast<std::uint32_t>(0x400 / (index + 1)); }

int HorizontalCode(int in, int out) { return out >= in ? 0 : out * 2 >= in ? 1 : out * 4 >= in ? 3 : 7; }
int VerticalCode(int in, int out) { return out >= in ? 0 : out * 2 >= in ? 1 : 3; }

}  // namespace

std::optional<ScalerWords> ComputeScaler(const ScalerInput& in) {
  const int fieldDivisor = in.acquisitionMode == 1 ? 1 : 2;
  const auto hStart = static_cast<std::uint32_t>((in.xDelay + in.input.x) & ~1);
  const auto vStart = static_cast<std::uint32_t>((in.acquisitionMode == 1 ? 2 : 1) * in.yDelay + in.input.y);
  const int inWidth = std::max(in.input.width, 1);
  const int inLines = std::max(in.input.height / fieldDivisor, 1);
  const int outWidth = std::max(in.window.width, 1);
  const int outLines = std::max(in.window.height / (in.interleave ? 2 : 1), 1);
  ScalerWords words;

  if (in.channel == 1) {
    // Dividing by eight at most, a window narrower than an eighth of the input would get
    // lines longer than its own.
    const int horizontal = HorizontalCode(inWidth, outWidth);
    if (inWidth / (horizontal + 1) > outWidth) return std::nullopt;
    const std::uint32_t word = ((hStart & 0x1FF) << 8) | (vStart << 19) |
                               encoding::Selector1Codes(horizontal, VerticalCode(inLines, outLines)) |
                               0x60000001u;
    words.writes.emplace_back(encoding::kSelector1Scaler, word);
    words.upload = encoding::kUploadSelector1Scaler;
    return words;
  }

  const int limit = std::max(in.halving ? in.limitWidth / 2 : in.limitWidth, 1);
  int prescale = std::max(1, static_cast<int>(std::nearbyint(static_cast<double>(inWidth) / outWidth)));
  while (inWidth / prescale > limit) ++prescale;
  if (prescale > kMaxPrescale) return std::nullopt;
  const std::int64_t fine = prescale + std::int64_t{inWidth} * 1024 / (std::int64_t{prescale} * outWidth);
  if (fine > kMaxFineScale) return std::nullopt;
  if (inLines / outLines >= kMaxVerticalRatio) return std::nullopt;
  const std::uint32_t verticalScale = static_cast<std::uint32_t>(std::int64_t{inLines} * 1024 / outLines);
  const bool interpolate = in.halving && outLines * 2 > inLines;
  const int gainIndex = std::min(inLines / outLines, 63);

  words.writes = {
      {encoding::kScalerControl, (in.halving ? 1u << 29 : 0u) | PrescaleWord(prescale)},
      {encoding::kScalerVertical, verticalScale | (interpolate ? 1u << 31 : 0u)},
      {encoding::kScalerGain, (static_cast<std::uint32_t>(outLines) << 16) | GainWord(gainIndex)},
      {encoding::kScalerStart, (vStart << 16) | hStart},
      {encoding::kScalerHorizontal, (static_cast<std::uint32_t>(outWidth) << 16) | static_cast<std::uint32_t>(fine)},
  };
  words.upload = encoding::kUploadScaler;
  return words;
}

}  // namespace orvale::korrin
