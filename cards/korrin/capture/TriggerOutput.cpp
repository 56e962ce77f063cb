#include "cards/korrin/capture/TriggerOutput.h"

#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/hardware/LocalBus.h"
#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin {

bool WriteTriggerOutput(Library& lib, std::uint32_t value) {
  BoardSettings& s = lib.Settings();
  const bool on = (value & 1) != 0;
  s.triggerOutput = value;
  if (!s.controller.present) {
    RegisterWindow& regs = lib.Live().Registers();
    const std::uint32_t kept = regs.Read32(saa::kGpio) & 0x500000;
    regs.Write32(saa::kGpio, kept | (on ? 0x50000000 : 0x40000000));
    return true;
  }
  if (s.frame.configId & config::kControllerGate) return ControllerOutputs(lib, on ? 1 : 0, 1);
  LocalBus bus(lib);
  const std::uint32_t current = bus.Read(0xEC00);
  bus.Write(0xFC00, on ? (current | 0x10) : (current & 0xEF));
  return true;
}

std::uint32_t TriggerOutputState(Library& lib) { return lib.Settings().triggerOutput; }

}  // namespace orvale::korrin
