#include "cards/korrin/capture/CaptureGate.h"

#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin {

bool GateCapture(Library& lib, bool open) {
  BoardSettings& s = lib.Settings();
  if (s.controller.present && (s.frame.configId & config::kControllerGate)) {
    return RunControllerCommand(lib, {controller::kGate, std::nullopt, {static_cast<std::uint8_t>(open ? 1 : 0), 0}, 2, 160});
  }
  RegisterWindow& regs = lib.Live().Registers();
  const std::uint32_t gpio = regs.Read32(saa::kGpio) & ~0x00500000u;
  regs.Write32(saa::kGpio, gpio | (open ? 0x00500000u : 0x00400000u));
  return true;
}

}  // namespace orvale::korrin
