#include "cards/korrin/sim/SimUart.h"

namespace orvale::korrin::sim {
namespace {

constexpr std::uint8_t kBank = 0xE0;
constexpr std::uint8_t kWriteStrobe = 0x08;  // active low
constexpr std::uint8_t kReadStrobe = 0x10;   // active low

}  // namespace

SimUart::SimUart(TimeSource now) : now_(std::move(now)), control_(*this, true), data_(*this, false) {}

bool SimUart::Latch::Write(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != 1) return false;
  if (control_) {
    uart_.OnControl(bytes[0]);
  } else {
    uart_.dataLatch_ = bytes[0];
  }
  return true;
}

std::optional<std::uint8_t> SimUart::Latch::Read() {
  if (control_) return uart_.controlByte_;
  // With 0xFF latched the expander's pins are inputs and show the UART's data lines.
  return uart_.dataLatch_ == 0xFF ? uart_.dataLines_ : uart_.dataLatch_;
}

void SimUart::OnControl(std::uint8_t byte) {
  const std::uint8_t previous = controlByte_;
  controlByte_ = byte;
  const int reg = byte & 7;
  const bool ours = (byte & 0xE0) == kBank;
  const bool readFalls = (previous & kReadStrobe) && !(byte & kReadStrobe);
  const bool writeRises = !(previous & kWriteStrobe) && (byte & kWriteStrobe);
  if ((readFalls || writeRises) && !ours) ++otherBank_;
  if (!ours) return;
  if (readFalls) dataLines_ = ReadRegister(reg);
  if (writeRises) WriteRegister(previous & 7, dataLatch_);
}

bool SimUart::ByteWaiting() const { return !incoming_.empty() && incoming_.front().first <= now_(); }

std::uint8_t SimUart::ReadRegister(int reg) {
  switch (reg) {
    case 0: {
      const std::uint8_t value = mr_[mrPointer_];
      mrPointer_ = 1;
      return value;
    }
    case 1:
      return static_cast<std::uint8_t>((rxEnabled_ && ByteWaiting() ? 0x01 : 0) |
                                       (txEnabled_ && !transmitterBlocked ? 0x04 : 0));
    case 3: {
      if (!ByteWaiting()) return 0;
      const std::uint8_t byte = incoming_.front().second;
      incoming_.pop_front();
      return byte;
    }
    default:
      return 0;
  }
}

void SimUart::WriteRegister(int reg, std::uint8_t value) {
  writes_.emplace_back(reg, value);
  switch (reg) {
    case 0:
      mr_[mrPointer_] = value;
      mrPointer_ = 1;
      break;
    case 1:
      csr_ = value;
      break;
    case 2: {
      if ((value & 0x03) == 0x01) rxEnabled_ = true;
      if ((value & 0x03) == 0x02) rxEnabled_ = false;
      if ((value & 0x0C) == 0x04) txEnabled_ = true;
      if ((value & 0x0C) == 0x08) txEnabled_ = false;
      const int command = (value >> 4) & 7;
      if (command == 1) mrPointer_ = 0;
      if (command == 2) rxEnabled_ = false;
      if (command == 3) txEnabled_ = false;
      break;
    }
    case 3:
      if (txEnabled_ && !transmitterBlocked) sent_.push_back(value);
      break;
    case 4:
      acr_ = value;
      break;
    default:
      break;
  }
}

}  // namespace orvale::korrin::sim
