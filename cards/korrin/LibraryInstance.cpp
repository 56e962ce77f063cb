#include "cards/korrin/LibraryInstance.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

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

// Everything the process-wide library runs on, destroyed after the library.
struct Backend {
  std::unique_ptr<Clock> clock;
  std::unique_ptr<sim::SimBoard> simBoard;
  NoDevice noDevice;
  ScreenDisplayService screen;
  PrivateProfile profile;
  ThreadPriority priority;
  QtTimerService timers;
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
    UseExportedCallbacks(services);
    library = std::make_unique<Library>(std::move(services));
  }
};

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

Library& TheLibrary() {
  if (g_override != nullptr) return *g_override;
  static Backend backend;
  return *backend.library;
}

ScopedLibraryOverride::ScopedLibraryOverride(Library& library) : previous_(g_override) {
  g_override = &library;
}
ScopedLibraryOverride::~ScopedLibraryOverride() { g_override = previous_; }

}  // namespace orvale::korrin
