#pragma once
// Register offsets and identifiers of the Philips SAA7146 as this library uses them.
#include <cstdint>

namespace orvale::korrin::saa {

inline constexpr std::uint16_t kVendor = 0x1131;
inline constexpr std::uint16_t kDevice = 0x7146;
inline constexpr std::uint32_t kDisplayClass = 0x030000;

// The library uses registers up to 0x110, so a register window must be this large.
inline constexpr std::uint32_t kMinWindowSize = 0x200;

inline constexpr std::uint32_t kBurstThresh = 0x48;
inline constexpr std::uint32_t kFormat = 0x78;
inline constexpr std::uint32_t kDebiCommand = 0x80;
inline constexpr std::uint32_t kDebiData = 0x88;
inline constexpr std::uint32_t kI2cTransfer = 0x8C;
inline constexpr std::uint32_t kI2cStatus = 0x90;
inline constexpr std::uint32_t kIrqEnable = 0xDC;
inline constexpr std::uint32_t kGpio = 0xE0;
inline constexpr std::uint32_t kMainControl1 = 0xFC;  // masked: high half selects low bits
inline constexpr std::uint32_t kMainControl2 = 0x100;
inline constexpr std::uint32_t kIrqStatus = 0x10C;    // write 1 to clear
inline constexpr std::uint32_t kStatus = 0x110;

// Upload requests written to main control 2.
inline constexpr std::uint32_t kUploadI2c = 0x00010001;
inline constexpr std::uint32_t kUploadDebi = 0x00020002;

// I2C status bits.
inline constexpr std::uint32_t kI2cBusy = 0x1;
inline constexpr std::uint32_t kI2cError = 0x2;

// PCI configuration.
inline constexpr int kPciCommand = 4;
inline constexpr int kPciLatencyDword = 12;
inline constexpr int kPciLatencyByte = 13;
inline constexpr int kPciInterruptLine = 60;

}  // namespace orvale::korrin::saa
