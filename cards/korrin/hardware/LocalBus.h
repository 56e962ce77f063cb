#pragma once
// The board's local bus, reached through the SAA7146's debug interface. Address bits
// 8-11 select a page; each page keeps a shadow of its last write, which answers the
// reads that do not go to the board.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

class LocalBus {
 public:
  // The live board; it must be located.
  explicit LocalBus(Library& lib);

  void Write(std::uint32_t address, std::uint32_t value);
  // Only addresses with bit 0x1000 on a readable page are read from the board; every
  // other read returns the page's shadow (0xEC00 thus reads back what 0xFC00 was given).
  std::uint32_t Read(std::uint32_t address);

 private:
  RegisterWindow& registers_;
  LocalBusSettings& settings_;
};

}  // namespace orvale::korrin
