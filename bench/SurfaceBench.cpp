// Surface drawing at the document's largest mesh into a 1000-pixel window: the wire
// mesh walks about a million horizon pixels, the filled surface paints 160 000 cells.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/document/FloatingHorizon.h"
#include "app/plots/clsSurfacePlot.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

constexpr int kMesh = 400;
constexpr int kWindow = 1000;

std::vector<double> Wavefront() {
  std::vector<double> z(static_cast<std::size_t>(kMesh) * kMesh);
  for (int j = 0; j < kMesh; ++j) {
    for (int i = 0; i < kMesh; ++i) {
      const double x = -1 + 2.0 * i / (kMesh - 1), y = 1 - 2.0 * j / (kMesh - 1);
      const double r2 = x * x + y * y;
      z[static_cast<std::size_t>(j) * kMesh + i] =
          r2 <= 1 ? 0.15 * (2 * r2 - 1) + 0.1 * (x * x - y * y) + 0.12 * (6 * r2 * r2 - 6 * r2 + 1)
                  : kBlankValue;
    }
  }
  return z;
}

// A plot filled and laid out as the window has it before a paint.
void Prepare(clsSurfacePlot& plot, gdi::DeviceContext& dc, bool filled) {
  const std::vector<double> z = Wavefront();
  for (const std::int32_t axis : {kAxisX, kAxisY}) {
    plot.Chart.SetAxisMinMax(axis, -1, 1);
    plot.Chart.AutoScaleMajor(axis, -1, 1, 0);
    plot.Chart.AutoScaleMinor(axis);
    plot.Chart.CreateTickLabels(axis);
  }
  plot.CreateMesh({}, {}, z, kMesh, kMesh, false);
  plot.AutoScale(kAxisZ);
  plot.Chart.CreateTickLabels(kAxisZ);
  plot.SetNumberofContours(20);
  plot.CalculateContours();
  plot.FillPolygons = filled;
  bool recalc = false;
  plot.Chart.ChangeViewPoint(0, 30, 55, recalc);
  plot.Chart.CreateChartLimits(dc, 10, 10, kWindow - 11, kWindow - 11);
  plot.CreatePolygons();
}

void Paint(benchmark::State& state, bool filled) {
  gdi::ImageDeviceContext dc(kWindow, kWindow);
  clsSurfacePlot plot;
  Prepare(plot, dc, filled);
  for (auto _ : state) {
    HorizonWidth = kWindow;
    plot.PlotRedraw(dc);
  }
}

void BM_SurfaceWire(benchmark::State& state) { Paint(state, false); }
void BM_SurfaceFilled(benchmark::State& state) { Paint(state, true); }

void BM_SurfaceCreatePolygons(benchmark::State& state) {
  gdi::ImageDeviceContext dc(kWindow, kWindow);
  clsSurfacePlot plot;
  Prepare(plot, dc, true);
  for (auto _ : state) benchmark::DoNotOptimize(plot.CreatePolygons());
}

BENCHMARK(BM_SurfaceWire)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceFilled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceCreatePolygons)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvale
