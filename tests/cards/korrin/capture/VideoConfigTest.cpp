// Selecting the video input, the decoder adjustments, source detection, the misc
// parameters of the decoder side and direct register access.
#include <gtest/gtest.h>

#include <algorithm>

#include "KorrinTestBoard.h"
#include "cards/korrin/hardware/Decoder.h"
#include "cards/korrin/session/MiscParams.h"
#include "cards/korrin/hardware/RegisterAccess.h"
#include "cards/korrin/capture/VideoConfig.h"
#include "cards/korrin/capture/VideoWindow.h"
#include "korrin32.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;
using test::WithController;

// A board whose EEPROM carries `configId`.
void StartWithConfig(TestBoard& board, std::uint32_t configId) {
  board.StartUpWithConfig(configId);
  ASSERT_EQ(board.lib.Settings().frame.configId, configId);
}

std::array<int, 4> InputRegisters(TestBoard& board) {
  auto& r = board.Card().Decoder().Registers();
  return {r[32], r[33], r[34], r[44]};
}

struct ConfigRow {
  const char* name;
  std::uint32_t configId;
  int type, standard, source, fourth;
  std::int32_t result;
  std::array<int, 4> inputs;  // decoder registers 32, 33, 34, 44 after a success
};

TEST(VideoConfigTest, SelectionLoadsTheSourcePatch) {
  const ConfigRow rows[] = {
      {"type 0 source 0", 0, 0, 0, 0, 0, 0, {0x7F, 0x20, 0xE2, 0x13}},
      {"type 1 source 2", 0, 1, 1, 2, 0, 0, {0x5F, 0x11, 0xF2, 0x93}},
      {"type 2 alternate input", 0, 2, 0, 1, 1, 0, {0x7B, 0x20, 0xE2, 0x13}},
      {"type 4 source 5", 0, 4, 0, 5, 0, 0, {0x7B, 0x20, 0xE2, 0x13}},
      {"type 2 on a gate board", 0x20, 2, 0, 0, 0, -1, {}},
      {"type 5", 0, 5, 0, 0, 0, -1, {}},
      {"source 6", 0, 0, 0, 6, 0, -1, {}},
      {"alternate input past the table", 0, 2, 0, 3, 1, -1, {}},
      {"negative source", 0, 1, 0, -1, 0, -1, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard board(WithController(row.configId & 0x20 ? sim::ControllerKind::kControllerGate
                                              : sim::ControllerKind::kNone));
    StartWithConfig(board, row.configId);
    const auto before = InputRegisters(board);
    const VideoSelection selectionBefore = board.lib.Settings().video;
    EXPECT_EQ(SetVideoConfig(board.lib, row.type, row.standard, row.source, row.fourth), row.result);
    if (row.result == 0) {
      EXPECT_EQ(InputRegisters(board), row.inputs);
      EXPECT_EQ(board.lib.Settings().video.type, row.type);
      EXPECT_EQ(board.lib.Settings().video.source, row.source);
    } else {
      EXPECT_EQ(InputRegisters(board), before);
      EXPECT_EQ(board.lib.Settings().video, selectionBefore);
    }
  }
}

TEST(VideoConfigTest, ColourFlagAndDecoderFlagShapeTheLoadedRegisters) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetMiscParm(board.lib, 21, 0), 0);
  ASSERT_EQ(SetMiscParm(board.lib, 19, 1), 0);
  ASSERT_EQ(SetVideoConfig(board.lib, 0, 0, 0, 0), 0);
  auto& r = board.Card().Decoder().Registers();
  EXPECT_EQ(r[34], 0xE2 & 0x3F);
  EXPECT_EQ(r[13] & 0x80, 0x80);
  ASSERT_EQ(SetMiscParm(board.lib, 21, 1), 0);
  EXPECT_EQ(r[34], 0xE2);
}

TEST(VideoConfigTest, StandardAndTypeChangesResetGeometryAndDelays) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetVideoConfig(board.lib, 0, 1, 1, 0), 0);
  const VideoGeometry& g = board.lib.Settings().geometry;
  EXPECT_EQ(g.input, (Rect16{0, 0, 760, 570}));
  EXPECT_EQ(g.window.width, 760);
  EXPECT_EQ(g.window.height, 570);
  board.lib.Settings().xDelay = 1;
  ASSERT_EQ(SetVideoConfig(board.lib, 2, 1, 1, 0), 0);
  EXPECT_EQ(board.lib.Settings().xDelay, 168);
  EXPECT_EQ(board.lib.Settings().yDelay, 24);
  ASSERT_EQ(SetVideoConfig(board.lib, 2, 0, 1, 0), 0);
  EXPECT_EQ(g.input, (Rect16{0, 0, 640, 480}));
}

TEST(VideoConfigTest, LiveVideoStopsForTheChangeAndStartsAgain) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  board.Registers().ClearLog();
  ASSERT_EQ(SetVideoConfig(board.lib, 1, 0, 2, 0), 0);
  const auto mc1 = board.Registers().WritesTo(0xFC);
  ASSERT_GE(mc1.size(), 2u);
  EXPECT_EQ(mc1.front(), 0x00400000u);
  EXPECT_EQ(mc1.back(), 0x00400040u);
  EXPECT_EQ(board.lib.Settings().liveState, 1);
}

TEST(VideoConfigTest, TheSameSelectionIsAppliedAgain) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetVideoConfig(board.lib, 1, 0, 1, 0), 0);
  const std::size_t writes = board.Card().Decoder().Log().size();
  ASSERT_EQ(SetVideoConfig(board.lib, 1, 0, 1, 0), 0);
  EXPECT_EQ(board.Card().Decoder().Log().size(), writes + kDecoderRegisters);
}

TEST(VideoConfigTest, FrameModeCarriesTheSelectionToBothChannels) {
  TestBoard board;
  board.StartUp();
  board.lib.Settings().misc.acquisitionMode = 2;
  ASSERT_EQ(SetVideoConfig(board.lib, 1, 0, 4, 0), 0);
  const auto& sets = board.lib.Settings().descriptors;
  for (int channel = 0; channel < 2; ++channel) {
    EXPECT_EQ(sets[channel][0], 1u) << channel;
    EXPECT_EQ(sets[channel][2], 4u) << channel;
  }
  EXPECT_EQ(board.lib.Settings().misc.channel, 0);
}

TEST(VideoConfigTest, ControllerBoardsRouteTheInputOnTheLocalBus) {
  TestBoard board(WithController(sim::ControllerKind::kController));
  board.StartUp();
  ASSERT_EQ(SetVideoConfig(board.lib, 4, 1, 2, 0), 0);
  auto& bus = board.Card().LocalBus();
  EXPECT_EQ(bus.Value(0xF300), 946u);
  EXPECT_EQ(bus.Value(0xFB00), 9u + 1 + 32);
  EXPECT_EQ(bus.Value(0xF900) & 0x8F, 0x08u | 0x80u | 0x01u);
  EXPECT_EQ(bus.Value(0xF900) & 0x40, 0x40u);
  EXPECT_EQ(board.Card().LocalBus().TimingWrites().size() >= kTimingEntries, true);
}

struct AdjustmentRow {
  int type;
  int index;
  int value;
  std::int32_t setResult;
  std::int32_t read;  // what Get returns afterwards
};

TEST(VideoConfigTest, AdjustmentsRoundTripThroughTheirRegisters) {
  const AdjustmentRow rows[] = {
      {0, 0, 0x2A, 0, 0x2A},  {0, 0, 0x45, 0, 0x05},  // 6 bits kept
      {0, 1, 0x33, 0, 0x33},  {1, 3, 0x7F, 0, 0x3F},  // 1 and 3 keep 6 bits
      {0, 6, 6, 0, 6},        {0, 6, 5, 0, 4},        // 6: even values only
      {0, 6, 0, 0, 0},        {0, 7, 9, 0, 1},        {0, 8, 0, 0, 0},
      {2, 4, 40, 0, 40},      {3, 10, 20, 0, 20},     {2, 5, 32, 0, 32},
      {0, 11, 0x15, 0, 0x15}, {2, 0, 5, 1, 0},        {4, 6, 2, 1, 0},
      {0, 9, 1, 1, 0},        {1, 9, 1, 1, 0},        {2, 9, 1, 1, 0},
      {3, 9, 1, 1, 0},        {4, 9, 1, 1, 0},        {0, 12, 1, -1, -1},
      {0, -1, 1, -1, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "type " << row.type << " index " << row.index);
    TestBoard board;
    board.StartUp();
    ASSERT_EQ(SetVideoConfig(board.lib, row.type, 0, 0, 0), 0);
    EXPECT_EQ(SetVideoAdjustment(board.lib, row.index, row.value), row.setResult);
    EXPECT_EQ(GetVideoAdjustment(board.lib, row.index), row.read);
  }
}

TEST(VideoConfigTest, OffsetAdjustmentsStoreValueLessThirtyTwo) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetVideoConfig(board.lib, 2, 0, 1, 0), 0);
  ASSERT_EQ(SetVideoAdjustment(board.lib, 5, 40), 0);
  EXPECT_EQ(board.lib.Settings().decoder.offsets[0][1].brightness[1], 8);
}

TEST(VideoConfigTest, StoredAdjustmentsComeFromTheEepromTables) {
  TestBoard board;
  EepromImage image = DefaultEepromImage();
  image.storedGain[1][0] = 0xD7;
  board.WriteEeprom(image);
  board.StartUp();
  EXPECT_EQ(GetStoredVideoAdjustment(board.lib, 1, 0, 11), 0x17);
  EXPECT_EQ(GetStoredVideoAdjustment(board.lib, 0, 0, 0), (0xE0 >> 2) & 0x3F);
  EXPECT_EQ(GetStoredVideoAdjustment(board.lib, 0, 2, 0), 0) << "unsupported";
  EXPECT_EQ(GetStoredVideoAdjustment(board.lib, 2, 0, 0), -1);
  EXPECT_EQ(GetStoredVideoAdjustment(board.lib, 0, 5, 0), -1);
  EXPECT_EQ(GetStoredVideoAdjustment(board.lib, 0, 0, 12), -1);
  EXPECT_EQ(GetStoredVideoAdjustment(board.lib, -1, 0, 0), -1);
}

struct DetectionRow {
  const char* name;
  std::optional<sim::InputKey> camera;  // none: no signal at all
  int fieldsPerSecond;
  std::uint32_t configId;
  std::int32_t status;
  std::intptr_t value;
};

TEST(VideoConfigTest, DetectionFindsTheCameraAndRestoresTheSelection) {
  const sim::InputKey type1Source1 = {0x9C, 0x16, 0x01, 0x13};
  const sim::InputKey type0Source0 = {0x7F, 0x20, 0x22, 0x13};
  const sim::InputKey type2Source0 = {0xBF, 0x10, 0x11, 0x13};
  const sim::InputKey type2Alternate = {0x7B, 0x20, 0x22, 0x13};
  const DetectionRow rows[] = {
      {"type 1 source 1 at 60", type1Source1, 60, 0, 0, 1 | (1 << 16)},
      {"type 1 source 1 at 50", type1Source1, 50, 0, 0, 1 | (1 << 8) | (1 << 16)},
      {"type 0 source 0", type0Source0, 60, 0, 0, 0},
      {"type 2 source 0 by fields at 60", type2Source0, 60, 0, 0, 2},
      {"type 2 source 0 by fields at 50", type2Source0, 50, 0, 0, 2 | (1 << 8)},
      {"alternate input", type2Alternate, 60, 0, 0, 2 | (1 << 24)},
      {"gate board skips type 2", type2Source0, 60, 0x20, -1, 0x10000},
      {"no camera", std::nullopt, 60, 0, -1, 0x10000},
      {"no detection on this board", type1Source1, 60, 0x40, -1, 0x10000},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TestBoard board(WithController(row.configId & 0x20 ? sim::ControllerKind::kControllerGate
                                              : sim::ControllerKind::kNone));
    StartWithConfig(board, row.configId);
    sim::SimCamera& camera = board.Card().Camera();
    camera.signal = row.camera.has_value();
    camera.input = row.camera;
    camera.fieldsPerSecond = row.fieldsPerSecond;
    ASSERT_EQ(SetVideoConfig(board.lib, 1, 0, 4, 0), 0);
    const auto inputsBefore = InputRegisters(board);
    std::intptr_t value = 0;
    EXPECT_EQ(GetMiscParm(board.lib, 1, &value), row.status);
    EXPECT_EQ(value, row.value);
    EXPECT_EQ(board.lib.Settings().video.type, 1);
    EXPECT_EQ(board.lib.Settings().video.source, 4);
    EXPECT_EQ(InputRegisters(board), inputsBefore);
  }
}

TEST(VideoConfigTest, SignalProbeOnTheCurrentInput) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SetVideoConfig(board.lib, 3, 0, 0, 0), 0);
  std::intptr_t value = -1;
  EXPECT_EQ(GetMiscParm(board.lib, 10, &value), 0);
  EXPECT_EQ(value, 1);
  board.Card().Camera().signal = false;
  EXPECT_EQ(GetMiscParm(board.lib, 10, &value), 0);
  EXPECT_EQ(value, 0);
}

TEST(VideoConfigTest, MiscParameterIdsOutsideTheTableFail) {
  TestBoard board;
  board.StartUp();
  std::intptr_t value = 0;
  for (std::int16_t id : {0, 23, 39, -1}) {
    EXPECT_EQ(GetMiscParm(board.lib, id, &value), -1) << id;
    EXPECT_EQ(SetMiscParm(board.lib, id, 0), -1) << id;
  }
  EXPECT_EQ(GetMiscParm(board.lib, 13, nullptr), -1);
  EXPECT_EQ(SetMiscParm(board.lib, 15, 0), -1) << "null version record";
  EXPECT_EQ(SetMiscParm(board.lib, 13, 2500), 0);
  EXPECT_EQ(GetMiscParm(board.lib, 13, &value), 0);
  EXPECT_EQ(value, 2500);
}

// Misc parameter 2 reads the overlay marker back through the rectangle pointer the
// caller's value holds, the value itself left as it was: a box, a cross, a filled
// rectangle and an empty one (no marker) alike.
TEST(VideoConfigTest, TheMarkerRectangleReadsBackAsSet) {
  using Rect = std::array<std::int16_t, 4>;
  TestBoard board;
  board.StartUp();
  for (const Rect& set : {Rect{10, 20, 100, 50}, Rect{5, 6, -30, 40}, Rect{7, 8, 30, -40}, Rect{0, 0, 0, 0}}) {
    SCOPED_TRACE(testing::PrintToString(set));
    Rect given = set;
    ASSERT_EQ(KR_SetMiscParm(2, reinterpret_cast<intptr_t>(given.data())), 0);
    Rect got{-1, -1, -1, -1};
    intptr_t value = reinterpret_cast<intptr_t>(got.data());
    EXPECT_EQ(KR_GetMiscParm(2, &value), 0);
    EXPECT_EQ(got, set);
    EXPECT_EQ(value, reinterpret_cast<intptr_t>(got.data()));
  }
}

TEST(VideoConfigTest, EepromWordsFromAVersionRecord) {
  TestBoard board;
  board.StartUp();
  KR_VersionInfo info{};
  info.configId = 0x77;
  info.eepromValue32 = 5;
  info.eepromValue16 = 6;
  ASSERT_EQ(SetMiscParm(board.lib, 15, reinterpret_cast<std::intptr_t>(&info)), 0);
  EXPECT_EQ(board.lib.Settings().frame.configId, 0x77u);
  EXPECT_EQ(board.lib.Settings().frame.value16, 6);
}

TEST(VideoConfigTest, IrisLevelsReachTheGainDevice) {
  struct Row {
    int level;
    int reg240;
    int reg241;
  };
  TestBoard board;
  StartWithConfig(board, 0x08);
  auto& gains = board.Card().Gains().Registers();
  for (const Row& row : {Row{0, 0x3F, 0x3F}, Row{4095, 0, 0}, Row{0x40, 0x3E, 0x3F}}) {
    ASSERT_EQ(SetIrisLevel(board.lib, row.level), 0) << row.level;
    EXPECT_EQ(gains[240], row.reg240) << row.level;
    EXPECT_EQ(gains[241], row.reg241) << row.level;
  }
  EXPECT_EQ(SetIrisLevel(board.lib, 4096), -1);
  TestBoard noIris;
  StartWithConfig(noIris, 0);
  EXPECT_EQ(SetIrisLevel(noIris.lib, 0), -1);
}

TEST(VideoConfigTest, TimingDeviceWritesAreBracketed) {
  TestBoard board;
  board.StartUp();
  auto& bus = board.Card().LocalBus();
  const std::size_t before = bus.Writes().size();
  ASSERT_EQ(SetMiscReg(board.lib, 1, 7, 0x1234), 0);
  std::vector<std::uint32_t> fa00;
  for (std::size_t i = before; i < bus.Writes().size(); ++i) {
    if (bus.Writes()[i].address == 0xFA00) fa00.push_back(bus.Writes()[i].value & 2);
  }
  EXPECT_EQ(fa00, (std::vector<std::uint32_t>{0, 2, 0}));
  EXPECT_EQ(bus.TimingWrites().back(), (std::pair<int, int>{7, 0x1234}));
  EXPECT_EQ(SetMiscReg(board.lib, 1, 32, 0), -1);
  EXPECT_EQ(SetMiscReg(board.lib, 2, 0, 0), -1);
  EXPECT_EQ(GetMiscReg(board.lib, 1, 0xF000), -1);
  ASSERT_EQ(SetMiscReg(board.lib, 4, 0xF500, 0x5A), 0);
  EXPECT_EQ(bus.Value(0xF500), 0x5Au);
  EXPECT_EQ(GetMiscReg(board.lib, 4, 0xF500), 0x5A);
}

TEST(VideoConfigTest, VideoFrequencyNeedsItsConfigurationBit) {
  TestBoard plain;
  plain.StartUp();
  EXPECT_EQ(SetVidFreq(plain.lib, 100, 40), -1);
  TestBoard board;
  StartWithConfig(board, 0x04);
  ASSERT_EQ(SetVidFreq(board.lib, 100, 40), 0);
  const auto& timing = board.Card().LocalBus().TimingWrites();
  ASSERT_GE(timing.size(), 2u);
  EXPECT_EQ(timing[timing.size() - 2], (std::pair<int, int>{19, 100}));
  EXPECT_EQ(timing.back(), (std::pair<int, int>{20, 40}));
}

TEST(VideoConfigTest, BridgeRegistersInsideTheWindowOnly) {
  TestBoard board;
  board.StartUp();
  EXPECT_EQ(SetSaaRegister(board.lib, 0x1FC, 0xAB), 0);
  EXPECT_EQ(GetSaaRegister(board.lib, 0x1FC), 0xAB);
  const std::size_t writes = board.Registers().Writes().size();
  EXPECT_EQ(SetSaaRegister(board.lib, 0x200, 1), -1);
  EXPECT_EQ(SetSaaRegister(board.lib, 0x03, 1), -1);
  EXPECT_EQ(SetSaaRegister(board.lib, -4, 1), -1);
  EXPECT_EQ(board.Registers().Writes().size(), writes);
  EXPECT_EQ(GetSaaRegister(board.lib, 0x200), -1);
  EXPECT_EQ(GetSaaRegister(board.lib, 0x03), -1);
}

}  // namespace
}  // namespace orvale::korrin
