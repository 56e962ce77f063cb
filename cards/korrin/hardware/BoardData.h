#pragma once
// Fixed tables of the board: the decoder register sets, the per-source patches, the
// adjustment map, the local timing tables and the default delays.
#include <array>
#include <cstdint>
#include <optional>

namespace orvale::korrin {

inline constexpr int kVideoTypes = 5;
inline constexpr int kVideoStandards = 2;  // 0: 640 x 480 family, else 760 x 570
inline constexpr int kSourcesPerType = 6;
inline constexpr int kDecoderRegisters = 53;
inline constexpr int kDecoderTableSize = 60;  // 53 decoder registers, gains 53..59
inline constexpr int kAdjustments = 12;
inline constexpr int kTimingEntries = 19;
inline constexpr int kDescriptorWords = 206;

using DecoderTable = std::array<std::uint8_t, kDecoderTableSize>;

// Standards other than 0 all use the 760 x 570 tables.
inline int StandardIndex(int standard) { return standard == 0 ? 0 : 1; }

// The decoder's default register set per (standard index, type).
const DecoderTable& DefaultDecoderTable(int standardIndex, int type);

// Bytes replacing decoder registers 32, 33, 34 and 44 per (type, source).
const std::array<std::uint8_t, 4>& SourcePatch(int type, int source);
inline constexpr std::array<int, 4> kPatchedRegisters = {32, 33, 34, 44};

// The decoder register that register 59 stands for, per (type, source).
int GainRegister(int type, int source);

// Which decoder register an adjustment lives in, and whether a video type has it.
struct Adjustment {
  std::optional<int> reg;
  std::array<bool, kVideoTypes> supported;
};
const Adjustment& AdjustmentOf(int index);

// Default X and Y delays per (standard index, type).
int DefaultXDelay(int standardIndex, int type);
int DefaultYDelay(int standardIndex, int type);

// The 19-entry local timing table of (table set, standard index).
const std::array<std::uint16_t, kTimingEntries>& TimingTable(int tableSet, int standardIndex);

// Where a register of I2C device 0x8A is kept in the decoder shadow, if anywhere.
std::optional<int> Aux8AShadowPosition(int reg);

// The template of a channel's descriptor set.
const std::array<std::uint32_t, kDescriptorWords>& DescriptorTemplate();

}  // namespace orvale::korrin
