// Interrupts reaching a callback on the worker thread, and the board's session and its
// worker whatever the callback and the application call, in whichever order.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "KorrinTestBoard.h"
#include "cards/korrin/hardware/Saa7146.h"
#include "cards/korrin/capture/VideoWindow.h"

namespace orvale::korrin {
namespace {

using test::NamedCall;
using test::TestBoard;
using test::WaitFor;

// Interrupt callbacks are plain C functions: they count into these.
std::atomic<int> g_callsA{0};
std::atomic<int> g_callsB{0};
std::atomic<bool> g_stopInside{false};
std::atomic<bool> g_swapInside{false};
std::atomic<bool> g_cleanUpInside{false};
std::atomic<int> g_insideResult{7};
void CountB() { ++g_callsB; }
void CountA() {
  ++g_callsA;
  if (g_stopInside.load()) KR_EnableIRQ(0, 0, 0, nullptr);
  if (g_swapInside.load()) g_insideResult = KR_EnableIRQ(0, 0, 1, CountB);
  if (g_cleanUpInside.load()) g_insideResult = KR_Cleanup();
}

class InterruptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_callsA = 0;
    g_callsB = 0;
    g_stopInside = false;
    g_swapInside = false;
    g_cleanUpInside = false;
    g_insideResult = 7;
    board.StartUp();
    ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  }
  // One field, then the worker's turn.
  void OneField(int expectedA) {
    board.clock.Advance(17);
    EXPECT_TRUE(WaitFor([&] { return g_callsA.load() >= expectedA; })) << expectedA;
  }
  TestBoard board;
};

TEST_F(InterruptTest, TheCallbackRunsOncePerCapturedField) {
  ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CountA), 0);
  for (int i = 1; i <= 3; ++i) {
    OneField(i);
    ASSERT_TRUE(WaitFor([&] { return board.clock.WaitingThreads() == 1; }));
    EXPECT_EQ(g_callsA.load(), i);
  }
  ASSERT_EQ(KR_EnableIRQ(0, 0, 0, nullptr), 0);
  const int calls = g_callsA.load();
  board.clock.Advance(100);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(g_callsA.load(), calls) << "no call after the stop";
  EXPECT_EQ(board.Registers().Peek(saa::kIrqEnable), 0u);
}

TEST_F(InterruptTest, EnablingTwiceKeepsOneWorker) {
  ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CountA), 0);
  ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CountB), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(board.clock.WaitingThreads(), 1u);
  board.clock.Advance(17);
  EXPECT_TRUE(WaitFor([&] { return g_callsB.load() >= 1; }));
  EXPECT_EQ(g_callsA.load(), 0) << "the callback was swapped";
}

TEST_F(InterruptTest, StoppingFromInsideTheCallbackDoesNotDeadlock) {
  g_stopInside = true;
  ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CountA), 0);
  OneField(1);
  ASSERT_TRUE(WaitFor([&] { return board.clock.WaitingThreads() == 0; }));
  board.clock.Advance(100);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(g_callsA.load(), 1);
  // Clean-up joins the worker that stopped itself.
  EXPECT_EQ(KR_Cleanup(), 0);
}

TEST_F(InterruptTest, TheCallbackCanSwapItself) {
  g_swapInside = true;
  ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CountA), 0);
  OneField(1);
  ASSERT_TRUE(WaitFor([&] { return g_insideResult.load() == 0; }));
  board.clock.Advance(17);
  EXPECT_TRUE(WaitFor([&] { return g_callsB.load() >= 1; }));
  EXPECT_EQ(g_callsA.load(), 1);
  ASSERT_EQ(KR_EnableIRQ(0, 0, 0, nullptr), 0);
}

// Cleaning up from inside the callback frees the board's resources at once; the
// worker ends when the callback returns, reading nothing that was freed, and another
// thread joins it later.
TEST_F(InterruptTest, CleaningUpFromInsideTheCallbackLeavesTheWorkerNothingFreed) {
  g_cleanUpInside = true;
  ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CountA), 0);
  OneField(1);
  ASSERT_TRUE(WaitFor([&] { return g_insideResult.load() == 0; }));
  ASSERT_TRUE(WaitFor([&] { return board.clock.WaitingThreads() == 0; }));
  EXPECT_FALSE(board.lib.Live().Located());
  EXPECT_EQ(board.lib.Live().resources.session, nullptr);
  board.clock.Advance(100);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(g_callsA.load(), 1);
  // The board can be taken again.
  board.StartUp();
  EXPECT_TRUE(board.lib.Live().Located());
}

TEST_F(InterruptTest, ClearWritesThePendingBits) {
  board.Registers().ClearLog();
  ASSERT_EQ(KR_ClearIRQ(0, 0), 0);
  EXPECT_EQ(board.Registers().WritesTo(saa::kIrqStatus), (std::vector<std::uint32_t>{0x1F8}));
  EXPECT_EQ(KR_GetIRQNumber(), 0xB);
}

TEST(InterruptBoardsTest, EachBoardSignalsOnlyItsOwnWorker) {
  g_callsA = 0;
  g_callsB = 0;
  g_stopInside = false;
  sim::SimOptions two;
  two.boards = 2;
  TestBoard board(two);
  ASSERT_EQ(KR_MultiBoard(0, 2), 0);
  board.StartUp();
  ASSERT_EQ(KR_MultiBoard(2, 1), 0);
  // Both start-ups before any live video, which would capture at every step of them.
  board.StartUp();
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  ASSERT_EQ(KR_MultiBoard(2, 0), 0);
  ASSERT_EQ(VideoLive(board.lib, 1, 3), 0);
  ASSERT_EQ(KR_MultiBoard(2, 1), 0);
  ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CountB), 0);
  ASSERT_EQ(KR_MultiBoard(2, 0), 0);  // board 1's worker keeps running, moved away
  board.clock.Advance(17 * 3);
  EXPECT_TRUE(WaitFor([&] { return g_callsB.load() >= 1; }));
  EXPECT_EQ(g_callsA.load(), 0);
  ASSERT_EQ(KR_MultiBoard(1, 0), 0);  // frees board 1: its worker stops
  EXPECT_EQ(board.clock.WaitingThreads(), 0u);
}

// Selecting another index and locating lets go of the board the record held. Its worker
// is stopped and joined before its attach goes, whether the new board is found or not:
// time passing afterwards wakes no worker on a freed attach.
TEST(InterruptBoardsTest, LocatingAnotherBoardStopsTheWorkerBeforeLettingGo) {
  struct Case {
    int boards;
    std::int32_t locateResult;
  };
  for (const Case c : {Case{1, -1}, Case{2, 0}}) {
    SCOPED_TRACE(c.boards);
    g_callsA = 0;
    g_stopInside = false;
    sim::SimOptions options;
    options.boards = c.boards;
    TestBoard board(options);
    ASSERT_EQ(KR_Locate(), 0);
    ASSERT_EQ(KR_LoadConfig(0), 1);
    ASSERT_EQ(KR_Init(), 0);
    ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CountA), 0);
    ASSERT_EQ(KR_MultiBoard(3, 1), 0);
    EXPECT_EQ(KR_Locate(), c.locateResult);
    EXPECT_EQ(board.clock.WaitingThreads(), 0u) << "the worker was joined";
    const auto& session = board.lib.Live().resources.session;
    EXPECT_TRUE(session == nullptr || session->Worker() == nullptr) << "the new board has no worker";
    EXPECT_EQ(board.Card(0).attachCount, 0);
    EXPECT_EQ(board.Registers(0).Peek(saa::kIrqEnable), 0u) << "board 0's source is off";
    board.clock.Advance(300);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(g_callsA.load(), 0);
    EXPECT_EQ(KR_Cleanup(), 0);
    EXPECT_EQ(board.sim.Attached(), 0);
  }
}

// The application and the callback at once, both through the exports, on a board set up
// as a C client sets it up.
std::atomic<bool> g_inside{false};
std::array<std::atomic<int>, 2> g_restartResults{};

void CleanUp() {
  ++g_callsA;
  g_insideResult = KR_Cleanup();
}

// Long enough inside for the application to call in first.
void SlowCleanUp() {
  g_inside = true;
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  CleanUp();
}

void StopAndRestart() {
  if (g_callsA++ > 0) return;
  g_restartResults[0] = KR_EnableIRQ(0, 0, 0, StopAndRestart);
  g_restartResults[1] = KR_EnableIRQ(0, 0, 1, CountB);
}

class ConcurrentCallsTest : public ::testing::Test {
 protected:
  void SetUpBoard() {
    g_inside = false;
    g_callsA = 0;
    g_callsB = 0;
    g_insideResult = 7;
    for (auto& result : g_restartResults) result = 7;
    ASSERT_EQ(KR_Locate(), 0);
    ASSERT_EQ(KR_LoadConfig(0), 1);
    ASSERT_EQ(KR_Init(), 0);
    ASSERT_EQ(KR_SetVideoConfig(0, 0, 1, 0), 0);
  }
  // Everything let go: no attach, no lock, no worker left waiting.
  void ExpectAllLetGo() {
    EXPECT_FALSE(board.lib.Live().Located());
    EXPECT_EQ(board.sim.Attached(), 0);
    EXPECT_EQ(board.sim.Locks(), 0u);
    EXPECT_TRUE(WaitFor([&] { return board.clock.WaitingThreads() == 0; }));
  }
  TestBoard board;
};

// A wait whose board the callback lets go ends with the failure value at once.
TEST_F(ConcurrentCallsTest, AWaitFailsWhenTheCallbackLetsItsBoardGo) {
  const NamedCall waits[] = {
      {"KR_WaitVSync", [] { return KR_WaitVSync(100000); }},
      {"KR_WaitHSync", [] { return KR_WaitHSync(1000000); }},
  };
  for (const NamedCall& wait : waits) {
    SCOPED_TRACE(wait.name);
    SetUpBoard();
    ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CleanUp), 0);
    EXPECT_EQ(wait.run(), -1);
    ASSERT_TRUE(WaitFor([&] { return g_insideResult.load() == 0; }));
    EXPECT_EQ(g_callsA.load(), 1);
    ExpectAllLetGo();
    EXPECT_EQ(KR_WaitVSync(1), -1) << "no board";
  }
}

// The application stops interrupts or cleans up while the callback, already running,
// cleans up too: both calls succeed, and the board is let go once.
TEST_F(ConcurrentCallsTest, TheApplicationAndTheCallbackBothLetGo) {
  const NamedCall lettingGo[] = {
      {"KR_EnableIRQ type 0", [] { return KR_EnableIRQ(0, 0, 0, SlowCleanUp); }},
      {"KR_Cleanup", [] { return KR_Cleanup(); }},
  };
  for (const NamedCall& c : lettingGo) {
    SCOPED_TRACE(c.name);
    SetUpBoard();
    ASSERT_EQ(KR_EnableIRQ(0, 0, 1, SlowCleanUp), 0);
    while (!g_inside.load()) ASSERT_EQ(KR_WaitVSync(1), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(c.run(), 0);
    EXPECT_EQ(g_insideResult.load(), 0) << "the worker was joined after its callback";
    EXPECT_EQ(g_callsA.load(), 1);
    ExpectAllLetGo();
  }
}

// Stopping and restarting from inside the callback does what both calls say.
TEST_F(ConcurrentCallsTest, TheCallbackStopsAndRestartsWithAnotherCallback) {
  SetUpBoard();
  ASSERT_EQ(KR_EnableIRQ(0, 0, 1, StopAndRestart), 0);
  // Fields keep coming, with time for the workers to run between them.
  const auto twoFields = [](auto done) {
    return WaitFor([&] { return KR_WaitVSync(2) == 0 && done(); });
  };
  ASSERT_TRUE(twoFields([] { return g_restartResults[1].load() != 7; }));
  EXPECT_EQ(g_restartResults[0].load(), 0);
  EXPECT_EQ(g_restartResults[1].load(), 0);
  EXPECT_TRUE(twoFields([] { return g_callsB.load() >= 1; })) << "the new callback is called";
  EXPECT_EQ(g_callsA.load(), 1);
  ASSERT_EQ(KR_Cleanup(), 0);
  ExpectAllLetGo();
}

}  // namespace
}  // namespace orvale::korrin
