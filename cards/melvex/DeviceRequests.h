#pragma once
// The card driver's device-control requests and the layouts of their buffers. Addresses
// and handles are pointer-sized; everything else is 32-bit, in the host's byte order.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace orvale::melvex {

namespace request {
inline constexpr std::uint32_t kStatus = 0x222000;
inline constexpr std::uint32_t kAttach = 0x222004;
inline constexpr std::uint32_t kRelease = 0x222008;
inline constexpr std::uint32_t kCardIdStrings = 0x222014;
inline constexpr std::uint32_t kReadRegisters = 0x222018;
inline constexpr std::uint32_t kWriteRegisters = 0x22201C;
inline constexpr std::uint32_t kReadColourMemory = 0x222020;
inline constexpr std::uint32_t kReadMonoMemory = 0x222024;
}  // namespace request

// Status flags: a supported card is present; a card of another model.
inline constexpr std::uint32_t kStatusSupportedCard = 0x2;
inline constexpr std::uint32_t kStatusAnyCard = 0x1;

// The attach request's input, and its flags: the card needs a reset; the card limits
// output lines to 510 pixels.
inline constexpr std::uint32_t kAttachInput = 2;
inline constexpr std::uint32_t kAttachResetNeeded = 0x1;
inline constexpr std::uint32_t kAttachNarrowOutput = 0x2;

struct AttachReply {
  std::uint64_t ioWindow = 0;  // address of the mapped I/O window
  std::uint32_t flags = 0;
  std::uint32_t driverCardHandle = 0;
};

struct ReleaseInput {
  std::uint32_t driverCardHandle = 0;
  std::uint32_t word = 0;  // 1 when the session is closed with mode 0
};

struct ReadRegistersInput {
  std::uint32_t first = 0;
  std::uint32_t zero = 0;
  std::uint32_t count = 0;
};

struct WriteRegistersInput {
  std::uint32_t first = 0;
  std::uint32_t count = 0;
  std::uint64_t bytes = 0;  // address of the bytes to write
};

struct ReadMemoryInput {
  std::uint32_t count = 0;
  std::uint32_t reserved = 0;
  std::uint64_t cardAddress = 0;  // an address inside the mapped window
};

// Offsets in the I/O window: the flash output and trigger input byte, and the start of
// the image data that memory reads address.
inline constexpr std::size_t kFlashTriggerOffset = 2;
inline constexpr std::size_t kDataWindowOffset = 2048;

// The control/status register, reached through the register requests. Written: reset or
// advance the readout pointer, start a capture (each followed by a write of the mode).
inline constexpr std::uint32_t kControlStatusRegister = 153;
namespace control {
inline constexpr std::uint8_t kResetPointer = 0x80;
inline constexpr std::uint8_t kAdvancePointer = 0x40;
inline constexpr std::uint8_t kCapture = 0x10;
}  // namespace control

// Cards with narrow output make lines (and frames) of at most this many samples.
inline constexpr int kNarrowLineLimit = 510;

// A request buffer as bytes, and a record read back from bytes.
template <class T>
std::span<const std::uint8_t> AsBytes(const T& value) {
  return {reinterpret_cast<const std::uint8_t*>(&value), sizeof(T)};
}
template <class T>
std::span<std::uint8_t> AsWritableBytes(T& value) {
  return {reinterpret_cast<std::uint8_t*>(&value), sizeof(T)};
}
// False when `bytes` is too short for a T.
template <class T>
bool ReadRecord(std::span<const std::uint8_t> bytes, T& value) {
  if (bytes.size() < sizeof(T)) return false;
  std::memcpy(&value, bytes.data(), sizeof(T));
  return true;
}

}  // namespace orvale::melvex
