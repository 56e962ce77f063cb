// From the start of the program's own logic to its main window shown with the bundled
// sample open, in process (the Qt application exists already). The first start, which
// loads fonts, styles and the image plug-ins, is printed apart.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/AppState.h"
#include "app/Startup.h"
#include "app/frame/frmMain.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/ui/MessageService.h"

namespace {

using namespace orvale;

std::string g_sample = ORVALE_SAMPLES_DIR "/sample.jpg";

// One start; the state is torn down by the caller.
bool StartOnSample(AppState& app) {
  std::string name = "orvale";
  char* argv[] = {name.data(), g_sample.data(), nullptr};
  if (!RunStartupWithInstalledServices(app, 2, argv)) return false;
  QCoreApplication::processEvents();  // the shown window lays itself out and paints
  return app.Documents->NumDocuments == 1 && app.FormMain->isVisible();
}

void BM_StartToShownFrameWithSample(benchmark::State& state) {
  for (auto _ : state) {
    auto app = std::make_unique<AppState>();
    if (!StartOnSample(*app)) state.SkipWithError("the start failed");
    state.PauseTiming();
    app.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartToShownFrameWithSample)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  MemorySettingsStore store;
  ScopedSettingsStore settings(store);
  ScriptedMessageService messages;
  ScopedMessageService installed(messages);

  const auto begin = std::chrono::steady_clock::now();
  {
    AppState app;
    if (!StartOnSample(app)) return 1;
  }
  const std::chrono::duration<double, std::milli> first = std::chrono::steady_clock::now() - begin;
  std::printf("first start to shown frame with the sample: %.1f ms\n", first.count());

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
