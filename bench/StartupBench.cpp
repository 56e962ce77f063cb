// From the start of the program's own logic to its main window shown with the bundled
// sample open, in process (the Qt application exists already), over a settings file
// as a closed session leaves it. The first start, which loads fonts, styles and the
// image plug-ins, is printed apart. Reading the general settings alone, the bulk of
// the start's settings reads, has a figure of its own.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/AppState.h"
#include "app/Startup.h"
#include "app/frame/frmMain.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/registry/IniSettingsStore.h"
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

void BM_ReadGeneralSettings(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadGeneralSettings({1600, 1000, 4, 18}));
}
BENCHMARK(BM_ReadGeneralSettings)->Unit(benchmark::kMillisecond);

// A settings folder of its own, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("orvale-bench-startup-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const ScratchFolder folder;
  IniSettingsStore store(folder.Path() / "Orvale.ini");
  ScopedSettingsStore settings(store);
  ScriptedMessageService messages;
  ScopedMessageService installed(messages);

  const auto begin = std::chrono::steady_clock::now();
  {
    // The first start also writes every setting back when its window closes, as a
    // user's session does, so that the measured starts read a full settings file.
    AppState app;
    if (!StartOnSample(app) || !app.FormMain->close()) return 1;
  }
  const std::chrono::duration<double, std::milli> first = std::chrono::steady_clock::now() - begin;
  std::printf("first start to shown frame with the sample: %.1f ms\n", first.count());

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
