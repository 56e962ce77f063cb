// The engine's hot paths: the fit of a full fringe store and the wavefront map.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/analysis/VectorKernels.h"
#include "app/analysis/clsAnalysis.h"

namespace orvale {
namespace {

constexpr int kSize = 1000;
constexpr double kCenter = 500, kRadius = 480;

clsAnalysis CircularPupil() {
  clsAnalysis analysis;
  analysis.CreateMask(kSize, kSize);
  auto bytes = analysis.MaskBytes();
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (std::hypot(x - kCenter, y - kCenter) <= kRadius) bytes[y * kSize + x] = 1;
  analysis.xCenter = analysis.yCenter = kCenter;
  analysis.xScale = analysis.yScale = 1.0 / kRadius;
  analysis.SetApertureShapeType(1);
  return analysis;
}

// A full fringe store: 200 fringes of 4000 points each, every point on the pupil.
struct FringeStore {
  std::vector<double> X, Y, z;
};

FringeStore FullFringeStore() {
  FringeStore store;
  for (int fringe = 0; fringe < 200; ++fringe) {
    const double radius = kRadius * (fringe + 0.5) / 200.0;
    for (int i = 0; i < 4000; ++i) {
      const double angle = 6.283185307179586 * i / 4000 + 0.01 * fringe;
      store.X.push_back(kCenter + radius * std::cos(angle) + 0.3 * std::sin(3 * angle));
      store.Y.push_back(kCenter + radius * std::sin(angle));
      store.z.push_back(fringe + 0.1 * std::cos(2 * angle));
    }
  }
  return store;
}

void FitFullFringeStore(benchmark::State& state, bool generic) {
  const clsAnalysis analysis = CircularPupil();
  const FringeStore store = FullFringeStore();
  UseGenericKernels(generic);
  for (auto _ : state) {
    std::int32_t points = static_cast<std::int32_t>(store.X.size());
    std::int32_t terms = 36;
    ZernikeVector coefficients;
    analysis.FitFringeCenters(points, store.X, store.Y, store.z, terms, coefficients);
    benchmark::DoNotOptimize(coefficients);
    if (terms != 36) state.SkipWithError("fit failed");
  }
  UseGenericKernels(false);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(store.X.size()));
}

void BM_FitFringeCenters(benchmark::State& state) { FitFullFringeStore(state, false); }
void BM_FitFringeCentersGenericKernel(benchmark::State& state) { FitFullFringeStore(state, true); }
BENCHMARK(BM_FitFringeCenters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitFringeCentersGenericKernel)->Unit(benchmark::kMillisecond);

ZernikeVector SomeCoefficients() {
  ZernikeVector a{};
  for (int k = 1; k <= kZernikeTermCount; ++k) a[k] = 0.5 / k;
  return a;
}

void BM_EvalSurface400(benchmark::State& state) {
  const clsAnalysis analysis = CircularPupil();
  const ZernikeVector a = SomeCoefficients();
  std::vector<double> surface(400 * 400);
  const bool calcOrig = state.range(0) != 0;
  for (auto _ : state) {
    analysis.EvalSurface(a, 400, 400, surface, calcOrig);
    benchmark::DoNotOptimize(surface.data());
  }
  state.SetItemsProcessed(state.iterations() * 400 * 400);
}
BENCHMARK(BM_EvalSurface400)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_EvalAberrations100(benchmark::State& state) {
  const clsAnalysis analysis = CircularPupil();
  const ZernikeVector a = SomeCoefficients();
  for (auto _ : state) {
    double rms = 0, strehl = 0, pv = 0;
    analysis.EvalAberrations(a, 100, 100, rms, strehl, pv);
    benchmark::DoNotOptimize(rms);
  }
}
BENCHMARK(BM_EvalAberrations100)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvale
