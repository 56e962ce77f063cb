#pragma once
// A library on a simulated machine, all on one virtual clock. The clock's watchdog
// aborts a test whose virtual time passes one hour, so an unbounded wait cannot hang.
#include <map>
#include <optional>
#include <string>

#include "cards/korrin/core/Library.h"
#include "cards/korrin/core/Startup.h"
#include "cards/korrin/sim/SimBoard.h"
#include "platform/clock/VirtualClock.h"

namespace orvale::korrin::test {

struct TestBoard {
  explicit TestBoard(sim::SimOptions options = {})
      : sim(clock, options), lib(library.emplace(Services())) {}

  // Ends the library as unloading it would; `lib` is gone afterwards.
  void DestroyLibrary() { library.reset(); }

  LibraryServices Services() {
    LibraryServices services;
    services.clock = &clock;
    services.device = &sim;
    services.display = &sim.Display();
    services.krgIni = [this](const std::string& key, const std::string& fallback) {
      const auto it = ini.find(key);
      return it == ini.end() ? fallback : it->second;
    };
    return services;
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

  VirtualClock clock;
  std::map<std::string, std::string> ini;
  sim::SimBoard sim;
  std::optional<Library> library;
  Library& lib;
};

}  // namespace orvale::korrin::test
