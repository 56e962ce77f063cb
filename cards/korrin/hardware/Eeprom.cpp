#include "cards/korrin/hardware/Eeprom.h"

#include "cards/korrin/hardware/Decoder.h"
#include "cards/korrin/hardware/I2cBus.h"
#include "cards/korrin/session/Status.h"
#include "platform/clock/Deadline.h"

namespace orvale::korrin {
namespace {

constexpr std::uint32_t kWriteCycleTimeoutMs = 5000;

// Writes one byte and waits, within the time-out, until the EEPROM answers again; the
// byte read back must be the one written.
bool WriteEepromByte(I2cBus& bus, Clock& clock, int index, std::uint8_t value) {
  if (!bus.Write(kEepromWrite, index, value)) return false;
  std::optional<std::uint8_t> readBack;
  PollUntil(clock, kWriteCycleTimeoutMs, [&] {
    readBack = bus.Read(kEepromRead, index);
    return readBack.has_value();
  });
  return readBack == value;
}

}  // namespace

bool LoadBoardEeprom(Library& lib) {
  FillDecoderDefaults(lib);
  FrameSettings& frame = lib.Settings().frame;
  I2cBus bus(lib.Live().Registers(), lib.GetClock());
  EepromBytes bytes{};
  bool complete = true;
  for (int i = 0; i < kEepromSize && complete; ++i) {
    const auto byte = bus.Read(kEepromRead, i);
    complete = byte.has_value();
    bytes[i] = byte.value_or(0);
  }
  const EepromImage image = DecodeEeprom(bytes);
  if (complete && image.Valid()) {
    frame.eeprom = image;
    frame.value16 = image.value16;
    frame.configId = image.configId;
    frame.value32 = image.value32;
    return true;
  }
  frame.eeprom = DefaultEepromImage();
  frame.configId = kDefaultConfigId;
  frame.value16 = 0;
  frame.value32 = 0;
  return false;
}

std::int32_t SaveConfigToEeprom(Library& lib, std::int16_t key, std::int16_t value16,
                                std::int32_t value32, std::int32_t configId) {
  if (static_cast<std::uint16_t>(key) != kEepromSignature) return kFail;
  RegisterWindow* regs = lib.LocatedRegisters();
  FrameSettings& frame = lib.Settings().frame;
  if (regs == nullptr || !frame.ConfigLoaded()) return kFail;

  EepromImage image = DefaultEepromImage();
  image.value16 = value16 == -1 ? frame.value16 : static_cast<std::uint16_t>(value16);
  image.value32 = value32 == -1 ? frame.value32 : static_cast<std::uint32_t>(value32);
  image.configId = configId == -1 ? frame.configId : static_cast<std::uint32_t>(configId);
  StoreDecoderValues(lib, image);
  const EepromBytes bytes = EncodeEeprom(image);

  I2cBus bus(*regs, lib.GetClock());
  Clock& clock = lib.GetClock();
  if (!WriteEepromByte(bus, clock, 0, 0)) return kFail;
  for (int i = 2; i < kEepromSize; ++i) {
    if (!WriteEepromByte(bus, clock, i, bytes[i])) return kFail;
  }
  if (!WriteEepromByte(bus, clock, 1, bytes[1]) || !WriteEepromByte(bus, clock, 0, bytes[0])) {
    return kFail;
  }
  frame.eeprom = image;
  frame.value16 = image.value16;
  frame.value32 = image.value32;
  frame.configId = image.configId;
  return kOk;
}

}  // namespace orvale::korrin
