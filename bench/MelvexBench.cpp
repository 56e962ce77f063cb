// zelvo32: what an export costs through the shared object on top of the same call into
// the core, and the readout of the widest colour line with stretch and interpolation.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "cards/melvex/ZelvoLibrary.h"
#include "cards/melvex/sim/SimulatedCard.h"
#include "cards/melvex/zelvo32.h"

namespace {

using orvale::melvex::ZelvoLibrary;
using orvale::melvex::sim::SimulatedCard;

// The shared object makes its instance on the first call; select its simulated card first.
const bool kSimulated = setenv("ORVALE_MELVEX_DEVICE", "sim", 1) == 0;

struct CoreCard {
  CoreCard() {
    card.SetLogging(false);
    card.VirtualTime().SetWatchdog(UINT64_MAX);
    library.ZLP_init();
    std::int32_t standard = 0;
    library.ZLP_videoConfig(0, 0, &standard);
  }
  SimulatedCard card;
  ZelvoLibrary library{card};
};

void BM_ErrorStringCore(benchmark::State& state) {
  CoreCard core;
  for (auto _ : state) benchmark::DoNotOptimize(core.library.ZLP_errorString(13));
}
BENCHMARK(BM_ErrorStringCore);

void BM_ErrorStringSharedObject(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ZLP_errorString(13));
}
BENCHMARK(BM_ErrorStringSharedObject);

void BM_GetBrightnessCore(benchmark::State& state) {
  CoreCard core;
  std::int8_t value = 0;
  for (auto _ : state) benchmark::DoNotOptimize(core.library.ZLP_getBrightness(&value));
}
BENCHMARK(BM_GetBrightnessCore);

void BM_GetBrightnessSharedObject(benchmark::State& state) {
  if (!kSimulated || ZLP_init() != 0) {
    state.SkipWithError("no simulated card");
    return;
  }
  std::int8_t value = 0;
  for (auto _ : state) benchmark::DoNotOptimize(ZLP_getBrightness(&value));
  ZLP_closedown(0);
}
BENCHMARK(BM_GetBrightnessSharedObject);

// 950 card samples stretched to 3200 pixels and 610 card lines interpolated to 1220, in
// format 7; a readout is restarted (untimed) when its lines run out.
void BM_ReadLine3200Format7(benchmark::State& state) {
  CoreCard core;
  ZelvoLibrary& lib = core.library;
  const ZlpSnapRequest request{0, 950, 3200, 0, 610, 1220, 1, 0};
  if (lib.ZLP_prepareSnap(&request) != 0 || lib.ZLP_startSnap() != 0 || lib.ZLP_finishSnap() != 0) {
    state.SkipWithError("snap failed");
    return;
  }
  std::vector<std::uint8_t> line(3 * 3200);
  int n = 1220;
  for (auto _ : state) {
    if (n == 1220) {
      state.PauseTiming();
      lib.ZLP_startReadout(7, nullptr);
      n = 0;
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(lib.ZLP_readLine(line.data(), 0, 3200));
    ++n;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadLine3200Format7)->Unit(benchmark::kMicrosecond);

// A whole 950 x 610 frame read out into a 24-bit DIB, the simulated card included.
void BM_ReadoutDIB950x610Format7(benchmark::State& state) {
  CoreCard core;
  ZelvoLibrary& lib = core.library;
  ZlvConfig config{};
  lib.ZLV_defaultConfig(&config);
  config.standard = 1;
  config.outputFormat = 7;
  if (lib.ZLV_snap(&config) != 0) {
    state.SkipWithError("snap failed");
    return;
  }
  for (auto _ : state) {
    ZLV_HDIB dib = nullptr;
    if (lib.ZLV_readoutDIB(&config, &dib) != 0) {
      state.SkipWithError("readout failed");
      return;
    }
    lib.ZLV_freeDIB(dib);
  }
}
BENCHMARK(BM_ReadoutDIB950x610Format7)->Unit(benchmark::kMillisecond);

}  // namespace
