// Locating, loading the configuration, initialising and cleaning up a simulated board.
#include <gtest/gtest.h>

#include <algorithm>

#include "KorrinTestBoard.h"
#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/hardware/Saa7146.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;

KR_VersionInfo VersionOf(Library& lib) {
  KR_VersionInfo info{};
  EXPECT_EQ(GetVersionInfo(lib, &info), 0);
  return info;
}

struct EepromCase {
  const char* name;
  void (*prepare)(TestBoard&);
  std::int32_t loadResult;
  std::uint32_t configId;
  std::uint32_t value32;
  std::uint16_t value16;
  std::uint16_t byte2;
};

EepromImage ValidImage() {
  EepromImage image = DefaultEepromImage();
  image.configId = 0x1234;
  image.value32 = 0xCAFEF00D;
  image.value16 = 0x4321;
  image.header[0] = 9;
  return image;
}

TEST(StartupTest, LoadConfigReportsWhetherTheEepromHeldAValidImage) {
  const EepromCase cases[] = {
      {"valid", [](TestBoard& b) { b.WriteEeprom(ValidImage()); }, 2, 0x1234, 0xCAFEF00D, 0x4321, 9},
      {"blank", [](TestBoard&) {}, 1, 0x319, 0, 0, 6},
      {"absent", [](TestBoard& b) { b.Card().I2c().Detach(0xA0); }, 1, 0x319, 0, 0, 6},
      {"one byte unreadable",
       [](TestBoard& b) {
         b.WriteEeprom(ValidImage());
         b.Card().Eeprom().unreadable.insert(77);
       },
       1, 0x319, 0, 0, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestBoard board;
    c.prepare(board);
    EXPECT_EQ(LoadConfig(board.lib), c.loadResult);
    const KR_VersionInfo info = VersionOf(board.lib);
    EXPECT_EQ(info.configId, c.configId);
    EXPECT_EQ(info.eepromValue32, c.value32);
    EXPECT_EQ(info.eepromValue16, c.value16);
    EXPECT_EQ(info.eepromByte2, c.byte2);
    EXPECT_EQ(info.boardKind, 2);
    EXPECT_EQ(info.libraryWords[0], 37);
    EXPECT_EQ(info.word26, 3);
  }
}

TEST(StartupTest, WithoutABoardLocatingFails) {
  sim::SimOptions noBoards;
  noBoards.boards = 0;
  TestBoard board(noBoards);
  EXPECT_EQ(Locate(board.lib), -1);
  EXPECT_EQ(LoadConfig(board.lib), -1);
  EXPECT_EQ(Init(board.lib), -1);
  EXPECT_FALSE(board.lib.Live().Located());
}

TEST(StartupTest, LatencyKeyChangesOnlyTheLatencyByte) {
  struct Row {
    const char* key;  // null: no key in the INI file
    std::uint8_t current;
    std::optional<std::uint8_t> written;
  };
  const Row rows[] = {
      {nullptr, 4, 0x20}, {nullptr, 64, std::nullopt}, {"16", 64, 16}, {"300", 64, 255},
      {"-5", 4, 0x20},    {"abc", 64, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.key ? row.key : "default");
    sim::SimOptions options;
    options.latencyTimer = row.current;
    TestBoard board(options);
    if (row.key) board.SetIni("latency", row.key);
    auto& space = board.sim.ConfigSpace(board.sim.CardHandle(0));
    space[14] = 0x80;  // header type
    space[15] = 0x40;  // BIST
    ASSERT_EQ(Locate(board.lib), 0);
    EXPECT_EQ(space[12], 0x08) << "cache line size kept";
    EXPECT_EQ(space[13], row.written.value_or(row.current));
    EXPECT_EQ(space[14], 0x80);
    EXPECT_EQ(space[15], 0x40);
    const auto& writes = board.sim.PciWrites();
    const bool wroteLatency = std::any_of(writes.begin(), writes.end(), [](const sim::PciWrite& w) {
      return w.reg == 12 || w.reg == 13;
    });
    EXPECT_EQ(wroteLatency, row.written.has_value());
  }
}

TEST(StartupTest, InitialisationProgramsTheBridge) {
  TestBoard board;
  board.SetIni("BurstThresh", "305419896");  // 0x12345678
  board.StartUp();
  auto& regs = board.Registers();
  EXPECT_EQ(regs.Peek(saa::kBurstThresh), 0x12345678u);
  EXPECT_EQ(regs.Peek(0x50), 0x00C000C0u);
  EXPECT_EQ(regs.Peek(0xF8), 0x000C0000u);
  const auto mc1 = regs.WritesTo(saa::kMainControl1);
  EXPECT_EQ(std::count(mc1.begin(), mc1.end(), 90u), 0) << "the skip marker is never written";
  EXPECT_EQ(mc1.front(), 0x80000000u);
  EXPECT_EQ(board.sim.ReadConfigDword(board.sim.CardHandle(0), 4), 0x30000006u);
  EXPECT_EQ(regs.WritesTo(saa::kMainControl2).front(), 0x077F077Cu);
  EXPECT_EQ(regs.Peek(saa::kGpio), 0x50500000u);
}

TEST(StartupTest, InvalidIniValuesFallBackToTheirDefaults) {
  TestBoard board;
  board.SetIni("BurstThresh", "not a number");
  board.SetIni("onscreen", "0");
  ASSERT_EQ(Locate(board.lib), 0);
  EXPECT_EQ(board.Registers().Peek(saa::kBurstThresh), 0x10101210u);
  EXPECT_FALSE(board.lib.Settings().frame.ini.onscreen);
  EXPECT_TRUE(board.lib.Settings().frame.ini.offscreen);
}

TEST(StartupTest, CleanupReleasesEverythingAndCanRepeat) {
  TestBoard board;
  board.StartUp();
  EXPECT_EQ(board.sim.Attached(), 1);
  EXPECT_EQ(board.sim.Locks(), 1u) << "the DMA area";
  EXPECT_EQ(Cleanup(board.lib), 0);
  EXPECT_EQ(Cleanup(board.lib), 0);
  EXPECT_EQ(board.sim.Attached(), 0);
  EXPECT_EQ(board.sim.Locks(), 0u);
  EXPECT_FALSE(board.lib.Settings().frame.ConfigLoaded());
  // The road runs again after a clean-up.
  board.StartUp();
  EXPECT_EQ(board.sim.Attached(), 1);
}

TEST(StartupTest, VersionInfoNeedsARecord) {
  TestBoard board;
  EXPECT_EQ(GetVersionInfo(board.lib, nullptr), -1);
}

}  // namespace
}  // namespace orvale::korrin
