#pragma once
// One simulated Korrin board: its SAA7146 registers, the I2C devices, the local bus,
// the camera on its inputs, its DMA buffer, and the driver-side state of its attach
// (locks and the interrupt event).
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "cards/korrin/sim/SimCamera.h"
#include "cards/korrin/sim/SimController.h"
#include "cards/korrin/sim/SimEeprom.h"
#include "cards/korrin/sim/SimI2c.h"
#include "cards/korrin/sim/SimLocalBus.h"
#include "cards/korrin/sim/SimMemory.h"
#include "cards/korrin/sim/SimProgram.h"
#include "cards/korrin/sim/SimRegisters.h"
#include "cards/korrin/sim/SimUart.h"
#include "cards/korrin/sim/SimVideoDma.h"
#include "platform/clock/VirtualClock.h"

namespace orvale::korrin::sim {

enum class ControllerKind {
  kNone,           // no on-board controller
  kController,     // a controller, ready line on the local bus
  kControllerGate  // a controller that also gates capture (configuration bit 0x20)
};

// The decoder: a register file whose read without a register byte is its status.
class SimDecoder final : public SimRegisterFile {
 public:
  std::optional<std::uint8_t> Read() override { return status ? status() : std::uint8_t{0}; }
  std::function<std::uint8_t()> status;
};

class SimCard {
 public:
  static constexpr std::uint32_t kDefaultDmaBufferSize = 0x200000;

  SimCard(VirtualClock& clock, SimMemory& memory, int index, ControllerKind controller,
          std::uint32_t dmaBufferSize);
  ~SimCard();
  SimCard(const SimCard&) = delete;
  SimCard& operator=(const SimCard&) = delete;

  int Index() const { return index_; }
  ControllerKind Kind() const { return kind_; }
  SimRegisters& Registers() { return registers_; }
  SimI2cEngine& I2c() { return i2c_; }
  SimEeprom& Eeprom() { return eeprom_; }
  SimDecoder& Decoder() { return decoder_; }
  SimRegisterFile& Gains() { return gains_; }      // I2C 0x4A: iris, aux, gain stages
  SimRegisterFile& Aux8A() { return aux8A_; }      // I2C 0x8A
  SimController* Controller() { return controller_.get(); }
  SimLocalBus& LocalBus() { return localBus_; }
  SimUart& Uart() { return uart_; }
  SimVideoDma& Video() { return video_; }
  SimProgram& Program() { return program_; }

  // The level of the external switch (trigger input) at a time.
  std::function<int(std::uint32_t timeMs)> switchLevel = [](std::uint32_t) { return 0; };
  // Interrupt status bit raised when the programming sequence signals.
  static constexpr std::uint32_t kProgramSignalBit = 0x10000000;
  static constexpr std::uint32_t kFieldCapturedBit = 0x100;
  SimCamera& Camera() { return camera_; }

  std::uint32_t DmaBufferAddress() const { return dmaAddress_; }
  std::vector<std::uint8_t>& DmaBuffer() { return dmaBuffer_; }

  // The input the decoder is set to, and the current field.
  InputKey SelectedInput() const;
  bool SignalOnSelectedInput() const { return camera_.SeenOn(SelectedInput()); }
  int Field() const { return field_; }
  // Whether the capture gate passes fields to the video DMA: the controller's gate on
  // boards that gate through it, else general-purpose port bits 0x500000 (0x400000
  // alone holds them back; neither driven passes them).
  bool CaptureGateOpen() const;
  std::uint64_t FieldsSeen() const { return fields_; }

  // Driver side of the attach.
  bool attached = false;
  int attachCount = 0;
  std::map<std::uint32_t, std::vector<std::uint32_t>> locks;  // handle -> pages
  std::unique_ptr<WakeEvent> irqEvent;
  std::atomic<std::uint32_t> driverIrqSources{0};  // sources the driver signals for
  // Signals the interrupt event when an enabled interrupt is pending. A real board's
  // next field is milliseconds away, time enough for the interrupt thread to wake; on
  // virtual time the board instead waits (a bounded real time) until a thread that
  // waits on the event has taken the signal.
  void SignalIrqIfPending();
  // The interrupt thread's wait on the event.
  bool WaitIrq(std::uint32_t timeoutMs, const std::function<void()>& waiting);

 private:
  void OnWrite(std::uint32_t offset, std::uint32_t value);
  std::uint32_t OnRead(std::uint32_t offset, std::uint32_t stored);
  void ScheduleField();
  void FieldTick();

  VirtualClock& clock_;
  SimMemory& memory_;
  const int index_;
  const ControllerKind kind_;
  SimRegisters registers_;
  SimI2cEngine i2c_;
  SimEeprom eeprom_;
  SimDecoder decoder_;
  SimRegisterFile gains_;
  SimRegisterFile aux8A_;
  std::unique_ptr<SimController> controller_;
  SimLocalBus localBus_;
  SimUart uart_;
  SimCamera camera_;
  SimVideoDma video_;
  SimProgram program_;
  std::vector<std::uint8_t> dmaBuffer_;
  std::uint32_t dmaAddress_;
  int stuckUploads_ = 0;
  int field_ = 0;
  std::uint64_t fields_ = 0;
  std::uint64_t fieldNumber_ = 0;
  std::optional<VirtualClock::EventId> fieldEvent_;
  std::atomic<int> irqWaiters_{0};
  std::atomic<std::uint64_t> irqTaken_{0};
};

}  // namespace orvale::korrin::sim
