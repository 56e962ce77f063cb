// The engine's hot paths: the pupil mask, the fit of a full fringe store, the wavefront
// map and the grid statistics.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/analysis/VectorKernels.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsGrid.h"
#include "app/analysis/clsShape.h"

namespace orvale {
namespace {

// --- Pupil mask on a 4000 x 3000 image ---

constexpr int kImageWidth = 4000, kImageHeight = 3000;

// A 50-vertex outline around the image centre, radius 1400 px with some jitter; every
// other vertex drawn inwards, so the outline is concave.
clsShape FiftyVertexPolygon() {
  std::vector<double> xs{0}, ys{0};
  for (int k = 0; k < 50; ++k) {
    const double angle = 6.283185307179586 * k / 50;
    const double radius = (k % 2 ? 1250.0 : 1400.0) + 37.0 * std::sin(7.0 * k);
    xs.push_back(2000 + radius * std::cos(angle));
    ys.push_back(1500 - radius * std::sin(angle));
  }
  clsShape shape;
  shape.Init(clsShape::kAperture);
  shape.Save(clsShape::kPolygon, 50, xs, ys);
  return shape;
}

clsShape RoundShape(std::int32_t type) {
  clsShape shape;
  shape.Init(clsShape::kAperture);
  shape.SetShapeType(type);
  shape.SetCenter(2000, 1500);
  shape.SetRadii(1400, 1200);
  shape.SetAngle(0.4);
  return shape;
}

void MaskFromShape(benchmark::State& state, const clsShape& shape) {
  clsAnalysis analysis;
  analysis.CreateMask(kImageWidth, kImageHeight);
  for (auto _ : state) {
    analysis.ClearMask();
    if (!analysis.UpdateApertureMask(shape, false)) state.SkipWithError("no mask");
    benchmark::DoNotOptimize(analysis.MaskBytes().data());
  }
}

void BM_PolygonMask50Vertices(benchmark::State& state) {
  MaskFromShape(state, FiftyVertexPolygon());
}
void BM_CircleMask(benchmark::State& state) { MaskFromShape(state, RoundShape(clsShape::kCircle)); }
void BM_EllipseMask(benchmark::State& state) {
  MaskFromShape(state, RoundShape(clsShape::kEllipse));
}
BENCHMARK(BM_PolygonMask50Vertices)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CircleMask)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EllipseMask)->Unit(benchmark::kMillisecond);

void BM_TrimMask(benchmark::State& state) {
  const clsShape circle = RoundShape(clsShape::kCircle);
  clsAnalysis analysis;
  analysis.CreateMask(kImageWidth, kImageHeight);
  analysis.UpdateApertureMask(circle, false);
  analysis.xScale = analysis.yScale = 1.0 / 1400;
  for (auto _ : state) {
    analysis.TrimMask();  // each pass peels the next border: the same work every time
    benchmark::DoNotOptimize(analysis.MaskBytes().data());
  }
}
BENCHMARK(BM_TrimMask)->Unit(benchmark::kMillisecond);

// --- Fit and evaluation on a 1000 x 1000 circular pupil ---

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

// A 20 x 20 cell grid over the pupil's bounding square, sampled 400 x 400.
void BM_EvalGrid400(benchmark::State& state) {
  const clsAnalysis analysis = CircularPupil();
  const ZernikeVector a = SomeCoefficients();
  clsGrid grid;
  grid.GridPhysicalWidth = 200;
  grid.CellPhysicalWidth = grid.CellPhysicalHeight = 10;
  grid.UpperLeftX = grid.UpperLeftY = kCenter - kRadius;
  grid.PixelSizeX = grid.PixelSizeY = 2 * kRadius;
  grid.UpdateCellCounts();
  grid.UseRMS = grid.UsePV = false;
  for (auto _ : state) {
    if (!analysis.EvalGrid(a, 400, 400, grid)) state.SkipWithError("grid refused");
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 400 * 400);
}
BENCHMARK(BM_EvalGrid400)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvale
