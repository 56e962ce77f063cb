// The driver requests that move digitizer registers, the control/status register and
// card memory.
#include "cards/melvex/DeviceRequests.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

int ZelvoLibrary::WriteDigitizerRegs(std::uint32_t first, const std::uint8_t* bytes,
                                     std::uint32_t count) {
  const WriteRegistersInput in{first, count, reinterpret_cast<std::uint64_t>(bytes)};
  std::uint32_t written = 0;
  const RequestResult result = device_.request(request::kWriteRegisters, AsBytes(in),
                                               AsWritableBytes(written));
  if (!result.ok || result.bytesReturned < sizeof(written)) return -1;
  return written == count ? static_cast<int>(count) : -2;
}

int ZelvoLibrary::ReadDigitizerRegs(std::uint32_t first, std::uint8_t* bytes,
                                    std::uint32_t count) {
  const ReadRegistersInput in{first, 0, count};
  const RequestResult result =
      device_.request(request::kReadRegisters, AsBytes(in), std::span<std::uint8_t>(bytes, count));
  if (!result.ok) return -1;
  return static_cast<int>(result.bytesReturned);
}

bool ZelvoLibrary::WriteRegisters(std::uint32_t first, std::initializer_list<std::uint8_t> bytes) {
  const auto count = static_cast<std::uint32_t>(bytes.size());
  return WriteDigitizerRegs(first, bytes.begin(), count) == static_cast<int>(count);
}

bool ZelvoLibrary::ReadRegister(std::uint32_t reg, std::uint8_t& value) {
  return ReadDigitizerRegs(reg, &value, 1) == 1;
}

bool ZelvoLibrary::WriteControlStatus(std::uint8_t value) {
  if (WriteDigitizerRegs(kControlStatusRegister, &value, 1) == 1) return true;
  RecordFailure();
  return false;
}

std::uint8_t ZelvoLibrary::ReadControlStatus(bool* ok) {
  std::uint8_t value = 0;
  const bool read = ReadDigitizerRegs(kControlStatusRegister, &value, 1) == 1;
  if (ok != nullptr) *ok = read;
  if (read) return value;
  RecordFailure();
  return 0x12;  // reads as busy, so every wait ends bounded
}

bool ZelvoLibrary::ReadCardMemory(std::uintptr_t cardAddress, std::uint32_t count,
                                  std::span<std::uint8_t> out) {
  const ReadMemoryInput in{count, 0, cardAddress};
  return device_.request(request::kReadColourMemory, AsBytes(in), out).ok;
}

bool ZelvoLibrary::ReadCardMemory2(std::uintptr_t cardAddress, std::uint32_t count,
                                   std::span<std::uint8_t> out) {
  const ReadMemoryInput in{count, 0, cardAddress};
  return device_.request(request::kReadMonoMemory, AsBytes(in), out).ok;
}

}  // namespace orvale::melvex
