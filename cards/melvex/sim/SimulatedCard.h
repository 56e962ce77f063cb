#pragma once
// A Melvex card and its driver, simulated in process: the digitizer's registers, the
// control/status register with its capture timing, the flash and trigger byte of the
// I/O window and the frame store, all as functions of one virtual clock.
//
// Time: the card keeps nanoseconds on top of the virtual clock's milliseconds. Every
// request and window access costs kAccessCostNs, and sleeps and clock reads of the
// toolkit move the clock itself, so every wait of the toolkit ends in virtual time.
//
// Capture: writing a value with 0x10 to the control/status register starts a capture.
// With a signal on the selected input the exposure begins at the next frame start and
// the card is busy until one frame time later; without one it stays busy. The frame is
// taken at once from the input's scene, through the crop and scale registers.
#include <array>
#include <climits>
#include <map>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cards/melvex/MelvexDevice.h"
#include "cards/melvex/sim/Scene.h"
#include "platform/clock/VirtualClock.h"

namespace orvale::melvex::sim {

inline constexpr std::int64_t kAccessCostNs = 1000;
inline constexpr std::int64_t kNeverNs = INT64_MAX;

struct SimInput {
  bool signal = true;
  int standard = 1;  // 0 = 525-line, 1 = 625-line
  std::shared_ptr<const Scene> scene = std::make_shared<CoordinateScene>();
};

// Makes matching requests fail or report a short count. A request matches by code and,
// for register requests, by first register; the first `skip` matches pass.
struct RequestFault {
  enum class Kind { Fail, ShortCount };
  std::uint32_t code = 0;
  std::optional<std::uint32_t> firstRegister;
  int skip = 0;
  int times = 1;  // -1: every later match
  Kind kind = Kind::Fail;

  // The `nth` (1-based) matching request fails, and `times` after it.
  static RequestFault Failing(std::uint32_t code, std::optional<std::uint32_t> firstRegister = {},
                              int nth = 1, int times = 1) {
    return {code, firstRegister, nth - 1, times, Kind::Fail};
  }
  // The `nth` matching request reports one byte less than it was asked to move.
  static RequestFault ShortCount(std::uint32_t code, std::optional<std::uint32_t> firstRegister = {},
                                 int nth = 1) {
    return {code, firstRegister, nth - 1, 1, Kind::ShortCount};
  }
};

struct RegisterWrite {
  std::int64_t timeNs = 0;
  std::uint32_t first = 0;
  std::vector<std::uint8_t> bytes;
};
struct RegisterRead {
  std::uint32_t first = 0;
  std::uint32_t count = 0;
};
struct ControlWrite {
  std::int64_t timeNs = 0;
  std::uint8_t value = 0;
};
struct WindowWrite {
  std::int64_t timeNs = 0;
  std::size_t offset = 0;
  std::uint8_t value = 0;
};
struct Release {
  std::uint32_t driverCardHandle = 0;
  std::uint32_t word = 0;
};

// One capture: when it was asked for and when its exposure began (kNeverNs without a
// signal), and the frame it stored: `samples` per line (CbYCrY pairs, or grey bytes when
// monochrome) over `lines` lines.
struct CapturedFrame {
  std::int64_t requestedNs = 0;
  std::int64_t exposureNs = kNeverNs;
  std::uint32_t snapIndex = 0;
  bool monochrome = false;
  int samples = 0;
  int lines = 0;
  int firstSampleParity = 0;  // 1 when the first sample carries Cr
  std::vector<std::uint8_t> bytes;

  int LineBytes() const { return monochrome ? samples : 2 * samples; }
  const std::uint8_t* Line(int line) const {
    return bytes.data() + static_cast<std::size_t>(line) * static_cast<std::size_t>(LineBytes());
  }
};

class SimulatedCard final : public MelvexDevice {
 public:
  // Runs on its own virtual clock, or on `clock` when one is given (kept by the caller).
  SimulatedCard();
  explicit SimulatedCard(VirtualClock& clock);
  ~SimulatedCard() override;

  // --- Set-up ---
  void SetDriverPresent(bool present) { driverPresent_ = present; }
  void SetStatusFlags(std::uint32_t flags) { statusFlags_ = flags; }
  void SetAttachFlags(std::uint32_t flags) { attachFlags_ = flags; }
  void SetCardId(std::string text, bool unterminated = false) {
    cardId_ = std::move(text);
    cardIdUnterminated_ = unterminated;
  }
  SimInput& Input(int index) { return inputs_[static_cast<std::size_t>(index & 1)]; }
  void AddFault(RequestFault fault) { faults_.push_back(fault); }
  void ClearFaults() { faults_.clear(); }
  // Status bits 6 and 7 held at a value; the tick that never comes.
  void SetFieldFlagStuck(std::optional<bool> value) { fieldStuck_ = value; }
  void SetExposureFlagStuck(std::optional<bool> value) { exposureStuck_ = value; }
  void SetTickDead(bool dead) { tickDead_ = dead; }
  // The trigger input (bit 0 of window byte 2) is high from `riseMs` (virtual time since
  // the clock started) until `fallMs`.
  void SetTrigger(std::uint64_t riseMs, std::uint64_t fallMs = UINT64_MAX);

  // --- MelvexDevice ---
  bool open() override;
  void close() override;
  RequestResult request(std::uint32_t code, std::span<const std::uint8_t> in,
                        std::span<std::uint8_t> out) override;
  std::uint8_t windowRead8(std::size_t offset) override;
  std::uint16_t windowRead16(std::size_t offset) override;
  void windowWrite8(std::size_t offset, std::uint8_t value) override;
  Clock& clock() override { return clock_; }

  // --- Observation ---
  VirtualClock& VirtualTime() { return clock_; }
  std::int64_t NowNs() const;
  int OpenHandles() const { return openHandles_; }
  int Attachments() const { return attachments_; }
  std::uint8_t Register(std::uint32_t reg) const;
  void SetRegister(std::uint32_t reg, std::uint8_t value);
  const std::vector<RegisterWrite>& RegisterWrites() const { return registerWrites_; }
  const std::vector<RegisterRead>& RegisterReads() const { return registerReads_; }
  const std::vector<ControlWrite>& ControlWrites() const { return controlWrites_; }
  const std::vector<WindowWrite>& WindowWrites() const { return windowWrites_; }
  const std::vector<Release>& Releases() const { return releases_; }
  // Every capture so far, without its pixels; the pixels of the last one.
  const std::vector<CapturedFrame>& Captures() const { return captures_; }
  const CapturedFrame& Frame() const { return frame_; }
  std::size_t RequestCount(std::uint32_t code) const;
  void ClearLogs();
  // Logging off keeps long runs (benchmarks) from growing the logs without bound.
  void SetLogging(bool on) { logging_ = on; }
  int ReadoutLine() const { return readoutLine_; }
  std::uint8_t Status();

 private:
  void Spend(std::int64_t ns);
  bool Faulted(std::uint32_t code, std::span<const std::uint8_t> in, RequestFault::Kind& kind);
  RequestResult ReadRegisters(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);
  RequestResult WriteRegisters(std::span<const std::uint8_t> in, std::span<std::uint8_t> out,
                               bool shortCount);
  RequestResult ReadMemory(std::uint32_t code, std::span<const std::uint8_t> in,
                           std::span<std::uint8_t> out);
  RequestResult CardIdStrings(std::span<std::uint8_t> out);
  void WriteControl(std::uint8_t value);
  void StartCapture(std::uint8_t mode);
  const SimInput& Selected() const;
  std::int64_t FramePeriodNs() const;
  bool Busy(std::int64_t now) const;

  std::unique_ptr<VirtualClock> ownClock_;
  VirtualClock& clock_;
  std::int64_t subMsNs_ = 0;

  bool driverPresent_ = true;
  std::uint32_t statusFlags_ = 0x2;
  std::uint32_t attachFlags_ = 0;
  std::string cardId_ = "LZ472 simulated card";
  bool cardIdUnterminated_ = false;
  std::array<SimInput, 2> inputs_;
  std::vector<RequestFault> faults_;
  std::optional<bool> fieldStuck_;
  std::optional<bool> exposureStuck_;
  bool tickDead_ = false;
  std::int64_t triggerRiseNs_ = kNeverNs;
  std::int64_t triggerFallNs_ = kNeverNs;

  int openHandles_ = 0;
  int attachments_ = 0;
  std::uint32_t nextCardHandle_ = 0x100;
  std::array<std::uint8_t, 27> registers_{};
  std::uint8_t register31_ = 0;
  std::array<std::uint8_t, 4096> window_{};

  std::uint8_t modeBits_ = 0;
  std::int64_t tickDueNs_ = kNeverNs;
  std::int64_t busyUntilNs_ = 0;
  std::int64_t exposureNs_ = kNeverNs;
  std::uint32_t snapCount_ = 0;
  int readoutLine_ = 0;

  bool logging_ = true;
  std::vector<RegisterWrite> registerWrites_;
  std::vector<RegisterRead> registerReads_;
  std::vector<ControlWrite> controlWrites_;
  std::vector<WindowWrite> windowWrites_;
  std::vector<Release> releases_;
  std::vector<CapturedFrame> captures_;
  CapturedFrame frame_;
  bool frameValid_ = false;
  std::map<std::uint32_t, std::size_t> requestCounts_;
};

}  // namespace orvale::melvex::sim
