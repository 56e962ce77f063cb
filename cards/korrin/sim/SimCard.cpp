#include "cards/korrin/sim/SimCard.h"

#include <chrono>
#include <thread>

#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin::sim {
namespace {

// How long the board waits for a waiting interrupt thread to take a signal: far more
// than a wake-up takes, and never a hang.
constexpr std::chrono::milliseconds kIrqHandOver{100};

}  // namespace

SimCard::SimCard(VirtualClock& clock, SimMemory& memory, int index, ControllerKind controller,
                 std::uint32_t dmaBufferSize)
    : clock_(clock),
      memory_(memory),
      index_(index),
      kind_(controller),
      registers_([&clock] { return clock.PeekMs(); }),
      eeprom_([&clock] { return clock.PeekMs(); }),
      localBus_([&clock] { return clock.PeekMs(); }),
      uart_([&clock] { return clock.PeekMs(); }),
      video_(registers_, memory, camera_),
      program_(
          registers_, memory, [this](std::uint32_t bits) { video_.Upload(bits); },
          [this] {
            registers_.RaiseStatus(kProgramSignalBit);
            SignalIrqIfPending();
          },
          [this](std::uint32_t condition) {
            const bool high = switchLevel(clock_.PeekMs()) != 0;
            return high != ((condition & 0x08000000) != 0);
          }),
      dmaBuffer_(dmaBufferSize),
      dmaAddress_(0x10000000u + static_cast<std::uint32_t>(index) * 0x01000000u) {
  registers_.SetWriteHook([this](std::uint32_t o, std::uint32_t v) { OnWrite(o, v); });
  registers_.SetReadHook([this](std::uint32_t o, std::uint32_t s) { return OnRead(o, s); });
  i2c_.Attach(0xA0, &eeprom_);
  i2c_.Attach(0x9C, &decoder_);
  i2c_.Attach(0x4A, &gains_);
  i2c_.Attach(0x8A, &aux8A_);
  i2c_.Attach(0x40, &uart_.Control());
  i2c_.Attach(0x42, &uart_.Data());
  decoder_.status = [this] {
    if (!SignalOnSelectedInput()) return std::uint8_t{0x40};
    return camera_.fieldsPerSecond == 60 ? std::uint8_t{0x20} : std::uint8_t{0};
  };
  if (controller != ControllerKind::kNone) {
    controller_ = std::make_unique<SimController>([&clock] { return clock.PeekMs(); });
    i2c_.Attach(0xD6, controller_.get());
    controller_->switchState = [this](std::uint32_t timeMs) {
      return static_cast<std::uint8_t>(switchLevel(timeMs) != 0 ? 1 : 0);
    };
    if (controller == ControllerKind::kController) {
      localBus_.statusBits = [this] { return controller_->LineHigh() ? 0x10u : 0u; };
    }
  }
  memory_.Map(dmaAddress_, dmaBuffer_.data(), static_cast<std::uint32_t>(dmaBuffer_.size()));
  irqEvent = clock.MakeEvent();
  ScheduleField();
}

SimCard::~SimCard() {
  if (fieldEvent_) clock_.Cancel(*fieldEvent_);
  memory_.Unmap(dmaAddress_);
}

InputKey SimCard::SelectedInput() const {
  auto& regs = const_cast<SimDecoder&>(decoder_).Registers();
  return {regs[32], regs[33], static_cast<std::uint8_t>(regs[34] & 0x3F), regs[44]};
}

void SimCard::ScheduleField() {
  fieldEvent_ = clock_.ScheduleAfter(camera_.FieldLengthMs(fieldNumber_++), [this] { FieldTick(); });
}

bool SimCard::CaptureGateOpen() const {
  if (kind_ == ControllerKind::kControllerGate) return controller_->gateOpen;
  return (registers_.Peek(saa::kGpio) & 0x00500000u) != 0x00400000u;
}

void SimCard::FieldTick() {
  if (SignalOnSelectedInput()) {
    field_ ^= 1;
    ++fields_;
    if (CaptureGateOpen()) video_.CaptureField(field_, fields_);
    program_.OnField();
    registers_.RaiseStatus(kFieldCapturedBit);
    SignalIrqIfPending();
  }
  ScheduleField();
}

void SimCard::SignalIrqIfPending() {
  const std::uint32_t pending =
      registers_.Peek(saa::kIrqStatus) & registers_.Peek(saa::kIrqEnable);
  if (pending == 0 || driverIrqSources == 0) return;
  const std::uint64_t taken = irqTaken_.load();
  const bool waiting = irqWaiters_.load() > 0;
  irqEvent->Signal();
  if (!waiting) return;  // kept for the next wait
  const auto deadline = std::chrono::steady_clock::now() + kIrqHandOver;
  while (irqTaken_.load() == taken && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
}

bool SimCard::WaitIrq(std::uint32_t timeoutMs, const std::function<void()>& waiting) {
  ++irqWaiters_;
  // The event keeps a signal that comes before its wait: from here on none is lost.
  if (waiting) waiting();
  const bool signalled = irqEvent->Wait(timeoutMs);
  --irqWaiters_;
  if (signalled) ++irqTaken_;
  return signalled;
}

void SimCard::OnWrite(std::uint32_t offset, std::uint32_t value) {
  if (offset == saa::kI2cStatus && (value & 0x80) != 0) {
    stuckUploads_ = 0;  // abort
    registers_.Poke(saa::kI2cStatus, value & ~0x83u);
    return;
  }
  if (offset == saa::kMainControl1) {
    program_.OnControl();
    return;
  }
  if (offset != saa::kMainControl2) return;
  const std::uint32_t uploads = value & (value >> 16);
  video_.Upload(uploads);
  if (uploads & 0x1) {
    if (i2c_.stuckBusyUploads > 0) {
      --i2c_.stuckBusyUploads;
      ++stuckUploads_;
      registers_.Poke(saa::kI2cStatus, registers_.Peek(saa::kI2cStatus) | saa::kI2cBusy);
    } else {
      const auto [word, ok] = i2c_.Run(registers_.Peek(saa::kI2cTransfer));
      registers_.Poke(saa::kI2cTransfer, word);
      const std::uint32_t status = registers_.Peek(saa::kI2cStatus) & ~0x3u;
      registers_.Poke(saa::kI2cStatus, status | (ok ? 0u : saa::kI2cError));
    }
  }
  if (uploads & 0x2) {
    const std::uint32_t command = registers_.Peek(saa::kDebiCommand);
    const std::uint32_t address = command & 0xFFFF;
    if (command & 0x10000) {
      registers_.Poke(saa::kDebiData, localBus_.Read(address));
    } else {
      localBus_.Write(address, registers_.Peek(saa::kDebiData));
    }
  }
  // Upload requests are taken at once and read back as done.
  registers_.Poke(saa::kMainControl2, registers_.Peek(saa::kMainControl2) & ~uploads);
}

std::uint32_t SimCard::OnRead(std::uint32_t offset, std::uint32_t stored) {
  if (offset == saa::kStatus) {
    std::uint32_t status = stored & ~0x188u;
    if (field_) status |= 0x180;  // the field, for channel 1 (bit 8) and 3 (bit 7)
    if (kind_ == ControllerKind::kControllerGate && controller_->LineHigh()) status |= 0x08;
    return status;
  }
  if (offset == saa::kGpio) {
    // Input pin 0 shows the external switch.
    return (stored & ~0x4u) | (switchLevel(clock_.PeekMs()) != 0 ? 0x4u : 0u);
  }
  return stored;
}

}  // namespace orvale::korrin::sim
