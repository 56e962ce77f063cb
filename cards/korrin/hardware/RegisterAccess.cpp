#include "cards/korrin/hardware/RegisterAccess.h"

#include "cards/korrin/hardware/LocalBus.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/hardware/TimingDevice.h"

namespace orvale::korrin {
namespace {

constexpr std::int32_t kLocalBus = 4;
constexpr std::int32_t kTimingDevice = 1;

bool ValidLocalAddress(std::int32_t address) { return address >= 0 && address <= 0xFFFF; }

bool ValidOffset(RegisterWindow& regs, std::int32_t offset) {
  return offset >= 0 && offset % 4 == 0 && static_cast<std::uint32_t>(offset) + 4 <= regs.Size();
}

}  // namespace

std::int32_t GetMiscReg(Library& lib, std::int32_t kind, std::int32_t address) {
  if (!lib.Live().Located() || kind != kLocalBus || !ValidLocalAddress(address)) return kFail;
  return static_cast<std::int32_t>(LocalBus(lib).Read(static_cast<std::uint32_t>(address)));
}

std::int32_t SetMiscReg(Library& lib, std::int32_t kind, std::int32_t reg, std::int32_t value) {
  if (!lib.Live().Located()) return kFail;
  if (kind == kLocalBus && ValidLocalAddress(reg)) {
    LocalBus(lib).Write(static_cast<std::uint32_t>(reg), static_cast<std::uint32_t>(value));
    return kOk;
  }
  if (kind == kTimingDevice && reg >= 0 && reg <= 31) {
    WriteTimingRegister(lib, reg, static_cast<std::uint16_t>(value));
    return kOk;
  }
  return kFail;
}

std::int32_t GetSaaRegister(Library& lib, std::int32_t offset) {
  RegisterWindow* regs = lib.LocatedRegisters();
  if (regs == nullptr || !ValidOffset(*regs, offset)) return kFail;
  return static_cast<std::int32_t>(regs->Read32(static_cast<std::uint32_t>(offset)));
}

std::int32_t SetSaaRegister(Library& lib, std::int32_t offset, std::uint32_t value) {
  RegisterWindow* regs = lib.LocatedRegisters();
  if (regs == nullptr || !ValidOffset(*regs, offset)) return kFail;
  regs->Write32(static_cast<std::uint32_t>(offset), value);
  return kOk;
}

}  // namespace orvale::korrin
