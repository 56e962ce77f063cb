// Contouring a 400 x 400 wavefront mesh with 100 levels: the segments alone, and drawn
// into a 1000 x 1000 image with a circular pupil and a central obstruction.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/analysis/clsShape.h"
#include "app/plots/Conrec.h"
#include "app/plots/clsContourPlot.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/runtime/Markers.h"

namespace {

using namespace orvale;

constexpr int kMesh = 400;
constexpr int kLevels = 100;

// Defocus, astigmatism, coma and spherical aberration over the unit pupil, blank outside
// it and inside a 20 % obstruction.
std::vector<double> WavefrontMesh() {
  std::vector<double> z(static_cast<std::size_t>(kMesh) * kMesh);
  for (int j = 0; j < kMesh; ++j) {
    for (int i = 0; i < kMesh; ++i) {
      const double x = -1 + 2.0 * i / (kMesh - 1), y = 1 - 2.0 * j / (kMesh - 1);
      const double r2 = x * x + y * y;
      const bool usable = r2 <= 1 && r2 >= 0.04;
      z[static_cast<std::size_t>(j) * kMesh + static_cast<std::size_t>(i)] =
          usable ? 1.5 * (2 * r2 - 1) + 0.6 * (x * x - y * y) + 0.4 * (3 * r2 - 2) * x +
                       0.3 * (6 * r2 * r2 - 6 * r2 + 1)
                 : kBlankValue;
    }
  }
  return z;
}

clsShape Circle(std::int32_t kind, double radius) {
  clsShape s;
  s.Init(kind);
  s.SetShapeType(clsShape::kCircle);
  s.SetCenter(200, 200);
  s.SetRadii(radius, radius);
  return s;
}

void BM_ContourSegments(benchmark::State& state) {
  const std::vector<double> z = WavefrontMesh();
  std::vector<double> x(z.size()), y(z.size()), levels(kLevels);
  for (int j = 0; j < kMesh; ++j)
    for (int i = 0; i < kMesh; ++i) {
      x[static_cast<std::size_t>(j * kMesh + i)] = -1 + 2.0 * i / (kMesh - 1);
      y[static_cast<std::size_t>(j * kMesh + i)] = 1 - 2.0 * j / (kMesh - 1);
    }
  for (int k = 0; k < kLevels; ++k) levels[static_cast<std::size_t>(k)] = -2.5 + 5.0 * k / kLevels;
  const ContourMeshRef mesh{x, y, z, kMesh, kMesh};
  std::size_t segments = 0;
  for (auto _ : state) {
    const std::vector<LevelSegment> s = ContourMesh(mesh, levels, {true});
    segments = s.size();
    benchmark::DoNotOptimize(s.data());
  }
  state.counters["segments"] = static_cast<double>(segments);
}
BENCHMARK(BM_ContourSegments)->Unit(benchmark::kMillisecond);

void BM_DrawContour(benchmark::State& state) {
  clsContourPlot plot;
  for (std::int32_t axis : {kAxisBottom, kAxisLeft}) {
    plot.Chart.SetAxisMinMax(axis, -1, 1, -1);
    plot.Chart.AutoScaleMajor(axis, -1, 1, 0);
    plot.Chart.AutoScaleMinor(axis);
  }
  const std::vector<double> z = WavefrontMesh();
  plot.CreateMesh({}, {}, z, kMesh, kMesh, false);
  plot.AutoScale(2);
  plot.SetNumberofContours(kLevels);
  plot.CalculateContours();
  const PupilScale pupil{200, 200, 1 / 200.0, 1 / 200.0};
  plot.SetApertureClippingRegion(Circle(clsShape::kAperture, 200), pupil);
  plot.SetObstructionClippingRegion(Circle(clsShape::kObstruction, 40), pupil);
  gdi::ImageDeviceContext dc(1000, 1000);
  plot.Chart.CreateChartLimits(dc, 0, 0, 999, 999, true);
  for (auto _ : state) plot.DrawContour(dc);
}
BENCHMARK(BM_DrawContour)->Unit(benchmark::kMillisecond);

}  // namespace
