// Board data chosen by us where the board's tables are not given: the decoder register
// sets, the local timing tables and the descriptor template. The source patches, gain
// registers, adjustment map and default delays are the board's own.
#include "cards/korrin/hardware/BoardData.h"

namespace orvale::korrin {
namespace {

// Our decoder defaults: composite input, automatic gain, luminance and chrominance
// mid-scale, gains 0x20. Standard and type only change the registers noted below.
constexpr DecoderTable kBaseTable = {
    0x00, 0x00, 0xC0, 0x23, 0x00, 0x00, 0xEB, 0xE0, 0x88, 0x01, 0x80, 0x47, 0x40, 0x00, 0x01,
    0x2A, 0x00, 0x0C, 0x40, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00, 0x20, 0x00, 0x00, 0x20, 0x20, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    // gain registers 53..58 and the stored gain 59
    0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};

constexpr DecoderTable MakeTable(int standardIndex, int type) {
  DecoderTable table = kBaseTable;
  if (standardIndex != 0) {
    table[8] = 0x08;   // 50 fields per second
    table[14] = 0x81;  // 625-line chrominance trap
  }
  if (type == 1) table[9] = 0x81;           // separate luminance and chrominance
  if (type >= 2) table[2] = 0xC8;           // external gain stage
  if (type == 4) table[6] = 0xEF;
  return table;
}

constexpr std::array<std::array<DecoderTable, kVideoTypes>, kVideoStandards> kDecoderTables = {{
    {MakeTable(0, 0), MakeTable(0, 1), MakeTable(0, 2), MakeTable(0, 3), MakeTable(0, 4)},
    {MakeTable(1, 0), MakeTable(1, 1), MakeTable(1, 2), MakeTable(1, 3), MakeTable(1, 4)},
}};

constexpr std::array<std::array<std::array<std::uint8_t, 4>, kSourcesPerType>, kVideoTypes>
    kSourcePatches = {{
        {{{0x7F, 0x20, 0xE2, 0x13}, {0xDF, 0x10, 0x41, 0x13}, {0xDE, 0x10, 0x41, 0x13},
          {0xBD, 0x10, 0x91, 0x13}, {0xBF, 0x10, 0x91, 0x13}, {0x7B, 0x20, 0xE2, 0x13}}},
        {{{0x1B, 0x24, 0xB1, 0x13}, {0x9C, 0x16, 0x41, 0x13}, {0x5F, 0x11, 0xF2, 0x93},
          {0x1B, 0x24, 0xB1, 0x13}, {0x9C, 0x16, 0x41, 0x13}, {0x5F, 0x11, 0xF2, 0x93}}},
        {{{0xBF, 0x10, 0x91, 0x13}, {0xBF, 0x10, 0x91, 0x13}, {0xBF, 0x10, 0x91, 0x13},
          {0x7B, 0x20, 0xE2, 0x13}, {0x7B, 0x20, 0xE2, 0x13}, {0x7B, 0x20, 0xE2, 0x13}}},
        {{{0x7B, 0x20, 0xE2, 0x13}, {0x7B, 0x20, 0xE2, 0x13}, {0x7B, 0x20, 0xE2, 0x13},
          {0x7B, 0x20, 0xE2, 0x13}, {0x7B, 0x20, 0xE2, 0x13}, {0x7B, 0x20, 0xE2, 0x13}}},
        {{{0xBF, 0x10, 0x91, 0x13}, {0xBF, 0x10, 0x91, 0x13}, {0xBF, 0x10, 0x91, 0x13},
          {0x7B, 0x20, 0xE2, 0x13}, {0x7B, 0x20, 0xE2, 0x13}, {0x7B, 0x20, 0xE2, 0x13}}},
    }};

constexpr std::array<std::array<int, kSourcesPerType>, kVideoTypes> kGainRegisters = {{
    {43, 39, 39, 42, 42, 43},
    {42, 39, 43, 39, 39, 39},
    {39, 39, 39, 39, 39, 39},
    {39, 39, 39, 39, 39, 39},
    {39, 39, 39, 39, 39, 39},
}};

const std::array<Adjustment, kAdjustments> kAdjustmentTable = {{
    {7, {true, true, false, false, false}},
    {18, {true, true, false, false, false}},
    {25, {true, true, true, true, true}},
    {19, {true, true, true, true, true}},
    {25, {false, false, true, true, false}},
    {25, {false, false, true, true, false}},
    {6, {true, false, false, false, false}},
    {6, {true, false, false, false, false}},
    {13, {true, true, true, true, true}},
    {std::nullopt, {false, false, false, false, false}},
    {25, {false, false, true, true, false}},
    {59, {true, true, false, false, false}},
}};

constexpr std::array<std::array<int, kVideoTypes>, kVideoStandards> kXDelays = {{
    {140, 140, 130, 130, 124}, {178, 178, 168, 168, 162}}};
constexpr std::array<std::array<int, kVideoTypes>, kVideoStandards> kYDelays = {{
    {12, 12, 18, 18, 18}, {18, 18, 24, 24, 24}}};

// Local timing tables: line and pixel counts of the on-board sync generator, one set
// per board revision (configuration bit 0x400 selects the second).
constexpr std::array<std::array<std::array<std::uint16_t, kTimingEntries>, kVideoStandards>, 2>
    kTimingTables = {{
        {{{525, 262, 780, 640, 140, 12, 16, 3, 3, 3, 18, 2, 59, 64, 44, 1, 0, 0, 0},
          {625, 312, 946, 760, 178, 18, 20, 2, 3, 2, 22, 2, 69, 76, 54, 1, 0, 0, 0}}},
        {{{525, 262, 780, 640, 132, 14, 16, 3, 3, 3, 18, 2, 57, 64, 42, 3, 0, 0, 0},
          {625, 312, 946, 760, 170, 20, 20, 2, 3, 2, 22, 2, 67, 76, 52, 3, 0, 0, 0}}},
    }};

constexpr std::array<std::uint32_t, kDescriptorWords> MakeDescriptorTemplate() {
  std::array<std::uint32_t, kDescriptorWords> words{};
  // Selection: type 0, standard 0, source 1, fourth 0; the decoder words are filled
  // from the board's own register set when the template is taken.
  words[2] = 1;
  return words;
}
constexpr auto kDescriptorTemplate = MakeDescriptorTemplate();

// Device 0x8A mirrors the decoder's input registers: its registers 119..127 are shadow
// positions 33..41 (index r - 118 into this table; 0 stands for every register below
// 118 and has no position).
constexpr std::array<std::uint8_t, 138> MakeAux8AMap() {
  std::array<std::uint8_t, 138> map{};
  map.fill(0xFF);
  for (int i = 1; i <= 9; ++i) map[i] = static_cast<std::uint8_t>(32 + i);
  return map;
}
constexpr auto kAux8AMap = MakeAux8AMap();

}  // namespace

std::optional<int> Aux8AShadowPosition(int reg) {
  if (reg < 0 || reg > 255) return std::nullopt;
  const std::uint8_t position = kAux8AMap[reg < 118 ? 0 : reg - 118];
  if (position == 0xFF) return std::nullopt;
  return position;
}

const DecoderTable& DefaultDecoderTable(int standardIndex, int type) {
  return kDecoderTables.at(standardIndex).at(type);
}

const std::array<std::uint8_t, 4>& SourcePatch(int type, int source) {
  return kSourcePatches.at(type).at(source);
}

int GainRegister(int type, int source) { return kGainRegisters.at(type).at(source); }

const Adjustment& AdjustmentOf(int index) { return kAdjustmentTable.at(index); }

int DefaultXDelay(int standardIndex, int type) { return kXDelays.at(standardIndex).at(type); }
int DefaultYDelay(int standardIndex, int type) { return kYDelays.at(standardIndex).at(type); }

const std::array<std::uint16_t, kTimingEntries>& TimingTable(int tableSet, int standardIndex) {
  return kTimingTables.at(tableSet).at(standardIndex);
}

const std::array<std::uint32_t, kDescriptorWords>& DescriptorTemplate() {
  return kDescriptorTemplate;
}

}  // namespace orvale::korrin
