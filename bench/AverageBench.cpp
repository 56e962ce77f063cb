// Average's Apply over N analysed documents, up to the new document's seven result
// windows being filled (headless views). The first document is camera-sized, 2592 x 1944
// pixels with a circular aperture, so the average is evaluated over that pupil; the
// others are small, since only their coefficients are read.
#include <benchmark/benchmark.h>

#include <vector>

#include "app/dialogs/DerivedDocuments.h"
#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "bench/ProgramDefaults.h"

namespace orvale {
namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr int kSmall = 64;

struct AverageFixture {
  GeneralSettings settings = ProgramDefaults();
  DocumentTable table{settings, &HeadlessMainFrame()};
  std::vector<std::int32_t> documentSlots;

  explicit AverageFixture(int count) {
    for (int i = 0; i < count; ++i) {
      clsDocument* doc = nullptr;
      table.NewDocument(doc);
      const int width = i == 0 ? kWidth : kSmall;
      const int height = i == 0 ? kHeight : kSmall;
      doc->SetImageData(std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, 128),
                        width, height);
      doc->Aperture.SetShapeType(clsShape::kCircle);
      doc->Aperture.SetCenter(width / 2.0, height / 2.0);
      doc->Aperture.SetRadii(height * 0.48, height * 0.48);
      doc->zscale = 1.0;
      ZernikeVector z{};
      z[1] = 0.2 * i;
      z[3] = 1.5 + 0.01 * i;
      z[4] = 0.3;
      z[8] = 0.1;
      doc->SetZernikes(z);
      doc->AnalysisValid = true;
      documentSlots.push_back(doc->ovDocIndex);
    }
    table.ActiveDocIndex = documentSlots.front();
  }
};

void BM_AverageApply(benchmark::State& state) {
  AverageFixture f(static_cast<int>(state.range(0)));
  std::int32_t counter = 0;
  for (auto _ : state) {
    clsDocument* average = AverageDocuments(f.table, HeadlessMainFrame(), f.documentSlots, counter);
    if (average == nullptr || average->Views().DataLoads() != 1) {
      state.SkipWithError("no average was made");
      break;
    }
    state.PauseTiming();
    state.counters["RMS"] = average->RMS;
    std::int16_t cancel = 0;
    f.table.CloseDocument(average, true, cancel);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AverageApply)->Arg(2)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvale

BENCHMARK_MAIN();
