// korrin32: the cost of an export through the shared object against the same call into
// the core, with and without an interrupt worker running; how long an interrupt
// callback's call waits while the program calls in back to back; and two exports at
// work: pixel conversion of a display line and loading a run-length TGA.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "cards/korrin/hardware/RegisterAccess.h"
#include "cards/korrin/session/Startup.h"
#include "cards/korrin/sim/SimBoard.h"
#include "platform/clock/VirtualClock.h"
#include "platform/profile/PrivateProfile.h"

namespace {

using namespace orvale;
using namespace orvale::korrin;

// The shared object on its simulated board, located.
struct SharedObject {
  SharedObject() {
    setenv("ORVALE_KORRIN_DEVICE", "sim", 1);
    handle = dlopen(KORRIN32_PATH, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) std::abort();
    getVideoType = reinterpret_cast<int32_t (*)()>(dlsym(handle, "KR_GetVideoType"));
    getSaaRegister = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(handle, "KR_GetSAA7146Reg"));
    convertPixel = reinterpret_cast<ConvertPixelExport>(dlsym(handle, "KR_ConvertPixel"));
    loadFile = reinterpret_cast<LoadFileExport>(dlsym(handle, "KR_LoadFile"));
    setMiscParm = reinterpret_cast<int32_t (*)(int16_t, intptr_t)>(dlsym(handle, "KR_SetMiscParm"));
    enableIrq = reinterpret_cast<EnableIrqExport>(dlsym(handle, "KR_EnableIRQ"));
    getFieldType = reinterpret_cast<int32_t (*)()>(dlsym(handle, "KR_GetFieldType"));
    waitMs = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(handle, "KR_WaitMS"));
    reinterpret_cast<int32_t (*)()>(dlsym(handle, "KR_Locate"))();
  }
  // Live video into the driver's buffer, small, so fields raise interrupts cheaply.
  void StartVideo() {
    reinterpret_cast<int32_t (*)(int32_t)>(dlsym(handle, "KR_LoadConfig"))(0);
    reinterpret_cast<int32_t (*)()>(dlsym(handle, "KR_Init"))();
    reinterpret_cast<int32_t (*)(int32_t, int32_t, int32_t, int32_t)>(dlsym(handle, "KR_SetVideoConfig"))(0, 0, 1, 0);
    reinterpret_cast<int32_t (*)(int32_t, int32_t, int32_t, int32_t)>(dlsym(handle, "KR_VideoOffscreen"))(64, 48, 8, 0);
    reinterpret_cast<int32_t (*)(int32_t, int32_t)>(dlsym(handle, "KR_VideoLive"))(1, 0);
  }
  using ConvertPixelExport = void (*)(int32_t, int32_t, int32_t, const void*, void*, const uint8_t*);
  using LoadFileExport = int32_t (*)(const char*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                     uint8_t*, int32_t);
  void* handle;
  int32_t (*getVideoType)();
  int32_t (*getSaaRegister)(int32_t);
  ConvertPixelExport convertPixel;
  LoadFileExport loadFile;
  int32_t (*setMiscParm)(int16_t, intptr_t);
  using EnableIrqExport = int32_t (*)(int32_t, int32_t, int32_t, void (*)());
  EnableIrqExport enableIrq;
  int32_t (*getFieldType)();
  int32_t (*waitMs)(int32_t);
};
SharedObject& So() {
  static SharedObject so;
  return so;
}

// The core on its own simulated board, located.
struct Core {
  Core() : profile(std::make_shared<MemoryProfileFiles>()), sim(clock) {
    LibraryServices services;
    services.clock = &clock;
    services.device = &sim;
    services.display = &sim.Display();
    services.profile = &profile;
    lib = std::make_unique<Library>(services);
    Locate(*lib);
    LoadConfig(*lib);
    Init(*lib);
  }
  VirtualClock clock;
  PrivateProfile profile;
  sim::SimBoard sim;
  std::unique_ptr<Library> lib;
};
Core& TheCore() {
  static Core core;
  return core;
}

void BM_ExportGetVideoType(benchmark::State& state) {
  auto* f = So().getVideoType;
  for (auto _ : state) benchmark::DoNotOptimize(f());
}
BENCHMARK(BM_ExportGetVideoType);

void DoNothing() {}

// The same export while an interrupt worker waits for the board.
void BM_ExportGetVideoTypeWithWorker(benchmark::State& state) {
  SharedObject& so = So();
  so.enableIrq(0, 0, 1, DoNothing);
  auto* f = so.getVideoType;
  for (auto _ : state) benchmark::DoNotOptimize(f());
  so.enableIrq(0, 0, 0, nullptr);
}
BENCHMARK(BM_ExportGetVideoTypeWithWorker);

// The program calls KR_WaitMS(20) back to back while live video raises an interrupt each
// field; the callback asks for the field. Reported: the callback's calls per program
// call, and how long they waited to come in (real time).
std::atomic<std::int64_t> g_waitedNs{0};
std::atomic<std::int64_t> g_longestNs{0};
std::atomic<std::int64_t> g_callbackCalls{0};
void AskForTheField() {
  const auto start = std::chrono::steady_clock::now();
  benchmark::DoNotOptimize(So().getFieldType());
  const std::int64_t ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now() - start).count();
  g_waitedNs += ns;
  if (ns > g_longestNs.load()) g_longestNs = ns;
  ++g_callbackCalls;
}

void BM_CallbackCallAmongBackToBackCalls(benchmark::State& state) {
  SharedObject& so = So();
  so.StartVideo();
  g_waitedNs = 0;
  g_longestNs = 0;
  g_callbackCalls = 0;
  so.enableIrq(0, 0, 1, AskForTheField);
  for (auto _ : state) so.waitMs(20);
  so.enableIrq(0, 0, 0, nullptr);
  const double calls = static_cast<double>(std::max<std::int64_t>(g_callbackCalls.load(), 1));
  state.counters["callbacks_per_call"] =
      static_cast<double>(g_callbackCalls.load()) / static_cast<double>(state.iterations());
  state.counters["callback_wait_us"] = static_cast<double>(g_waitedNs.load()) / calls / 1000.0;
  state.counters["longest_wait_us"] = static_cast<double>(g_longestNs.load()) / 1000.0;
}
BENCHMARK(BM_CallbackCallAmongBackToBackCalls)->Iterations(2000)->Unit(benchmark::kMicrosecond);

void BM_CoreGetVideoType(benchmark::State& state) {
  Library& lib = *TheCore().lib;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lib.Settings().video.type);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CoreGetVideoType);

void BM_ExportGetSaa7146Reg(benchmark::State& state) {
  auto* f = So().getSaaRegister;
  for (auto _ : state) benchmark::DoNotOptimize(f(0x48));
}
BENCHMARK(BM_ExportGetSaa7146Reg);

void BM_CoreGetSaa7146Reg(benchmark::State& state) {
  Library& lib = *TheCore().lib;
  for (auto _ : state) benchmark::DoNotOptimize(GetSaaRegister(lib, 0x48));
}
BENCHMARK(BM_CoreGetSaa7146Reg);

// KR_ConvertPixel through the shared object, as a program calls it.
void BM_ConvertPixelLine(benchmark::State& state) {
  auto* convert = So().convertPixel;
  const int from = static_cast<int>(state.range(0));
  const int to = static_cast<int>(state.range(1));
  constexpr int kPixels = 1600;
  std::vector<std::uint8_t> in(kPixels * 4), out(kPixels * 4);
  for (std::size_t i = 0; i < in.size(); ++i) in[i] = static_cast<std::uint8_t>(i * 13);
  for (auto _ : state) {
    convert(kPixels, from, to, in.data(), out.data(), nullptr);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_ConvertPixelLine)->Args({24, 16})->Args({16, 24})->Unit(benchmark::kMicrosecond);

// A 1024 x 768 24-bit run-length TGA: rows of runs and raw stretches.
std::string MakeRleTga() {
  const auto path = std::filesystem::temp_directory_path() /
                    ("korrin-bench-" + std::to_string(::getpid()) + ".tga");
  std::ofstream out(path, std::ios::binary);
  const unsigned char header[18] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 3, 24, 0x20};
  out.write(reinterpret_cast<const char*>(header), 18);
  for (int y = 0; y < 768; ++y) {
    for (int x = 0; x < 1024; x += 128) {
      const unsigned char run[4] = {0x80 | 63, static_cast<unsigned char>(y), static_cast<unsigned char>(x), 7};
      out.write(reinterpret_cast<const char*>(run), 4);
      out.put(static_cast<char>(63));
      for (int i = 0; i < 64; ++i) {
        const unsigned char bgr[3] = {static_cast<unsigned char>(i), static_cast<unsigned char>(y),
                                      static_cast<unsigned char>(x + i)};
        out.write(reinterpret_cast<const char*>(bgr), 3);
      }
    }
  }
  return path.string();
}

// KR_LoadFile through the shared object into a caller buffer.
void BM_LoadRleTga(benchmark::State& state) {
  SharedObject& so = So();
  static const std::string file = MakeRleTga();
  so.setMiscParm(14, 24);
  std::vector<std::uint8_t> buffer(1024 * 768 * 3);
  for (auto _ : state) {
    if (so.loadFile(file.c_str(), 0, 0, 0, 0, 0, buffer.data(), -1) != 0) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(buffer.data());
  }
}
BENCHMARK(BM_LoadRleTga)->Unit(benchmark::kMillisecond);

}  // namespace
