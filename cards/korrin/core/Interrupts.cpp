#include "cards/korrin/core/Interrupts.h"

#include "cards/korrin/core/IrqMachinery.h"
#include "cards/korrin/core/Saa7146.h"
#include "cards/korrin/core/Status.h"

namespace orvale::korrin {
namespace {

constexpr std::uint32_t kFieldBit = 0x100;

std::uint32_t SourceBit(const BoardSettings& s, std::int32_t source) {
  if (source == 0) return kFieldBit;
  return s.controller.present ? 0x20 : 0x08;
}

void SwitchSource(Library& lib, std::int32_t source, std::int32_t argument, bool on) {
  BoardSettings& s = lib.Settings();
  RegisterWindow& regs = lib.Live().Registers();
  if (source == 2) {
    const std::uint32_t gpio = s.controller.present ? (on ? 0x200000u : 0u) : (on ? 0x50500020u : 0x50500000u);
    regs.Write32(saa::kGpio, gpio);
  }
  const std::uint32_t bit = SourceBit(s, source);
  DeviceSession& session = *lib.Live().resources.session;
  if (on) {
    regs.Write32(saa::kIrqStatus, bit);
    regs.Write32(saa::kIrqEnable, bit);
    session.EnableIrq(source, argument);
  } else {
    session.DisableIrq(source);
    regs.Write32(saa::kIrqEnable, 0);
    regs.Write32(saa::kIrqStatus, bit);
  }
}

}  // namespace

std::int32_t EnableIrq(Library& lib, std::int32_t source, std::int32_t argument, std::int32_t type,
                       KR_IrqCallback callback) {
  if (!lib.Live().Located() || (source != 0 && source != 2) || type < 0 || type > 3) return kFail;
  if (type == 1 && callback == nullptr) return kFail;
  BoardResources& res = lib.Live().resources;
  auto& irq = res.irq;
  switch (type) {
    case 3:
      SwitchSource(lib, source, argument, true);
      return kOk;
    case 2:
      SwitchSource(lib, source, argument, false);
      return kOk;
    case 1:
      if (irq && irq->Stopped() && !irq->OnWorker()) irq.reset();  // a worker stopped from its callback
      if (irq && !irq->Stopped()) {
        irq->SetCallback(callback);
      } else if (!irq) {
        irq.reset(new IrqMachinery(*res.session, callback));
      }
      SwitchSource(lib, source, argument, true);
      return kOk;
    default:
      SwitchSource(lib, source, argument, false);
      if (irq) {
        irq->Stop();
        if (!irq->OnWorker()) irq.reset();
      }
      return kOk;
  }
}

std::int32_t ClearIrq(Library& lib, std::int32_t source, std::int32_t) {
  if (!lib.Live().Located()) return kFail;
  lib.Live().Registers().Write32(saa::kIrqStatus, 0x1F8);
  return StatusOf(lib.Live().resources.session->ClearIrq(source));
}

std::int32_t GetIrqNumber(Library& lib) {
  BoardSettings& s = lib.Settings();
  if (!lib.Live().Located()) return kFail;
  if (s.frame.irqNumber < 0 && s.frame.saaHandle != 0) {
    if (const auto dword = lib.Device().ReadConfigDword(s.frame.saaHandle, saa::kPciInterruptLine)) {
      s.frame.irqNumber = static_cast<std::int32_t>(*dword & 0xF);
    }
  }
  return s.frame.irqNumber;
}

void StopInterrupts(Library& lib) {
  BoardResources& res = lib.Live().resources;
  if (!lib.Live().Located()) {
    res.irq.reset();
    return;
  }
  if (res.irq) {
    SwitchSource(lib, 0, 0, false);
    res.session->DisableIrq(2);
    res.irq->Stop();
  }
  res.irq.reset();
}

}  // namespace orvale::korrin
