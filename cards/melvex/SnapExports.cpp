// The snap: programming crop and scale, starting a capture and waiting for it, with the
// flash and the external trigger. Every wait is bounded: 100 wait units for a status
// bit, 500 polls per tick, the trigger's time-out on the device clock.
#include <algorithm>

#include "cards/melvex/DeviceRequests.h"
#include "cards/melvex/DigitizerLimits.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "platform/clock/Deadline.h"

namespace orvale::melvex {

namespace {

constexpr std::uint8_t kBusyBit = 0x10;
constexpr std::uint8_t kFieldBit = 0x40;
constexpr std::uint8_t kExposureBit = 0x80;
constexpr std::uint8_t kTickBit = 0x01;
constexpr int kMaxWaitUnits = 100;
constexpr int kPollsPerTick = 500;
constexpr int kMaxRegisterDelay = 1023;  // hdelay has ten bits

std::uint8_t CaptureMode(const CardSession& session) {
  return static_cast<std::uint8_t>((session.interlaced ? 0x08 : 0) | (session.monochrome ? 0x20 : 0));
}

// The digitizer's crop and scale for a request, worked out before anything is written.
struct Programming {
  int h = 0;  // samples per line the digitizer makes
  int g = 0;  // lines it makes
  int t = 0;  // horizontal delay
  int hscale = 0;
  int vscale = 0;
  int v = 0;  // vertical delay
  int m = 0;  // vertical active lines
  int lineSkip = 0;
  int he = 0;
};

Programming Program(const ZlpSnapRequest& r, bool interlaced, bool narrow, int standard) {
  Programming p;
  p.h = std::min(r.xPixels, r.xActive);
  p.g = std::min(r.yPixels, r.yActive);
  if (narrow) {
    p.h = std::min(p.h, kNarrowLineLimit);
    p.g = std::min(p.g, kNarrowLineLimit);
  }
  p.hscale = r.xActive * 4096 / p.h - 4096;
  p.t = p.h * (HorizontalBase(standard) + r.xOffset) / r.xActive;
  p.vscale = (512 - r.yActive * 512 / p.g) & 0x1FFF;
  p.v = r.yOffset + 2;
  p.m = r.yActive;
  if (!interlaced) {
    p.v *= 2;
    p.m *= 2;
  }
  if (p.v & 1) {
    p.v -= 1;
    p.m += 1;
    p.lineSkip = 1;
  }
  p.he = p.h + (p.h & 1);
  return p;
}

}  // namespace

void ZelvoLibrary::WaitTicks(int units) {
  const int ticksPerUnit = current_ != nullptr && current_->videoStandard == k625Line ? 118 : 97;
  const std::uint8_t mode = ReadControlStatus() & 0x28;
  for (int i = 0; i < units * ticksPerUnit; ++i) {
    WriteControlStatus(mode);
    bool ticked = false;
    for (int poll = 0; poll < kPollsPerTick && !ticked; ++poll) {
      ticked = (ReadControlStatus() & kTickBit) != 0;
    }
    if (!ticked) return;
  }
}

bool ZelvoLibrary::WaitWhileStatus(std::uint8_t mask, bool set) {
  for (int unit = 0;; ++unit) {
    if (((ReadControlStatus() & mask) != 0) != set) return true;
    if (unit == kMaxWaitUnits) return false;
    WaitTicks(1);
  }
}

bool ZelvoLibrary::WriteControlSequence(std::initializer_list<std::uint8_t> values) {
  for (std::uint8_t value : values) {
    if (!WriteControlStatus(value)) return false;
  }
  return true;
}

bool ZelvoLibrary::ResetReadoutPointer() { return WriteControlSequence({control::kResetPointer, 0}); }

bool ZelvoLibrary::AdvanceReadoutPointer() { return WriteControlSequence({control::kAdvancePointer, 0}); }

void ZelvoLibrary::CallFlash(CardSession& session, int phase) {
  if (!session.builtInFlash) {
    session.flashRoutine(phase);
    return;
  }
  if ((phase & session.flashType) == 0) return;
  device_.windowWrite8(kFlashTriggerOffset, phase == 1 ? 1 : 3);
  WaitTicks(1);
  device_.windowWrite8(kFlashTriggerOffset, 0);
}

std::int32_t ZelvoLibrary::ZLP_prepareSnap(const ZlpSnapRequest* request) {
  ExportScope scope(*this, export_name::ZLP_prepareSnap);
  CardSession* session = Current();
  if (session == nullptr) return Fail(code::kNotInitialised);
  if (!session->configured) return Fail(code::kNotConfigured);
  if (request == nullptr) return Fail(code::kBadPointer);
  const ZlpSnapRequest& r = *request;
  const ZlpLimits limits = LimitsOf(session->videoStandard);
  const bool interlaced = r.interlaced != 0;
  if (r.xActive == 0 || r.xPixels == 0 || r.xOffset + r.xActive > limits.xMax ||
      r.xPixels > limits.xPixelsMax || r.xPixels * limits.xScaleDen < r.xActive * limits.xScaleNum) {
    return Fail(code::kWidthOutOfRange);
  }
  if (r.yActive == 0 || r.yPixels == 0 || (r.yOffset + r.yActive) * (interlaced ? 1 : 2) > limits.yMax ||
      r.yPixels > limits.yPixelsMax || r.yPixels * limits.yScaleDen < r.yActive * limits.yScaleNum) {
    return Fail(code::kHeightOutOfRange);
  }
  const Programming p = Program(r, interlaced, session->narrowOutput, session->videoStandard);
  // A delay past ten bits would spill into the neighbouring fields of register 3.
  if (p.t > kMaxRegisterDelay) return Fail(code::kWidthOutOfRange);

  session->ClearSnapFlags();
  session->outWidth = r.xPixels;
  session->outHeight = r.yPixels;
  session->hwWidth = p.h;
  session->hwHeight = p.g;
  session->oddStart = (p.t & 1) != 0;
  session->lineSkip = p.lineSkip;
  session->interlaced = interlaced;
  session->monochrome = r.monochrome != 0;
  const auto byte = [](int value) { return static_cast<std::uint8_t>(value & 0xFF); };
  const bool crop = WriteRegisters(
      3, {byte((p.he >> 8) + ((p.t >> 8) << 2) + ((p.m >> 8) << 4) + ((p.v >> 8) << 6)), byte(p.v),
          byte(p.m), byte(p.t), byte(p.he), byte(p.hscale >> 8), byte(p.hscale)});
  const bool vertical =
      crop && WriteRegisters(19, {byte((p.vscale >> 8) | (p.he <= 768 ? 0x40 : 0x80) | (interlaced ? 0x20 : 0)),
                                  byte(p.vscale)});
  std::uint8_t control = 0;
  const bool wide = vertical && ReadRegister(11, control) &&
                    WriteRegisters(11, {byte((control & ~0x20) | (2 * r.xPixels >= r.xActive ? 0x20 : 0))});
  if (!wide) return Fail(code::kLostContact);
  session->prepared = true;
  return code::kOk;
}

std::int32_t ZelvoLibrary::BeginSnap(CardSession*& session) {
  session = Current();
  if (session != nullptr) {
    session->started = session->finished = session->readoutStarted = false;
  }
  if (session == nullptr) return Fail(code::kNotInitialised);
  if (!session->prepared) return Fail(code::kSnapNotPrepared);
  return code::kOk;
}

std::int32_t ZelvoLibrary::WaitNotBusyAndFinish(CardSession& session) {
  if (!WaitWhileStatus(kBusyBit, true)) return Fail(code::kNoSignal);
  if (!ResetReadoutPointer()) return code::kLostContact;
  session.finished = true;
  session.started = false;
  session.ForgetCachedLines();
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_startSnap() {
  ExportScope scope(*this, export_name::ZLP_startSnap);
  CardSession* session = nullptr;
  if (const std::int32_t rc = BeginSnap(session)) return rc;
  const std::uint8_t mode = CaptureMode(*session);
  if (!WriteControlSequence({control::kResetPointer, 0, static_cast<std::uint8_t>(mode | control::kCapture), mode})) {
    return code::kLostContact;
  }
  session->started = true;
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_finishSnap() {
  ExportScope scope(*this, export_name::ZLP_finishSnap);
  CardSession* session = Current();
  if (session != nullptr) session->finished = session->readoutStarted = false;
  if (session == nullptr) return Fail(code::kNotInitialised);
  if (!session->started) return Fail(code::kSnapNotStarted);
  return WaitNotBusyAndFinish(*session);
}

std::int32_t ZelvoLibrary::ZLP_flashSnap() {
  ExportScope scope(*this, export_name::ZLP_flashSnap);
  CardSession* session = nullptr;
  if (const std::int32_t rc = BeginSnap(session)) return rc;
  const bool flash = session->FlashEnabled();
  if (flash && (session->flashType & 1)) {
    // Flash before the exposure: at the start of a field, after the delay.
    if (!WaitWhileStatus(kFieldBit, true) || !WaitWhileStatus(kFieldBit, false)) {
      return Fail(code::kNoSignal);
    }
    WaitTicks(session->flashDelay);
    CallFlash(*session, 1);
  }
  const std::uint8_t mode = CaptureMode(*session);
  if (!WriteControlSequence({control::kResetPointer, 0, static_cast<std::uint8_t>(mode | control::kCapture)})) {
    return code::kLostContact;
  }
  if (!WaitWhileStatus(kExposureBit, false)) return Fail(code::kNoSignal);
  if (!WriteControlStatus(mode)) return code::kLostContact;
  if (flash && (session->flashType & 2)) {
    WaitTicks(session->flashDelay);
    CallFlash(*session, 2);
  }
  return WaitNotBusyAndFinish(*session);
}

std::int32_t ZelvoLibrary::ZLP_extTrigSnap(std::uint16_t timeoutMs) {
  ExportScope scope(*this, export_name::ZLP_extTrigSnap);
  CardSession* session = nullptr;
  if (const std::int32_t rc = BeginSnap(session)) return rc;
  // Without a trigger the capture goes ahead once the time-out has passed.
  PollUntil(device_.clock(), timeoutMs,
            [&] { return (device_.windowRead8(kFlashTriggerOffset) & 1) != 0; });
  if (!WaitWhileStatus(kFieldBit, false)) return Fail(code::kNoSignal);
  const std::uint8_t mode = CaptureMode(*session);
  if (!WriteControlSequence({control::kResetPointer, 0, static_cast<std::uint8_t>(mode | control::kCapture), mode})) {
    return code::kLostContact;
  }
  return WaitNotBusyAndFinish(*session);
}

}  // namespace orvale::melvex
