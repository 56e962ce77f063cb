// Automatic fringe tracing of a large interferogram: 2048 x 2048 pixels, about 100
// fringes of a tilted, defocused wavefront across a circular pupil.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/analysis/FringePointIndex.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"

namespace orvale {
namespace {

constexpr int kSize = 2048;
constexpr double kCentre = 1023.5, kRadius = 1000;

// 50 waves of tilt across the fringes and 3 of defocus: W = 50 t + 3 (2 r^2 - 1), where
// t is the pupil coordinate across the fringes.
std::vector<std::uint8_t> Interferogram(bool horizontal) {
  std::vector<std::uint8_t> image(static_cast<std::size_t>(kSize) * kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double u = (x - kCentre) / kRadius, v = (y - kCentre) / kRadius;
      const double w = 50 * (horizontal ? v : u) + 3 * (2 * (u * u + v * v) - 1);
      image[static_cast<std::size_t>(y) * kSize + x] =
          static_cast<std::uint8_t>(std::lround(128 + 100 * std::cos(2 * M_PI * w)));
    }
  return image;
}

void CircularPupil(clsAnalysis& analysis) {
  analysis.CreateMask(kSize, kSize);
  auto bytes = analysis.MaskBytes();
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (std::hypot(x - kCentre, y - kCentre) <= kRadius)
        bytes[static_cast<std::size_t>(y) * kSize + x] = clsAnalysis::kMaskPupil;
}

void AutoTrace2048(benchmark::State& state) {
  const int direction = static_cast<int>(state.range(0));
  const std::vector<std::uint8_t> image = Interferogram(direction == 0);
  clsAnalysis analysis;
  CircularPupil(analysis);
  clsFringes fringes;
  for (auto _ : state) {
    analysis.AutoTrace(fringes, image, kSize, kSize, direction, 3);
    benchmark::DoNotOptimize(fringes.NumFringes());
  }
  state.counters["fringes"] = fringes.NumFringes();
  state.counters["points"] = fringes.TotalNumTicks();
}
BENCHMARK(AutoTrace2048)->Arg(1)->Arg(0)->ArgName("direction")->Unit(benchmark::kMillisecond);

// The proximity test the tracer makes for every accepted point, against a store of
// about 25000 points: the store's linear search and the row index.
struct NearTestData {
  clsFringes store;
  FringePointIndex index{kSize};
  NearTestData() {
    for (std::int32_t order = 1; order <= 100; ++order) {
      std::int32_t record = store.AddOrder(order);
      for (int y = 24; y < kSize - 24; y += 8) {
        const double x = 20.0 * order + 3 * std::sin(y / 100.0);
        store.AddCenter(order, x, y, record);
        index.Add(order, x, y);
      }
    }
  }
};

void NearTest(benchmark::State& state, bool indexed) {
  const NearTestData data;
  int y = 0;
  for (auto _ : state) {
    y = (y + 37) % kSize;
    const double x = 1000.0 + y % 20;
    benchmark::DoNotOptimize(indexed ? data.index.FindInOtherFringe(x, y, 50, 10.0, true)
                                     : data.store.FindInOtherFringe(x, y, 50, 10.0, true));
  }
}
BENCHMARK_CAPTURE(NearTest, linear, false);
BENCHMARK_CAPTURE(NearTest, indexed, true);

}  // namespace
}  // namespace orvale
