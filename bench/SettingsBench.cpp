// Reading the settings file: the first read of a store, which reads and parses the whole
// file, and reads that follow while the file is unchanged, for files of many values and
// of many sections (the program writes a few hundred values in a dozen sections; these
// are far past that, as a file that grew by hand or by a fault might be). And writing
// one value into a file of a million, as large as a settings file may be.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/registry/GeneralSettings.h"
#include "platform/registry/IniSettingsStore.h"
#include "platform/registry/SettingsBatch.h"
#include "platform/registry/TypedSettings.h"

namespace {

using namespace orvale;
namespace fs = std::filesystem;

fs::path BenchFolder() {
  const fs::path folder = fs::temp_directory_path() / ("orvale-bench-settings-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  return folder;
}

// Files are written once per shape and left to settle (file times tick coarsely, so a
// store reads a file changed in the last seconds again at every read).
fs::path SettingsFile(std::int64_t count, bool sections) {
  const fs::path file =
      BenchFolder() / ((sections ? "sections-" : "keys-") + std::to_string(count) + ".ini");
  if (fs::exists(file)) return file;
  std::ofstream out(file, std::ios::binary);
  out << "[CurrentVersion]\r\n";
  for (std::int64_t i = 0; i < count; ++i) {
    if (sections) out << "[Section " << i << "]\r\n";
    out << "Key " << i << "=Value " << i << "\r\n";
  }
  out.close();
  std::this_thread::sleep_for(std::chrono::seconds(5));
  return file;
}

std::string LastKey(std::int64_t count) { return "Key " + std::to_string(count - 1); }
std::string LastSection(std::int64_t count, bool sections) {
  return sections ? "Section " + std::to_string(count - 1) : "CurrentVersion";
}

void FirstRead(benchmark::State& state, bool sections) {
  const fs::path file = SettingsFile(state.range(0), sections);
  for (auto _ : state) {
    IniSettingsStore store(file);
    std::string value;
    if (!store.Read(LastSection(state.range(0), sections), LastKey(state.range(0)), value, false))
      state.SkipWithError("the last value was not read");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void ReadAgain(benchmark::State& state, bool sections) {
  const fs::path file = SettingsFile(state.range(0), sections);
  IniSettingsStore store(file);
  std::string value;
  for (auto _ : state) {
    if (!store.Read(LastSection(state.range(0), sections), LastKey(state.range(0)), value, false))
      state.SkipWithError("the last value was not read");
  }
}

void BM_SettingsFirstReadOfKeys(benchmark::State& state) { FirstRead(state, false); }
void BM_SettingsFirstReadOfSections(benchmark::State& state) { FirstRead(state, true); }
void BM_SettingsReadAgainOfKeys(benchmark::State& state) { ReadAgain(state, false); }
BENCHMARK(BM_SettingsFirstReadOfKeys)->Arg(200)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsFirstReadOfSections)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsReadAgainOfKeys)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A million values of short names in one section, 16 bytes a line at most, so that the
// file stays under the 16 MB limit; one copy per use, as the writes change it.
constexpr std::int64_t kMillion = 1000000;
fs::path MillionValuesFile(const std::string& use) {
  const fs::path file = BenchFolder() / ("million-" + use + ".ini");
  if (fs::exists(file)) return file;
  std::ofstream out(file, std::ios::binary);
  out << "[Camera]\r\n";
  for (std::int64_t i = 0; i < kMillion; ++i) out << 'K' << i << '=' << i << "\r\n";
  out.close();
  std::this_thread::sleep_for(std::chrono::seconds(5));
  return file;
}

void BM_SettingsFirstReadOfAMillionValues(benchmark::State& state) {
  const fs::path file = MillionValuesFile("read");
  for (auto _ : state) {
    IniSettingsStore store(file);
    std::string value;
    if (!store.Read("Camera", "K999999", value, false)) state.SkipWithError("the last value was not read");
  }
}
BENCHMARK(BM_SettingsFirstReadOfAMillionValues)->Unit(benchmark::kMillisecond);

// One value written into the file the store has read, each write into the file the one
// before wrote; or, as a running program makes its changes, into a file that has not
// changed since it was read, settled (each write then waits for that first, untimed).
void WriteAmongAMillion(benchmark::State& state, bool settled) {
  const fs::path file = MillionValuesFile(settled ? "write" : "writes");
  IniSettingsStore store(file);
  std::string value;
  if (!store.Read("Camera", "K0", value, false)) state.SkipWithError("the file was not read");
  int written = 0;
  for (auto _ : state) {
    if (!store.Write("Camera", "K0", std::to_string(++written % 2))) state.SkipWithError("not written");
    if (!settled) continue;
    state.PauseTiming();
    std::this_thread::sleep_for(std::chrono::seconds(4));
    state.ResumeTiming();
  }
}

void BM_SettingsWriteOfOneValueAmongAMillion(benchmark::State& state) { WriteAmongAMillion(state, true); }
void BM_SettingsWritesInARowAmongAMillion(benchmark::State& state) { WriteAmongAMillion(state, false); }
BENCHMARK(BM_SettingsWriteOfOneValueAmongAMillion)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsWritesInARowAmongAMillion)->Unit(benchmark::kMillisecond);

// The settings reads of a first start beside a million values of another program: the
// general settings and the tool windows' sections, all missing, each made by its first
// read, and written when the start's reads end.
void BM_SettingsFirstStartBesideAMillionValues(benchmark::State& state) {
  const fs::path kept = MillionValuesFile("start");
  const fs::path file = kept.parent_path() / "start.ini";
  for (auto _ : state) {
    state.PauseTiming();
    fs::copy_file(kept, file, fs::copy_options::overwrite_existing);
    state.ResumeTiming();
    IniSettingsStore store(file);
    ScopedSettingsStore installed(store);
    {
      const ScopedSettingsReadBatch reads;
      benchmark::DoNotOptimize(ReadGeneralSettings({1600, 1000, 4, 18}));
      for (const char* section : {"Analyze", "Grid", "Grid_Window", "Recent File List", "Toolbox"})
        benchmark::DoNotOptimize(GetSettingLong(section, "Left", 0, 1600, 10));
    }
    if (store.Problem().Number != 0) state.SkipWithError("the file was not written");
  }
}
BENCHMARK(BM_SettingsFirstStartBesideAMillionValues)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
