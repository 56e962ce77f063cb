#include "cards/korrin/sim/SimEeprom.h"

namespace orvale::korrin::sim {

bool SimEeprom::Busy() const {
  return busySince_ && (writeCycleNeverEnds || now_() - *busySince_ < kWriteCycleMs);
}

bool SimEeprom::Write(std::span<const std::uint8_t> bytes) {
  if (Busy()) return false;
  if (bytes.empty()) return true;
  pointer_ = bytes[0];
  if (bytes.size() == 1) return true;
  if (refuseWritesFrom && byteWrites_ >= *refuseWritesFrom) return false;
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    ++byteWrites_;
    if (!writesIgnored) bytes_[pointer_] = bytes[i];
    ++pointer_;
  }
  busySince_ = now_();
  return true;
}

std::optional<std::uint8_t> SimEeprom::Read() {
  if (Busy() || unreadable.count(pointer_) != 0) return std::nullopt;
  return bytes_[pointer_++];
}

}  // namespace orvale::korrin::sim
