// Grabbing into a document: through the grab command, the built capture plug-in and its
// synthetic camera (one frame a millisecond, so that waiting for frames hides little),
// and the document's own step alone with a plug-in that has its frame ready.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/document/DocumentTable.h"
#include "app/document/GrabCommand.h"
#include "app/document/clsDocument.h"
#include "platform/capture/SyntheticCameraConfig.h"
#include "platform/com/ObjectCreation.h"
#include "platform/com/PluginLibrary.h"
#include "platform/registry/GeneralSettings.h"
#include "tests/support/FakeGrabberPlugin.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

GeneralSettings GrabSettings() {
  GeneralSettings settings;
  settings.GrabAspectRatio = 1.0;
  return settings;
}

// A document open in a table, as the one a grab goes into.
struct OpenDocument {
  GeneralSettings settings = GrabSettings();
  DocumentTable table{settings};
  clsDocument* doc = nullptr;
  OpenDocument() {
    table.NewDocument(doc);
    table.ActiveDocIndex = doc->ovDocIndex;
  }
};

// The plug-in registered in a configuration folder of its own, on a synthetic camera.
class SyntheticTavrel {
 public:
  SyntheticTavrel(std::int32_t width, std::int32_t height)
      : home_(fs::temp_directory_path() / ("orvale-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(home_);
    ::setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
    const std::string camera = "size=" + std::to_string(width) + "x" + std::to_string(height) + ";interval=1";
    ::setenv(kSyntheticCameraVariable, camera.c_str(), 1);
    std::string error;
    if (!RegisterServer(ORVALE_TAVREL_LIBRARY, error)) return;
    plugin_ = CreateObject("OVVGPlugTavrel.clsTavrel", error);
    bool ready = false;
    if (plugin_ && !plugin_->Initialize(ready).Failed() && ready) ready_ = true;
  }
  ~SyntheticTavrel() {
    if (plugin_) plugin_->Shutdown();
    plugin_.reset();
    ::unsetenv(kSyntheticCameraVariable);
    std::error_code ec;
    fs::remove_all(home_, ec);
  }
  IGrabberPlugin* Plugin() const { return ready_ ? plugin_.get() : nullptr; }

 private:
  fs::path home_;
  GrabberPluginPtr plugin_;
  bool ready_ = false;
};

void BM_GrabSyntheticFrameIntoOpenDocument(benchmark::State& state) {
  SyntheticTavrel tavrel(static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
  if (tavrel.Plugin() == nullptr) {
    state.SkipWithError("the plug-in did not start");
    return;
  }
  OpenDocument open;
  std::int32_t counter = 0;
  PluginStatus failure;
  const DocumentGrab grab = [&](clsDocument& doc) { return doc.GrabIntoDataBuffer(tavrel.Plugin(), failure); };
  for (auto _ : state) {
    if (GrabImage(open.table, counter, false, grab) == nullptr) state.SkipWithError("a grab failed");
  }
  state.counters["grabs/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GrabSyntheticFrameIntoOpenDocument)
    ->Args({640, 480})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_GrabIntoDataBuffer(benchmark::State& state) {
  testing::FakeGrabberPlugin* fake = new testing::FakeGrabberPlugin;
  GrabberPluginPtr owner(fake);
  fake->BitCount = static_cast<std::uint16_t>(state.range(0));
  fake->Width = static_cast<std::int32_t>(state.range(1));
  fake->Height = static_cast<std::int32_t>(state.range(2));
  OpenDocument open;
  PluginStatus failure;
  for (auto _ : state) {
    if (!open.doc->GrabIntoDataBuffer(fake, failure)) state.SkipWithError("a grab failed");
  }
  state.counters["grabs/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GrabIntoDataBuffer)
    ->ArgNames({"bits", "width", "height"})
    ->Args({8, 640, 480})
    ->Args({24, 640, 480})
    ->Args({8, 1920, 1080})
    ->Args({24, 1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace orvale
