#pragma once
// A library on a simulated machine, all on one virtual clock. The clock's watchdog
// aborts a test whose virtual time passes one hour, so an unbounded wait cannot hang.
// While the board lives, the C exports (and the callbacks handed to plug-ins) reach it.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "cards/korrin/LibraryInstance.h"
#include "cards/korrin/hardware/EepromImage.h"
#include "cards/korrin/session/Library.h"
#include "cards/korrin/session/Startup.h"
#include "cards/korrin/sim/SimBoard.h"
#include "platform/clock/VirtualClock.h"
#include "platform/process/PriorityService.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/ui/ClipboardService.h"
#include "platform/ui/TimerService.h"

namespace orvale::korrin::test {

// For what another thread does (an interrupt worker): true once `done` holds, false when
// it still does not after about two seconds.
inline bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 2000; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

// An export call with the name a test reports it by: a row of a table of calls.
struct NamedCall {
  const char* name;
  std::function<std::int32_t()> run;
};

// A board with an on-board controller of the given kind.
inline sim::SimOptions WithController(sim::ControllerKind kind) {
  sim::SimOptions options;
  options.controllers = {kind};
  return options;
}

struct TestBoard {
  explicit TestBoard(sim::SimOptions options = {})
      : profile(files), timers(clock), sim(clock, options), lib(library.emplace(Services())), exports(lib) {
    profile.SetRoot("/korrin-test");
  }

  // Ends the library as unloading it would; `lib` is gone afterwards.
  void DestroyLibrary() { library.reset(); }

  LibraryServices Services() {
    LibraryServices services;
    services.clock = &clock;
    services.device = &sim;
    services.display = &sim.Display();
    services.profile = &profile;
    services.priority = &priority;
    services.timers = &timers;
    services.pluginFolder = KORRIN_TEST_PLUGIN_DIR;  // where the fake format plug-ins are built
    services.clipboard = &clipboard;
    UseExportedCallbacks(services);
    return services;
  }

  // Sets a key of krg.ini's section "config".
  void SetIni(const char* key, const char* value) {
    profile.WriteString("config", key, value, "krg.ini");
  }

  sim::SimCard& Card(int index = 0) { return sim.Card(index); }
  sim::SimRegisters& Registers(int index = 0) { return sim.Card(index).Registers(); }

  // Fills the board's EEPROM with the image the library itself would write.
  void WriteEeprom(const EepromImage& image, int index = 0) {
    Card(index).Eeprom().Bytes() = EncodeEeprom(image);
  }
  // Locate, load the configuration, initialise: the start-up road before any video.
  void StartUp() {
    Locate(lib);
    LoadConfig(lib);
    Init(lib);
  }
  // The same on a board whose EEPROM carries `configId`.
  void StartUpWithConfig(std::uint32_t configId) {
    EepromImage image = DefaultEepromImage();
    image.configId = configId;
    WriteEeprom(image);
    StartUp();
  }

  VirtualClock clock;
  std::shared_ptr<MemoryProfileFiles> files = std::make_shared<MemoryProfileFiles>();
  PrivateProfile profile;
  RecordingPriority priority;
  PumpedTimerService timers;
  MemoryClipboard clipboard;
  sim::SimBoard sim;
  std::optional<Library> library;
  Library& lib;
  ScopedLibraryOverride exports;
};

}  // namespace orvale::korrin::test
