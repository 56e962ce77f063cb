#pragma once
// Register words whose layout the library chooses and the simulated board decodes: the
// video format word, the scaler's words, and the register-programming sequence that
// runs asynchronous capture. One header, so the two sides cannot drift apart.
#include <cstdint>

namespace orvale::korrin::encoding {

// Video DMA channels: register blocks and upload bits.
inline constexpr std::uint32_t kChannel1 = 0x00;  // odd, even, protection, pitch, page table, lines
inline constexpr std::uint32_t kChannel2 = 0x18;  // the clip mask
inline constexpr std::uint32_t kChannel3 = 0x30;
inline constexpr std::uint32_t kUploadChannel1 = 0x00040004;
inline constexpr std::uint32_t kUploadChannel2 = 0x00080008;
inline constexpr std::uint32_t kUploadChannel3 = 0x00100010;
inline constexpr std::uint32_t kUploadScaler = 0x00600060;
inline constexpr std::uint32_t kUploadSelector1Scaler = 0x01000100;
inline constexpr std::uint32_t kPageTableEnable = 0x800;

// Main control 1 enable bits.
inline constexpr std::uint32_t kEnableChannel1 = 0x0040;
inline constexpr std::uint32_t kEnableChannel2 = 0x0020;
inline constexpr std::uint32_t kEnableChannel3 = 0x0010;
inline constexpr std::uint32_t kEnableProgram = 0x1000;

// Format word of register 0x78: ours, by bytes per pixel; 0x60 added while the clip mask
// is on. The low two bits carry the pixel size, so the board can decode it.
inline constexpr std::uint32_t kFormatWords[4] = {0x81010000, 0x81010001, 0x81010002, 0x81010003};
inline constexpr std::uint32_t kFormatMaskOn = 0x60;
inline int FormatBytesPerPixel(std::uint32_t word) { return static_cast<int>(word & 3) + 1; }
inline bool FormatMaskOn(std::uint32_t word) { return (word & kFormatMaskOn) == kFormatMaskOn; }

// Scaler of channel 1 (selector 0), registers 0x5C..0x6C.
inline constexpr std::uint32_t kScalerControl = 0x5C;  // halving bit 29, prescale, weight
inline constexpr std::uint32_t kScalerVertical = 0x60;  // vertical scale, interpolation bit 31
inline constexpr std::uint32_t kScalerGain = 0x64;      // gain word, output lines a field << 16
inline constexpr std::uint32_t kScalerStart = 0x68;     // vertical start << 16 | horizontal start
inline constexpr std::uint32_t kScalerHorizontal = 0x6C;  // output width << 16 | fine scale
inline std::uint32_t OutputWidth(std::uint32_t horizontal) { return horizontal >> 16; }
inline std::uint32_t OutputLines(std::uint32_t gain) { return gain >> 16; }

// Selector 1's one scaler register, 0x58: source position bits 8-16, vertical position
// bits 19+, horizontal divider code bits 4-6, vertical code bits 17-18. A code divides by
// itself plus one: the library writes 0, 1, 3 or 7, halving step by step.
inline constexpr std::uint32_t kSelector1Scaler = 0x58;
inline constexpr std::uint32_t Selector1Codes(int horizontal, int vertical) {
  return (static_cast<std::uint32_t>(horizontal & 7) << 4) | (static_cast<std::uint32_t>(vertical & 3) << 17);
}
inline int Selector1HorizontalDivider(std::uint32_t word) { return static_cast<int>((word >> 4) & 7) + 1; }
inline int Selector1VerticalDivider(std::uint32_t word) { return static_cast<int>((word >> 17) & 3) + 1; }

// Register-programming sequence commands (one word, then their operands).
namespace program {
inline constexpr std::uint32_t kStop = 0x00000000;
inline constexpr std::uint32_t kNop = 0x00000001;
// Wait for a condition: field captured, or the trigger pin.
inline constexpr std::uint32_t kWait = 0x20000000;
inline constexpr std::uint32_t kFieldDone = 0x00000100;
// Upload bits follow in the low half, as written to main control 2.
inline constexpr std::uint32_t kUpload = 0x40000000;
inline constexpr std::uint32_t kSignal = 0x50000000;
// Jump: the next word is the address.
inline constexpr std::uint32_t kJump = 0x80000000;
// Register write: count in bits 8-15, first register index (offset / 4) in bits 0-7,
// then `count` value words.
inline constexpr std::uint32_t kWrite = 0x90000000;
inline constexpr std::uint32_t Write(std::uint32_t offset, std::uint32_t count = 1) {
  return kWrite | (count << 8) | (offset / 4);
}
inline constexpr std::uint32_t kCommandMask = 0xF0000000;
// Trigger pin conditions by trigger code (bit 27 inverts the level).
inline constexpr std::uint32_t kPinConditions[3] = {0x20000800, 0x20001000, 0x28001800};
}  // namespace program

}  // namespace orvale::korrin::encoding
