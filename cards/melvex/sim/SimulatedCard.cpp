#include "cards/melvex/sim/SimulatedCard.h"

#include <algorithm>
#include <cstring>

#include "cards/melvex/DeviceRequests.h"

namespace orvale::melvex::sim {

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;
constexpr int kMaxFrameLines = 1024;
constexpr std::uint32_t kLastDigitizerRegister = 26;
constexpr std::uint32_t kReadOnlyRegister = 23;
constexpr std::uint32_t kResetRegister = 31;

bool IsCardRegister(std::uint32_t reg) { return reg <= kLastDigitizerRegister || reg == kResetRegister; }

// A transfer of `count` registers from `first`: digitizer registers, the reset register,
// or the control/status register alone.
bool ValidTransfer(std::uint32_t first, std::uint32_t count) {
  if (count == 0) return false;
  if (first == kControlStatusRegister) return count == 1;
  for (std::uint64_t r = first; r < static_cast<std::uint64_t>(first) + count; ++r) {
    if (!IsCardRegister(static_cast<std::uint32_t>(r))) return false;
  }
  return true;
}

}  // namespace

SimulatedCard::SimulatedCard() : ownClock_(std::make_unique<VirtualClock>()), clock_(*ownClock_) {}

SimulatedCard::SimulatedCard(VirtualClock& clock) : clock_(clock) {}

SimulatedCard::~SimulatedCard() = default;

std::int64_t SimulatedCard::NowNs() const {
  return static_cast<std::int64_t>(clock_.ElapsedMs()) * kNsPerMs + subMsNs_;
}

void SimulatedCard::Spend(std::int64_t ns) {
  subMsNs_ += ns;
  if (subMsNs_ < kNsPerMs) return;
  const std::int64_t ms = subMsNs_ / kNsPerMs;
  subMsNs_ %= kNsPerMs;
  clock_.Advance(static_cast<std::uint32_t>(ms));
}

void SimulatedCard::SetTrigger(std::uint64_t riseMs, std::uint64_t fallMs) {
  const auto toNs = [](std::uint64_t ms) {
    return ms >= static_cast<std::uint64_t>(kNeverNs / kNsPerMs) ? kNeverNs
                                                                  : static_cast<std::int64_t>(ms) * kNsPerMs;
  };
  triggerRiseNs_ = toNs(riseMs);
  triggerFallNs_ = toNs(fallMs);
}

const SimInput& SimulatedCard::Selected() const {
  return inputs_[(registers_[1] >> 5) & 1];
}

std::int64_t SimulatedCard::FramePeriodNs() const {
  return Selected().standard == 1 ? 40 * kNsPerMs : 33'400'000;
}

bool SimulatedCard::Busy(std::int64_t now) const { return now < busyUntilNs_; }

bool SimulatedCard::open() {
  Spend(kAccessCostNs);
  if (!driverPresent_) return false;
  ++openHandles_;
  return true;
}

void SimulatedCard::close() { --openHandles_; }

bool SimulatedCard::Faulted(std::uint32_t code, std::span<const std::uint8_t> in,
                            RequestFault::Kind& kind) {
  std::uint32_t first = 0;
  const bool registerRequest = code == request::kReadRegisters || code == request::kWriteRegisters;
  if (registerRequest && in.size() >= sizeof(first)) std::memcpy(&first, in.data(), sizeof(first));
  for (RequestFault& fault : faults_) {
    if (fault.code != code || fault.times == 0) continue;
    if (fault.firstRegister && (!registerRequest || *fault.firstRegister != first)) continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.times > 0) --fault.times;
    kind = fault.kind;
    return true;
  }
  return false;
}

RequestResult SimulatedCard::request(std::uint32_t code, std::span<const std::uint8_t> in,
                                     std::span<std::uint8_t> out) {
  Spend(kAccessCostNs);
  ++requestCounts_[code];
  RequestFault::Kind kind = RequestFault::Kind::Fail;
  const bool faulted = Faulted(code, in, kind);
  if (faulted && kind == RequestFault::Kind::Fail) return {};
  const bool shortCount = faulted && kind == RequestFault::Kind::ShortCount;

  switch (code) {
    case request::kStatus: {
      if (out.size() < sizeof(statusFlags_)) return {};
      std::memcpy(out.data(), &statusFlags_, sizeof(statusFlags_));
      return {true, sizeof(statusFlags_)};
    }
    case request::kAttach: {
      std::uint32_t input = 0;
      if (!ReadRecord(in, input) || input != kAttachInput || out.size() < sizeof(AttachReply)) return {};
      const AttachReply reply{reinterpret_cast<std::uint64_t>(window_.data()), attachFlags_,
                              nextCardHandle_++};
      std::memcpy(out.data(), &reply, sizeof(reply));
      ++attachments_;
      return {true, sizeof(reply)};
    }
    case request::kRelease: {
      ReleaseInput input;
      if (!ReadRecord(in, input)) return {};
      releases_.push_back({input.driverCardHandle, input.word});
      --attachments_;
      const std::uint32_t reply = 0;
      const std::size_t n = std::min(out.size(), sizeof(reply));
      std::memcpy(out.data(), &reply, n);
      return {true, static_cast<std::uint32_t>(n)};
    }
    case request::kCardIdStrings:
      return CardIdStrings(out);
    case request::kReadRegisters: {
      RequestResult result = ReadRegisters(in, out);
      if (result.ok && shortCount && result.bytesReturned > 0) --result.bytesReturned;
      return result;
    }
    case request::kWriteRegisters:
      return WriteRegisters(in, out, shortCount);
    case request::kReadColourMemory:
    case request::kReadMonoMemory:
      return ReadMemory(code, in, out);
    default:
      return {};
  }
}

RequestResult SimulatedCard::CardIdStrings(std::span<std::uint8_t> out) {
  if (cardIdUnterminated_) {
    // Fills every byte with text and leaves no terminator.
    for (std::size_t i = 0; i < out.size(); ++i) {
      out[i] = static_cast<std::uint8_t>(cardId_.empty() ? 'X' : cardId_[i % cardId_.size()]);
    }
    return {true, static_cast<std::uint32_t>(out.size())};
  }
  const std::size_t n = std::min(out.size(), cardId_.size() + 1);
  std::memcpy(out.data(), cardId_.c_str(), n);
  return {true, static_cast<std::uint32_t>(n)};
}

RequestResult SimulatedCard::ReadRegisters(std::span<const std::uint8_t> in,
                                           std::span<std::uint8_t> out) {
  ReadRegistersInput input;
  if (!ReadRecord(in, input)) return {};
  // Status polls are left out: the waits poll thousands of times.
  if (logging_ && input.first != kControlStatusRegister) registerReads_.push_back({input.first, input.count});
  if (!ValidTransfer(input.first, input.count) || out.size() < input.count) return {};
  for (std::uint32_t i = 0; i < input.count; ++i) {
    out[i] = input.first == kControlStatusRegister ? Status() : Register(input.first + i);
  }
  return {true, input.count};
}

RequestResult SimulatedCard::WriteRegisters(std::span<const std::uint8_t> in,
                                            std::span<std::uint8_t> out, bool shortCount) {
  WriteRegistersInput input;
  if (!ReadRecord(in, input) || input.bytes == 0) return {};
  if (!ValidTransfer(input.first, input.count) || out.size() < sizeof(std::uint32_t)) return {};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(input.bytes);
  if (input.first == kControlStatusRegister) {
    WriteControl(bytes[0]);
  } else {
    if (logging_) registerWrites_.push_back({NowNs(), input.first, {bytes, bytes + input.count}});
    for (std::uint32_t i = 0; i < input.count; ++i) SetRegister(input.first + i, bytes[i]);
  }
  const std::uint32_t written = shortCount ? input.count - 1 : input.count;
  std::memcpy(out.data(), &written, sizeof(written));
  return {true, sizeof(written)};
}

std::uint8_t SimulatedCard::Register(std::uint32_t reg) const {
  if (reg == 0) {
    // Bits 7 and 4 always tell the selected input's state, whatever was written there.
    const SimInput& input = Selected();
    return static_cast<std::uint8_t>((registers_[0] & 0x6F) | (input.signal ? 0x80 : 0) |
                                     (input.standard == 1 ? 0x10 : 0));
  }
  if (reg <= kLastDigitizerRegister) return registers_[reg];
  if (reg == kResetRegister) return register31_;
  return 0;
}

void SimulatedCard::SetRegister(std::uint32_t reg, std::uint8_t value) {
  if (reg == kReadOnlyRegister) return;
  if (reg <= kLastDigitizerRegister) registers_[reg] = value;
  if (reg == kResetRegister) register31_ = value;
}

std::uint8_t SimulatedCard::Status() {
  const std::int64_t now = NowNs();
  std::uint8_t status = modeBits_ & 0x28;
  if (!tickDead_ && now >= tickDueNs_) status |= 0x01;
  if (Busy(now)) status |= 0x10;
  const std::int64_t period = FramePeriodNs();
  const bool field = fieldStuck_ ? *fieldStuck_ : (now % period) < period / 2;
  if (field) status |= 0x40;
  const bool exposed = exposureStuck_ ? *exposureStuck_ : now >= exposureNs_;
  if (exposed) status |= 0x80;
  return status;
}

void SimulatedCard::WriteControl(std::uint8_t value) {
  const std::int64_t now = NowNs();
  if (logging_) controlWrites_.push_back({now, value});
  if (value & 0x80) readoutLine_ = 0;
  if (value & 0x40) ++readoutLine_;
  if (value & 0x10) StartCapture(value);
  modeBits_ = value & 0x28;
  tickDueNs_ = now + kNsPerMs / (Selected().standard == 1 ? 118 : 97);
}

void SimulatedCard::StartCapture(std::uint8_t mode) {
  const std::int64_t now = NowNs();
  const SimInput& input = Selected();
  CapturedFrame frame;
  frame.requestedNs = now;
  frame.snapIndex = snapCount_++;
  frame.monochrome = (mode & 0x20) != 0;
  if (input.signal) {
    const std::int64_t period = FramePeriodNs();
    exposureNs_ = (now + period - 1) / period * period;
    busyUntilNs_ = exposureNs_ + period;
  } else {
    exposureNs_ = kNeverNs;
    busyUntilNs_ = kNeverNs;
  }
  frame.exposureNs = exposureNs_;

  // Decode the crop and scale registers.
  const auto& r = registers_;
  const int he = r[7] | ((r[3] & 0x03) << 8);
  const int t = r[6] | (((r[3] >> 2) & 0x03) << 8);
  const int m = r[5] | (((r[3] >> 4) & 0x03) << 8);
  const int v = r[4] | (((r[3] >> 6) & 0x03) << 8);
  const int hscale = (r[8] << 8) | r[9];
  const int vscale = ((r[19] & 0x1F) << 8) | r[20];
  const bool interlaced = (r[19] & 0x20) != 0;
  // The scale register holds 512 - 512 x active / lines in 13 bits; all the reductions
  // a request may ask for (up to 14:1) come back modulo 2^13.
  const int q = (512 - vscale + 0x2000) % 0x2000;
  const int sourceLines = interlaced ? m : m / 2;
  int lines = q > 0 ? (sourceLines * 512 + q - 1) / q : 0;
  int samples = he;
  if (attachFlags_ & kAttachNarrowOutput) {
    samples = std::min(samples, kNarrowLineLimit);
    lines = std::min(lines, kNarrowLineLimit);
  }
  lines = std::min(lines, kMaxFrameLines);
  frame.samples = samples;
  frame.lines = lines;
  frame.firstSampleParity = t & 1;

  if (input.signal && samples > 0 && lines > 0) {
    const int hBase = input.standard == 1 ? 176 : 126;
    const int vBase = interlaced ? 2 : 4;
    const int lineStep = interlaced ? 1 : 2;
    frame.bytes.resize(static_cast<std::size_t>(frame.LineBytes()) * static_cast<std::size_t>(lines));
    std::vector<int> columns(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i) {
      columns[i] = std::max(0, static_cast<int>(static_cast<std::int64_t>(t + i) * (hscale + 4096) / 4096) - hBase);
    }
    for (int j = 0; j < lines; ++j) {
      const int y = std::max(0, (v - vBase) + lineStep * static_cast<int>(static_cast<std::int64_t>(j) * sourceLines / lines));
      std::uint8_t* out = frame.bytes.data() + static_cast<std::size_t>(j) * frame.LineBytes();
      for (int i = 0; i < samples; ++i) {
        const SceneSample s = input.scene->At(columns[i], y, frame.snapIndex);
        if (frame.monochrome) {
          out[i] = s.luma;
        } else {
          out[2 * i] = ((t + i) & 1) ? s.cr : s.cb;
          out[2 * i + 1] = s.luma;
        }
      }
    }
  }
  frameValid_ = input.signal;
  CapturedFrame record = frame;
  record.bytes.clear();
  if (logging_) captures_.push_back(std::move(record));
  frame_ = std::move(frame);
}

RequestResult SimulatedCard::ReadMemory(std::uint32_t code, std::span<const std::uint8_t> in,
                                        std::span<std::uint8_t> out) {
  ReadMemoryInput input;
  if (!ReadRecord(in, input)) return {};
  const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(window_.data());
  const std::uintptr_t address = static_cast<std::uintptr_t>(input.cardAddress);
  // Strict: only a finished frame, only the lines and samples it stored.
  if (!frameValid_ || Busy(NowNs()) || readoutLine_ >= frame_.lines || address < base) return {};
  const std::size_t offset = address - base;
  const std::size_t lineBytes = static_cast<std::size_t>(frame_.LineBytes());
  const std::uint8_t* line = frame_.Line(readoutLine_);
  const std::size_t count = input.count;
  if (code == request::kReadColourMemory) {
    const std::size_t bytes = 2 * count;
    if (offset != kDataWindowOffset || bytes > lineBytes || bytes > out.size()) return {};
    std::memcpy(out.data(), line, bytes);
    return {true, static_cast<std::uint32_t>(bytes)};
  }
  // Every other byte from the second: the luma of a colour line.
  if (offset != kDataWindowOffset + 1 || frame_.monochrome || 2 * count > lineBytes ||
      count > out.size()) {
    return {};
  }
  for (std::size_t i = 0; i < count; ++i) out[i] = line[2 * i + 1];
  return {true, static_cast<std::uint32_t>(count)};
}

std::uint8_t SimulatedCard::windowRead8(std::size_t offset) {
  Spend(kAccessCostNs);
  if (offset >= window_.size()) return 0;
  if (offset != kFlashTriggerOffset) return window_[offset];
  const std::int64_t now = NowNs();
  const bool trigger = now >= triggerRiseNs_ && now < triggerFallNs_;
  return static_cast<std::uint8_t>((window_[offset] & 0xFE) | (trigger ? 1 : 0));
}

std::uint16_t SimulatedCard::windowRead16(std::size_t offset) {
  Spend(kAccessCostNs);
  if (offset == kDataWindowOffset) {
    if (!frameValid_ || readoutLine_ >= frame_.lines || frame_.LineBytes() < 2) return 0;
    const std::uint8_t* line = frame_.Line(readoutLine_);
    return static_cast<std::uint16_t>(line[0] | (line[1] << 8));
  }
  if (offset + 1 >= window_.size()) return 0;
  return static_cast<std::uint16_t>(window_[offset] | (window_[offset + 1] << 8));
}

void SimulatedCard::windowWrite8(std::size_t offset, std::uint8_t value) {
  Spend(kAccessCostNs);
  if (logging_) windowWrites_.push_back({NowNs(), offset, value});
  if (offset < window_.size()) window_[offset] = value;
}

std::size_t SimulatedCard::RequestCount(std::uint32_t code) const {
  const auto it = requestCounts_.find(code);
  return it == requestCounts_.end() ? 0 : it->second;
}

void SimulatedCard::ClearLogs() {
  registerWrites_.clear();
  registerReads_.clear();
  controlWrites_.clear();
  windowWrites_.clear();
  releases_.clear();
  captures_.clear();
  requestCounts_.clear();
}

}  // namespace orvale::melvex::sim
