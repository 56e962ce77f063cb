#include "cards/korrin/hardware/TimingDevice.h"

#include "cards/korrin/hardware/LocalBus.h"

namespace orvale::korrin {

void WriteTimingRegister(Library& lib, int reg, std::uint16_t value) {
  LocalBus bus(lib);
  const std::uint32_t control = bus.Read(0xFA00) & ~0x2u;
  bus.Write(0xFA00, control);
  bus.Write(0xF001, 0xF000u | static_cast<std::uint32_t>(reg & 0x1F));
  bus.Write(0xFA00, control | 0x2);
  bus.Write(0xF000, value & 0xFF);
  bus.Write(0xF001, value >> 8);
  bus.Write(0xFA00, control);
}

}  // namespace orvale::korrin
