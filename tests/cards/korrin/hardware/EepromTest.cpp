// Saving the configuration to the board EEPROM, and what the next load makes of it.
#include <gtest/gtest.h>

#include "KorrinTestBoard.h"
#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/hardware/Eeprom.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;

constexpr std::int16_t kKey = 0x5651;

EepromImage OldImage() {
  EepromImage image = DefaultEepromImage();
  image.configId = 0x1234;
  image.value32 = 0xCAFEF00D;
  image.value16 = 0x4321;
  return image;
}

KR_VersionInfo Reload(TestBoard& board) {
  Cleanup(board.lib);
  board.StartUp();
  KR_VersionInfo info{};
  GetVersionInfo(board.lib, &info);
  return info;
}

TEST(EepromTest, SavedValuesComeBackAfterCleanupAndLoad) {
  TestBoard board;
  board.StartUp();
  ASSERT_EQ(SaveConfigToEeprom(board.lib, kKey, 0x1111, 0x22222222, 0x333), 0);
  Cleanup(board.lib);
  EXPECT_EQ(LoadConfig(board.lib), 2);
  KR_VersionInfo info{};
  GetVersionInfo(board.lib, &info);
  EXPECT_EQ(info.configId, 0x333u);
  EXPECT_EQ(info.eepromValue32, 0x22222222u);
  EXPECT_EQ(info.eepromValue16, 0x1111);
  EXPECT_EQ(info.eepromByte2, 6);
  EXPECT_EQ(DecodeEeprom(board.Card().Eeprom().Bytes()).offsets, DefaultEepromImage().offsets);
}

TEST(EepromTest, MinusOneKeepsTheCurrentValue) {
  TestBoard board;
  board.WriteEeprom(OldImage());
  board.StartUp();
  ASSERT_EQ(SaveConfigToEeprom(board.lib, kKey, -1, -1, 0x444), 0);
  const KR_VersionInfo info = Reload(board);
  EXPECT_EQ(info.configId, 0x444u);
  EXPECT_EQ(info.eepromValue32, 0xCAFEF00Du);
  EXPECT_EQ(info.eepromValue16, 0x4321);
}

TEST(EepromTest, WrongKeyOrNoConfigurationWritesNothing) {
  TestBoard board;
  ASSERT_EQ(Locate(board.lib), 0);
  EXPECT_EQ(SaveConfigToEeprom(board.lib, kKey, 1, 2, 3), -1) << "configuration not loaded";
  LoadConfig(board.lib);
  EXPECT_EQ(SaveConfigToEeprom(board.lib, 0x5650, 1, 2, 3), -1);
  EXPECT_EQ(board.Card().Eeprom().ByteWrites(), 0u);
}

TEST(EepromTest, AnInterruptedSaveNeverLoadsAsMixedData) {
  // Byte writes in order: 0 := 0, then 2..255, then 1, then 0.
  struct Row {
    std::size_t failAt;
    std::int32_t load;
    std::uint32_t configId;
  };
  const Row rows[] = {{0, 2, 0x1234}, {1, 1, 0x319}, {100, 1, 0x319}, {255, 1, 0x319}, {256, 1, 0x319}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.failAt);
    TestBoard board;
    board.WriteEeprom(OldImage());
    board.StartUp();
    board.Card().Eeprom().refuseWritesFrom = row.failAt;
    EXPECT_EQ(SaveConfigToEeprom(board.lib, kKey, 1, 2, 0x999), -1);
    Cleanup(board.lib);
    EXPECT_EQ(LoadConfig(board.lib), row.load);
    KR_VersionInfo info{};
    GetVersionInfo(board.lib, &info);
    EXPECT_EQ(info.configId, row.configId);
  }
}

TEST(EepromTest, AByteThatDoesNotStickFailsTheSave) {
  TestBoard board;
  board.StartUp();
  board.Card().Eeprom().writesIgnored = true;
  EXPECT_EQ(SaveConfigToEeprom(board.lib, kKey, 1, 2, 3), -1);
}

TEST(EepromTest, ABusThatStaysBusyFailsAfterFiveSeconds) {
  TestBoard board;
  board.StartUp();
  board.Card().Eeprom().writeCycleNeverEnds = true;
  const std::uint64_t start = board.clock.ElapsedMs();
  EXPECT_EQ(SaveConfigToEeprom(board.lib, kKey, 1, 2, 3), -1);
  const std::uint64_t elapsed = board.clock.ElapsedMs() - start;
  EXPECT_GE(elapsed, 5000u);
  EXPECT_LT(elapsed, 5200u);
}

TEST(EepromTest, CodecRoundTripsTheWholeImage) {
  EepromImage image = OldImage();
  image.offsets[1][4].contrast = {-3, 7, 12};
  image.storedGain[0][2] = 0x2A;
  EXPECT_EQ(DecodeEeprom(EncodeEeprom(image)), image);
  const EepromBytes bytes = EncodeEeprom(DefaultEepromImage());
  EXPECT_EQ(bytes[0], 0x51);
  EXPECT_EQ(bytes[1], 0x56);
  EXPECT_EQ((std::vector<int>{bytes[2], bytes[3], bytes[4], bytes[5]}),
            (std::vector<int>{6, 0, 0x26, 0x0F}));
  for (int i = 6; i < 16; ++i) EXPECT_EQ(bytes[i], 0) << i;
}

}  // namespace
}  // namespace orvale::korrin
