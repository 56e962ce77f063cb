// Apply on a camera-sized interferogram: 2592 x 1944 pixels, about 40 traced fringes of
// a tilted, defocused wavefront in a circular aperture, with all seven output views made
// and filled (headless views).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/dialogs/AnalyzeControls.h"
#include "app/dialogs/ApplyAnalysis.h"
#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "bench/ProgramDefaults.h"

namespace orvale {
namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr double kCx = 1295.5, kCy = 971.5, kRadius = 940.0;

// 20 waves of tilt across the pupil radius and 3 of defocus: about 40 fringes.
std::vector<std::uint8_t> Interferogram() {
  std::vector<std::uint8_t> image(static_cast<std::size_t>(kWidth) * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double u = (x - kCx) / kRadius, v = (y - kCy) / kRadius;
      const double w = 20 * u + 3 * (2 * (u * u + v * v) - 1);
      image[static_cast<std::size_t>(y) * kWidth + x] =
          static_cast<std::uint8_t>(std::lround(128 + 100 * std::cos(2 * M_PI * w)));
    }
  }
  return image;
}

struct ApplyFixture {
  GeneralSettings settings = ProgramDefaults();
  DocumentTable table{settings, &HeadlessMainFrame()};
  clsDocument* doc = nullptr;
  AnalyzeControls controls;

  ApplyFixture() {
    table.NewDocument(doc);
    doc->SetImageData(Interferogram(), kWidth, kHeight);
    doc->Aperture.SetShapeType(clsShape::kCircle);
    doc->Aperture.SetCenter(kCx, kCy);
    doc->Aperture.SetRadii(kRadius, kRadius);
    doc->InvalidateMask();
    doc->CreateView(1);
    doc->AutoTraceFringes(1, 3);
    table.ActiveDocIndex = doc->ovDocIndex;
    controls.ScaleFactorOption = scaleoption::kOne;
  }
};

// The first Apply of a document: the output views are made, the mask is built and
// trimmed, the fringes are fitted and every view is filled.
void BM_ApplyFirst(benchmark::State& state) {
  ApplyFixture f;
  for (auto _ : state) {
    f.doc->OutputViewsExist = false;
    f.doc->ZAnalysis.MaskValid = false;
    f.doc->AnalysisValid = false;
    if (ApplyAnalysis(f.table, f.controls, HeadlessMainFrame()) != ApplyOutcome::Analysed ||
        !f.doc->AnalysisValid) {
      state.SkipWithError("the analysis did not run");
      break;
    }
  }
  state.counters["fringes"] = f.doc->Fringes.NumFringes();
  state.counters["points"] = f.doc->Fringes.TotalNumTicks();
}
BENCHMARK(BM_ApplyFirst)->Unit(benchmark::kMillisecond);

// A later Apply with only the display units changed: the stored fit is evaluated again.
void BM_ApplyUnitsOnly(benchmark::State& state) {
  ApplyFixture f;
  ApplyAnalysis(f.table, f.controls, HeadlessMainFrame());
  std::int32_t units = 0;
  for (auto _ : state) {
    f.controls.DisplayUnits = units = (units + 1) % 3;
    benchmark::DoNotOptimize(ApplyAnalysis(f.table, f.controls, HeadlessMainFrame()));
  }
}
BENCHMARK(BM_ApplyUnitsOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvale

BENCHMARK_MAIN();
