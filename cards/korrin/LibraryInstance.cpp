#include "cards/korrin/LibraryInstance.h"

#include <QCoreApplication>
#include <dlfcn.h>
#include <pthread.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "cards/korrin/interrupts/Interrupts.h"
#include "cards/korrin/sim/SimBoard.h"
#include "korrin32.h"
#include "platform/clock/SystemClock.h"
#include "platform/clock/VirtualClock.h"
#include "platform/process/PriorityService.h"
#include "platform/ui/QtClipboardService.h"
#include "platform/ui/QtTimerService.h"

namespace orvale::korrin {
namespace {

Library* g_override = nullptr;

std::filesystem::path OwnFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&KR_Locate), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  return std::filesystem::absolute(info.dli_fname).parent_path();
}

// Qt's timers, made only when the first timer starts in a program that has a
// QCoreApplication: a QObject made earlier would make Qt set up the thread, which a
// program without Qt then loses each time it unloads the library.
class QtTimersWhenNeeded final : public TimerService {
 public:
  TimerId Start(std::uint32_t intervalMs, Callback callback) override {
    if (QCoreApplication::instance() == nullptr) return 0;
    if (!timers_) timers_ = std::make_unique<QtTimerService>();
    return timers_->Start(intervalMs, std::move(callback));
  }
  bool Kill(TimerId id) override { return timers_ && timers_->Kill(id); }
  void ProcessDue() override {
    if (timers_) timers_->ProcessDue();
  }

 private:
  std::unique_ptr<QtTimerService> timers_;
};

// Nothing but atomics: it is never torn down, so a call that comes after the teardown
// still finds it, and there learns that the library is closed.
constinit CallGate g_gate;

// Everything the process-wide library runs on, destroyed after the library.
struct Backend {
  std::unique_ptr<Clock> clock;
  std::unique_ptr<sim::SimBoard> simBoard;
  NoDevice noDevice;
  ScreenDisplayService screen;
  PrivateProfile profile;
  ThreadPriority priority;
  QtTimersWhenNeeded timers;
  QtClipboardService clipboard;
  std::unique_ptr<Library> library;

  Backend() {
    LibraryServices services;
    const char* choice = std::getenv(kDeviceVariable);
    if (choice != nullptr && std::string_view(choice) == "sim") {
      auto virtualClock = std::make_unique<VirtualClock>();
      // A program may drive the board for hours: the watchdog that stops a runaway
      // test must never end it.
      virtualClock->SetWatchdog(UINT64_MAX);
      simBoard = std::make_unique<sim::SimBoard>(*virtualClock);
      services.device = simBoard.get();
      services.display = &simBoard->Display();
      clock = std::move(virtualClock);
    } else {
      clock = std::make_unique<SystemClock>();
      services.device = &noDevice;
      services.display = &screen;
    }
    services.clock = clock.get();
    services.profile = &profile;
    services.priority = &priority;
    services.timers = &timers;
    services.pluginFolder = OwnFolder();
    services.clipboard = &clipboard;
    services.gate = &g_gate;
    UseExportedCallbacks(services);
    library = std::make_unique<Library>(std::move(services));
  }
};

// Under g_gate.
Backend* g_backend = nullptr;
bool g_closed = false;
WorkersPaused g_pausedForFork;
// In a child forked from inside a callback: the parent's workers, which the child does
// not have, are still on the records.
bool g_threadsLeftBehind = false;

class LibraryClosed : public std::runtime_error {
 public:
  LibraryClosed() : std::runtime_error("korrin32 has been torn down") {}
};

void TearDown() {
  std::lock_guard inside(g_gate);
  // The threads the teardown would wait for are the parent's; the process's end frees all.
  if (g_threadsLeftBehind) return;
  if (g_closed || g_backend == nullptr) return;
  g_closed = true;
  try {
    g_backend->library->CleanUpAll();
  } catch (...) {
  }
  // A call in progress on another thread still holds parts of it; it fails once back in.
  if (!g_gate.Alone()) return;
  delete g_backend;
  g_backend = nullptr;
}

// A fork takes the gate, so the child gets the library between two calls, and stops the
// interrupt workers, so no thread of the library is missing in the child halfway through
// a wait; the parent starts them again.
void BeforeFork() {
  g_gate.lock();
  if (g_backend == nullptr || g_closed) return;
  try {
    g_pausedForFork = PauseWorkers(*g_backend->library);
  } catch (...) {
  }
}
void AfterForkInParent() {
  if (g_backend != nullptr && !g_closed) {
    try {
      ResumeWorkers(*g_backend->library, std::move(g_pausedForFork));
    } catch (...) {
    }
  }
  g_pausedForFork = {};
  g_gate.unlock();
}
void AfterForkInChild() {
  // The threads that waited at the gate are the parent's.
  g_gate.ForgetOtherThreads();
  g_threadsLeftBehind = g_threadsLeftBehind || !g_pausedForFork.all;
  g_pausedForFork = {};
  g_gate.unlock();
}

// Registered as the library is loaded, before any call can come in: a fork during the
// first call waits for it, as for any other.
[[maybe_unused]] const int g_forkHandlers = pthread_atfork(BeforeFork, AfterForkInParent, AfterForkInChild);

// Under g_gate.
Library& Open() {
  if (g_closed) throw LibraryClosed();
  if (g_backend == nullptr) {
    g_backend = new Backend;
    // Made now, torn down at unload or exit before what was made before it.
    static const struct TearDownAtExit {
      ~TearDownAtExit() { TearDown(); }
    } tearDown;
  }
  return *g_backend->library;
}

}  // namespace

void UseExportedCallbacks(LibraryServices& services) {
  services.putRow = &KR_PutImgRowProc;
  services.getRow = &KR_GetImgRowProc;
  services.hook = &HookFilterFunc;
  services.hookMulti = &HookFilterFuncMulti;
  services.trackingTimer = &KR_AWTimeProc;
  services.blitTimer = &AutoBlitProc;
  services.blitTimerMulti = &AutoBlitProcMulti;
}

LibraryCall::LibraryCall() : gate_(g_override != nullptr ? g_override->Gate() : g_gate) {
  gate_.lock();
  if (g_override != nullptr) return;
  try {
    Open();
  } catch (...) {
    gate_.unlock();
    throw;
  }
}

LibraryCall::~LibraryCall() { gate_.unlock(); }

Library& TheLibrary() { return g_override != nullptr ? *g_override : *g_backend->library; }

ScopedLibraryOverride::ScopedLibraryOverride(Library& library) : previous_(g_override) {
  g_override = &library;
}
ScopedLibraryOverride::~ScopedLibraryOverride() { g_override = previous_; }

}  // namespace orvale::korrin
