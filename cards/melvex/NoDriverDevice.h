#pragma once
// The card's device as Linux has it: no driver, so it never opens and every request
// fails. ZLP_init reports this as "No Melvex Imaging Card driver detected".
#include "cards/melvex/MelvexDevice.h"
#include "platform/clock/SystemClock.h"

namespace orvale::melvex {

class NoDriverDevice final : public MelvexDevice {
 public:
  bool open() override { return false; }
  void close() override {}
  RequestResult request(std::uint32_t, std::span<const std::uint8_t>, std::span<std::uint8_t>) override {
    return {};
  }
  std::uint8_t windowRead8(std::size_t) override { return 0; }
  std::uint16_t windowRead16(std::size_t) override { return 0; }
  void windowWrite8(std::size_t, std::uint8_t) override {}
  Clock& clock() override { return clock_; }

 private:
  SystemClock clock_;
};

}  // namespace orvale::melvex
