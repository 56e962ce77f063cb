#pragma once
// Access to the card at the level of its driver: the device-control requests, the
// card's mapped I/O window and the clock every wait of the toolkit runs on. The
// toolkit reaches the card through nothing else, so a simulated card can stand in for
// the driver and move its time forward as the toolkit polls it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/clock/Clock.h"

namespace orvale::melvex {

struct RequestResult {
  bool ok = false;
  std::uint32_t bytesReturned = 0;
};

class MelvexDevice {
 public:
  virtual ~MelvexDevice() = default;

  // Opens the card's device; false when there is no driver.
  virtual bool open() = 0;
  virtual void close() = 0;

  // One buffered device-control request (request codes and layouts in DeviceRequests.h).
  virtual RequestResult request(std::uint32_t code, std::span<const std::uint8_t> in,
                                std::span<std::uint8_t> out) = 0;

  // The card's mapped I/O window, by offset from its start.
  virtual std::uint8_t windowRead8(std::size_t offset) = 0;
  virtual std::uint16_t windowRead16(std::size_t offset) = 0;
  virtual void windowWrite8(std::size_t offset, std::uint8_t value) = 0;

  virtual Clock& clock() = 0;
};

}  // namespace orvale::melvex
