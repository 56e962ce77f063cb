#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/session/Status.h"

namespace orvale::korrin {

std::int32_t PciConfig(Library& lib, std::int32_t operation, std::int32_t a, std::int32_t b,
                       std::int32_t c) {
  // PCI requests go through the driver, which is open only while the board is located.
  if (!lib.Live().Located()) return kFail;
  DeviceAccess& device = lib.Device();
  const auto handle = static_cast<std::uint16_t>(a);
  switch (operation) {
    case 0:
      return static_cast<std::int16_t>(
          device.FindDevice(static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b), c));
    case 1: {
      const auto value = device.ReadConfigDword(handle, b);
      return value ? static_cast<std::int32_t>(*value) : kFail;
    }
    case 2:
      return StatusOf(device.WriteConfigDword(handle, b, static_cast<std::uint32_t>(c)));
    case 3:
      return static_cast<std::int16_t>(device.FindClass(static_cast<std::uint32_t>(a), 0));
    default:
      return kFail;
  }
}

}  // namespace orvale::korrin
