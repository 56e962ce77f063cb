#include "cards/korrin/hardware/LocalBus.h"

#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin {
namespace {

constexpr std::uint32_t kReadFlag = 0x10000;
constexpr std::uint32_t kBoardReadBit = 0x1000;

int PageOf(std::uint32_t address) { return static_cast<int>((address >> 8) & 0xF); }

// Transfer width per page, in bytes: the line counter at 0xF800 is 16 bits wide, the
// other devices 8 bits (board data chosen by us).
std::uint32_t WidthOf(int page) { return page == 8 ? 2 : 1; }

// The pages whose devices can be read: 0xF100 (inputs), 0xF800 (line counter) and
// 0xFC00 (controller and trigger status).
bool Readable(int page) { return page == 1 || page == 8 || page == 0xC; }

}  // namespace

LocalBus::LocalBus(Library& lib)
    : registers_(lib.Live().Registers()), settings_(lib.Settings().localBus) {}

void LocalBus::Write(std::uint32_t address, std::uint32_t value) {
  const int page = PageOf(address);
  registers_.Write32(saa::kDebiCommand, (WidthOf(page) << 17) | (address & 0xFFFF));
  registers_.Write32(saa::kDebiData, value);
  registers_.Write32(saa::kMainControl2, saa::kUploadDebi);
  settings_.pageShadow[page] = value;
}

std::uint32_t LocalBus::Read(std::uint32_t address) {
  const int page = PageOf(address);
  if ((address & kBoardReadBit) == 0 || !Readable(page)) return settings_.pageShadow[page];
  registers_.Write32(saa::kDebiCommand, (WidthOf(page) << 17) | kReadFlag | (address & 0xFFFF));
  registers_.Write32(saa::kMainControl2, saa::kUploadDebi);
  return registers_.Read32(saa::kDebiData);
}

}  // namespace orvale::korrin
