#include "cards/korrin/core/VideoConfig.h"

#include "cards/korrin/core/I2cBus.h"
#include "cards/korrin/core/Status.h"

namespace orvale::korrin {

std::int32_t SetIrisLevel(Library& lib, std::int32_t level) {
  RegisterWindow* regs = lib.LocatedRegisters();
  if (regs == nullptr || (lib.Settings().frame.configId & config::kIris) == 0) return kFail;
  if (level < 0 || level > 4095) return kFail;
  I2cBus bus(*regs, lib.GetClock());
  const bool ok = bus.Write(kGainDevice, 241, static_cast<std::uint8_t>(~level & 0x3F)) &&
                  bus.Write(kGainDevice, 240, static_cast<std::uint8_t>(((level >> 6) & 0x3F) ^ 0x3F));
  return StatusOf(ok);
}

}  // namespace orvale::korrin
