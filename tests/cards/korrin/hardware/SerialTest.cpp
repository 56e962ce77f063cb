// The serial port on the UART and on the on-board controller, and the controller's
// command protocol.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "KorrinTestBoard.h"
#include "cards/korrin/hardware/BoardController.h"
#include "cards/korrin/hardware/SerialPort.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;
using test::WithController;

class UartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    board.StartUp();
    ASSERT_TRUE(board.lib.Live().Located());
  }
  sim::SimUart& Uart() { return board.Card().Uart(); }
  std::size_t Transfers() { return board.Card().I2c().Transfers().size(); }
  TestBoard board;
};

TEST_F(UartTest, SetUpProgramsModeClockAndCommandRegisters) {
  ASSERT_EQ(SetupSerial(board.lib, 9600, 8, 2, 1), 0);
  EXPECT_EQ(Uart().Mr1(), 0x03) << "no parity, 8 bits";
  EXPECT_EQ(Uart().Mr2(), 7) << "one stop bit";
  EXPECT_EQ(Uart().Csr(), 0xBB);
  EXPECT_EQ(Uart().Acr(), 10);
  ASSERT_FALSE(Uart().Writes().empty());
  EXPECT_EQ(Uart().Writes().back(), (std::pair<int, int>{2, 5}));
}

TEST_F(UartTest, ParityStopBitsAndBaudCodes) {
  ASSERT_EQ(SetupSerial(board.lib, 1800, 7, 0, 2), 0);
  EXPECT_EQ(Uart().Csr(), 0xDD) << "1800 is not in the table";
  EXPECT_EQ(Uart().Mr1(), 0x12);
  EXPECT_EQ(Uart().Mr2(), 15);
  ASSERT_EQ(SetupSerial(board.lib, 1050, 5, 1, 1), 0);
  EXPECT_EQ(Uart().Csr(), 0x77);
  EXPECT_EQ(Uart().Mr1(), 0x04);
}

TEST_F(UartTest, DataBitsOutsideFiveToEightTouchNothing) {
  const std::size_t before = Transfers();
  EXPECT_EQ(SetupSerial(board.lib, 9600, 4, 0, 1), -1);
  EXPECT_EQ(SetupSerial(board.lib, 9600, 9, 0, 1), -1);
  EXPECT_EQ(Transfers(), before);
}

TEST_F(UartTest, RegistersBeyondSevenAreRefused) {
  const std::size_t before = Transfers();
  EXPECT_EQ(GetSerialReg(board.lib, 8), -1);
  EXPECT_EQ(SetSerialReg(board.lib, 16, 0), -1);
  EXPECT_EQ(GetSerialReg(board.lib, -1), -1);
  EXPECT_EQ(Transfers(), before);
  EXPECT_EQ(SetSerialReg(board.lib, 4, 0x33), 0);
  EXPECT_EQ(Uart().Acr(), 0x33);
}

TEST_F(UartTest, ReadWithoutTimeOutTakesOnlyWhatIsWaiting) {
  SetupSerial(board.lib, 9600, 8, 2, 1);
  for (std::uint8_t b : {1, 2, 3}) Uart().PeerSends(b);
  Uart().PeerSends(4, board.clock.PeekMs() + 1000);
  std::uint8_t buffer[10] = {};
  EXPECT_EQ(ReadSerialBytes(board.lib, buffer, 10, 0), 3);
  EXPECT_EQ(buffer[2], 3);
  EXPECT_EQ(buffer[3], 0);
}

TEST_F(UartTest, ASilentPeerEndsTheReadAfterTheTimeOut) {
  SetupSerial(board.lib, 9600, 8, 2, 1);
  const std::uint32_t now = board.clock.PeekMs();
  Uart().PeerSends(7);
  Uart().PeerSends(8, now + 50);  // arrives while the read waits
  std::uint8_t buffer[5] = {};
  const std::uint64_t start = board.clock.ElapsedMs();
  EXPECT_EQ(ReadSerialBytes(board.lib, buffer, 5, 100), 2);
  EXPECT_EQ(buffer[1], 8);
  const std::uint64_t elapsed = board.clock.ElapsedMs() - start;
  // Each status poll is five I2C transfers; the clock is looked at every 20 polls.
  EXPECT_GE(elapsed, 100u);
  EXPECT_LT(elapsed, 250u);
}

TEST_F(UartTest, WritesGoOutUntilTheTransmitterStaysBusy) {
  SetupSerial(board.lib, 9600, 8, 2, 1);
  const std::uint8_t bytes[] = {0x41, 0x42, 0x43};
  EXPECT_EQ(WriteSerialBytes(board.lib, bytes, 3, 10), 3);
  EXPECT_EQ(Uart().Sent(), (std::vector<std::uint8_t>{0x41, 0x42, 0x43}));
  Uart().transmitterBlocked = true;
  const std::uint64_t start = board.clock.ElapsedMs();
  EXPECT_EQ(WriteSerialBytes(board.lib, bytes, 3, 30), 0);
  EXPECT_GE(board.clock.ElapsedMs() - start, 30u);
}

TEST_F(UartTest, NullBuffersAndNegativeLengthsMoveNothing) {
  const std::size_t before = Transfers();
  std::uint8_t byte = 0;
  EXPECT_EQ(ReadSerialBytes(board.lib, nullptr, 4, 10), 0);
  EXPECT_EQ(WriteSerialBytes(board.lib, nullptr, 4, 10), 0);
  EXPECT_EQ(ReadSerialBytes(board.lib, &byte, -1, 10), 0);
  EXPECT_EQ(Transfers(), before);
}

TEST_F(UartTest, TheOtherBankStrobesNoUart) {
  board.lib.Settings().uartBase = 0xC0;
  SetSerialReg(board.lib, 4, 0x55);
  EXPECT_NE(Uart().Acr(), 0x55);
  EXPECT_GT(Uart().OtherBankStrobes(), 0u);
}

class ControllerTest : public ::testing::Test {
 protected:
  ControllerTest() : board(WithController(sim::ControllerKind::kController)) {}
  void SetUp() override {
    board.StartUp();
    ASSERT_TRUE(board.lib.Settings().controller.present);
  }
  sim::SimController& Controller() { return *board.Card().Controller(); }
  TestBoard board;
};

TEST_F(ControllerTest, InitResetsItAndKeepsItsStatus) {
  const auto codes = Controller().CommandCodes();
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes[0], 214);
  EXPECT_EQ(codes[1], 0);
  EXPECT_EQ(board.lib.Settings().controller.status, 20);
}

TEST_F(ControllerTest, InitReportsAControllerThatDoesNotAnswer) {
  Controller().stuckBusy = true;
  EXPECT_EQ(Init(board.lib), -1);
  EXPECT_TRUE(board.lib.Live().Located()) << "the rest is still set up";
  Controller().stuckBusy = false;
  EXPECT_EQ(Init(board.lib), 0);
}

TEST_F(ControllerTest, SerialSetUpSendsTheBaud) {
  ASSERT_EQ(SetupSerial(board.lib, 9600, 8, 0, 1), 0);
  ASSERT_FALSE(Controller().Commands().empty());
  const auto& last = Controller().Commands().back();
  EXPECT_EQ(last.command, 1);
  EXPECT_EQ(last.data[0], 32);
}

TEST_F(ControllerTest, AStuckReadyLineIsResetAndTheCommandDropped) {
  Controller().stuckBusy = true;
  const std::size_t before = Controller().Commands().size();
  EXPECT_EQ(SetupSerial(board.lib, 9600, 8, 0, 1), -1);
  EXPECT_EQ(Controller().Commands().size(), before) << "dropped";
  EXPECT_EQ(Controller().RegisterWrites().back(), (std::pair<int, int>{214, 214}));
}

TEST_F(ControllerTest, ALineThatFallsTooLateFailsTheCommand) {
  Controller().busyMs = 50;  // command 1 allows 2 ms
  EXPECT_EQ(SetupSerial(board.lib, 9600, 8, 0, 1), -1);
}

TEST_F(ControllerTest, AByteCountAboveTheRequestReadsNothing) {
  Controller().serialIn = {1, 2, 3};
  Controller().reportCount = 9;
  std::uint8_t buffer[4] = {};
  EXPECT_EQ(ReadSerialBytes(board.lib, buffer, 4, 10), 0);
  Controller().reportCount.reset();
  Controller().serialIn = {4, 5, 6};
  EXPECT_EQ(ReadSerialBytes(board.lib, buffer, 4, 10), 3);
  EXPECT_EQ(buffer[2], 6);
}

TEST_F(ControllerTest, TheByteTimeOutIsSentOnlyWhenItChanges) {
  std::uint8_t buffer[2];
  auto count4 = [&] {
    const auto codes = Controller().CommandCodes();
    return std::count(codes.begin(), codes.end(), 4);
  };
  ReadSerialBytes(board.lib, buffer, 2, 10);
  ReadSerialBytes(board.lib, buffer, 2, 10);
  EXPECT_EQ(count4(), 1);
  ReadSerialBytes(board.lib, buffer, 2, 20);
  EXPECT_EQ(count4(), 2);
}

TEST_F(ControllerTest, LongWritesGoInChunksThatNeverReachTheLowRegisters) {
  std::vector<std::uint8_t> bytes(300);
  std::iota(bytes.begin(), bytes.end(), 0);
  const std::size_t writesBefore = Controller().RegisterWrites().size();
  EXPECT_EQ(WriteSerialBytes(board.lib, bytes.data(), 300, 10), 300);
  EXPECT_EQ(Controller().serialOut, bytes);
  std::vector<int> counts;
  for (const auto& c : Controller().Commands()) {
    if (c.command == 3) counts.push_back(c.count);
  }
  EXPECT_EQ(counts, (std::vector<int>{250, 50}));
  const auto& writes = Controller().RegisterWrites();
  for (std::size_t i = writesBefore; i < writes.size(); ++i) {
    const int reg = writes[i].first;
    EXPECT_TRUE(reg == 0 || reg == 1 || reg >= 6) << "register " << reg;
  }
}

}  // namespace
}  // namespace orvale::korrin
