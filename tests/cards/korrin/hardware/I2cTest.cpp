// The I2C engine's transfers and the exported register access with its shadows.
#include <gtest/gtest.h>

#include <algorithm>

#include "KorrinTestBoard.h"
#include "cards/korrin/hardware/I2cBus.h"
#include "cards/korrin/hardware/I2cRegisters.h"
#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;

class I2cTest : public ::testing::Test {
 protected:
  void SetUp() override {
    board.StartUp();
    ASSERT_TRUE(board.lib.Live().Located());
  }
  std::size_t TransfersTo(std::uint8_t address8) {
    const auto& transfers = board.Card().I2c().Transfers();
    return std::count_if(transfers.begin(), transfers.end(),
                         [&](const sim::I2cTransfer& t) { return (t.word >> 25) == (address8 >> 1u); });
  }
  std::vector<std::uint32_t> Words() {
    std::vector<std::uint32_t> words;
    for (const auto& t : board.Card().I2c().Transfers()) words.push_back(t.word);
    return words;
  }
  TestBoard board;
};

TEST_F(I2cTest, ADeviceThatNeverAnswersGetsThreeAttempts) {
  EXPECT_EQ(SetI2cReg(board.lib, 0x70, 5, 1), -1);
  EXPECT_EQ(TransfersTo(0x70), 3u);
  EXPECT_EQ(GetI2cReg(board.lib, 0x71, 5), 0) << "a failed read yields 0";
  EXPECT_EQ(TransfersTo(0x70), 6u);
}

TEST_F(I2cTest, AStuckEngineIsAbortedAndTriedAgain) {
  board.Card().I2c().stuckBusyUploads = 1;
  board.Registers().ClearLog();
  EXPECT_EQ(SetI2cReg(board.lib, 0x4A, 240, 7), 0);
  EXPECT_EQ(board.Card().Gains().Registers()[240], 7);
  const auto status = board.Registers().WritesTo(saa::kI2cStatus);
  const std::vector<std::uint32_t> expected = {0x600, 0x680, 0x600, 0x600, 0x600};
  EXPECT_EQ(status, expected);
}

TEST_F(I2cTest, ControlWordsOfEachTransferKind) {
  I2cBus bus(board.lib.Live().Registers(), board.lib.GetClock());
  board.Card().Eeprom().Bytes()[0x33] = 0x5A;
  ASSERT_TRUE(bus.Write(0x4A, 0x12, 0x34));
  ASSERT_TRUE(bus.Write(0x40, kNoRegister, 0x56));
  ASSERT_EQ(bus.Read(kEepromRead, 0x33), 0x5A);
  const std::vector<std::uint32_t> expected = {0x4A123400u | 0xE4, 0x40005600u | 0xC4,
                                               0xA0330000u | 0xE0, 0xA1000000u | 0xD0};
  const auto words = Words();
  ASSERT_GE(words.size(), 4u);
  EXPECT_EQ(std::vector<std::uint32_t>(words.end() - 4, words.end()), expected);
}

TEST_F(I2cTest, ShadowedRegistersAreReadWithoutTheBus) {
  const std::size_t before = board.Card().I2c().Transfers().size();
  ASSERT_EQ(SetI2cReg(board.lib, 0x9C, 59, 0x15), 0);
  const std::size_t afterWrite = board.Card().I2c().Transfers().size();
  EXPECT_EQ(GetI2cReg(board.lib, 0x9C, 59), 0x15);
  EXPECT_EQ(board.Card().I2c().Transfers().size(), afterWrite) << "register 59: shadow";
  EXPECT_GT(afterWrite, before);
  GetI2cReg(board.lib, 0x9C, 60);
  EXPECT_EQ(board.Card().I2c().Transfers().size(), afterWrite + 1) << "register 60: bus";
}

TEST_F(I2cTest, RegisterFiftyNineKeepsTheDecodersTopBits) {
  BoardSettings& s = board.lib.Settings();
  s.video.type = 0;
  s.video.source = 0;  // gain register 43
  ASSERT_EQ(SetI2cReg(board.lib, 0x9C, 43, 0xC5), 0);
  ASSERT_EQ(SetI2cReg(board.lib, 0x9C, 59, 0x2A), 0);
  EXPECT_EQ(board.Card().Decoder().Registers()[43], 0xC0 | 0x2A);
  EXPECT_EQ(GetI2cReg(board.lib, 0x9C, 43), 0xEA);
}

TEST_F(I2cTest, GainWritesSetTheStoredGain) {
  ASSERT_EQ(SetI2cReg(board.lib, 0x9C, 42, 0xFF), 0);
  EXPECT_EQ(GetI2cReg(board.lib, 0x9C, 59), 0x3F);
}

TEST_F(I2cTest, RegistersBeyondTheShadowGoToTheBusAlone) {
  const DecoderTable before = board.lib.Settings().decoder.tables[0][0];
  EXPECT_EQ(SetI2cReg(board.lib, 0x9C, 200, 0x77), 0);
  EXPECT_EQ(board.lib.Settings().decoder.tables[0][0], before);
  EXPECT_EQ(board.Card().Decoder().Registers()[200], 0x77);
  EXPECT_EQ(SetI2cReg(board.lib, 0x9C, 300, 1), -1);
  EXPECT_EQ(SetI2cReg(board.lib, 0x9C, 5, 0x1FF), 0);
  EXPECT_EQ(GetI2cReg(board.lib, 0x9C, 5), 0xFF) << "values are bytes";
}

TEST_F(I2cTest, DeviceEightyAShadowsItsInputRegisters) {
  EXPECT_EQ(SetI2cReg(board.lib, 0x8A, 300, 1), -1);
  EXPECT_EQ(SetI2cReg(board.lib, 0x8A, 120, 0x4D), 0);
  EXPECT_EQ(board.lib.Settings().decoder.tables[0][0][34], 0x4D);
  EXPECT_EQ(board.Card().Aux8A().Registers()[120], 0x4D);
  EXPECT_EQ(GetI2cReg(board.lib, 0x8A, 120), 0x4D);
}

TEST_F(I2cTest, NothingHappensOnAnUnlocatedBoard) {
  Cleanup(board.lib);
  const std::size_t before = board.Card().I2c().Transfers().size();
  EXPECT_EQ(SetI2cReg(board.lib, 0x4A, 1, 1), -1);
  EXPECT_EQ(GetI2cReg(board.lib, 0x4B, 1), -1);
  EXPECT_EQ(board.Card().I2c().Transfers().size(), before);
}

struct SpreadCase {
  const char* name;
  int type;
  int source;
  int acquisitionMode;
  int reg;  // 19 contrast, 25 brightness
  int value;
  std::vector<std::pair<int, int>> gains;  // (0x4A register, value)
};

TEST_F(I2cTest, ContrastAndBrightnessSpreadOverTheGainStages) {
  // Default offsets: brightness {2, 0, -2}, contrast {-1, 0, 1}, added as a running sum.
  const SpreadCase cases[] = {
      {"type 4 contrast, source 0", 4, 0, 1, 19, 20, {{246, 53}}},
      {"type 4 contrast too high", 4, 1, 1, 19, 200, {{245, 0}}},
      {"type 4 brightness, source 0", 4, 0, 1, 25, 100, {{243, 25}}},
      {"type 4 brightness below 1", 4, 2, 1, 25, 2, {{244, 0}}},
      {"type 4 brightness capped", 4, 2, 1, 25, 255, {{244, 63}}},
      {"type 4 pair in frame mode", 4, 0, 2, 19, 20, {{246, 53}, {245, 53}}},
      {"type 2 brightness", 2, 1, 1, 25, 100, {{242, 27}, {243, 27}, {244, 25}}},
      {"type 2 contrast", 2, 1, 1, 19, 10, {{245, 57}, {246, 57}, {247, 58}}},
      {"type 3 brightness clamps to 63", 3, 0, 1, 25, 255, {{242, 63}, {243, 63}, {244, 63}}},
      {"type 3 contrast clamps to 0", 3, 0, 1, 19, 130, {{245, 0}, {246, 0}, {247, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto& gains = board.Card().Gains().Registers();
    gains.fill(0xEE);
    BoardSettings& s = board.lib.Settings();
    s.video.type = c.type;
    s.video.source = c.source;
    s.misc.acquisitionMode = c.acquisitionMode;
    const auto decoderBefore = board.Card().Decoder().Registers()[c.reg];
    ASSERT_EQ(SetI2cReg(board.lib, 0x9C, c.reg, c.value), 0);
    for (const auto& [reg, value] : c.gains) EXPECT_EQ(gains[reg], value) << reg;
    EXPECT_EQ(board.Card().Decoder().Registers()[c.reg], decoderBefore) << "not written directly";
    EXPECT_EQ(GetI2cReg(board.lib, 0x9C, c.reg), c.value) << "kept in the shadow";
  }
}

}  // namespace
}  // namespace orvale::korrin
