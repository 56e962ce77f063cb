// Each attached board has one owner whatever the order of the calls: the record that
// located it, moved between multi-board slots, let go when it is overwritten or cleaned
// up, with its interrupt worker stopped and joined first.
#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <random>

#include "KorrinTestBoard.h"
#include "cards/korrin/interrupts/IrqMachinery.h"

namespace orvale::korrin {
namespace {

using test::NamedCall;
using test::TestBoard;
using test::WaitFor;

std::atomic<int> g_interrupts{0};
void CountInterrupt() { ++g_interrupts; }

// Selecting an index without copying, then switching, writes the live record over a slot
// that still holds a board. That record is lost, as the copying says, but its board is
// let go cleanly first: worker joined, DMA area unlocked, board detached.
TEST(SessionOrdersTest, ASlotOverwrittenAfterSelectingLetsItsBoardGo) {
  for (const bool worker : {false, true}) {
    SCOPED_TRACE(worker ? "with an interrupt worker" : "without interrupts");
    TestBoard board;
    ASSERT_EQ(KR_MultiBoard(0, 2), 0);
    ASSERT_EQ(KR_Locate(), 0);
    if (worker) {
      ASSERT_EQ(KR_EnableIRQ(0, 0, 1, CountInterrupt), 0);
    }
    ASSERT_EQ(KR_MultiBoard(2, 1), 0);
    ASSERT_EQ(KR_MultiBoard(3, 0), 0);
    ASSERT_EQ(KR_MultiBoard(2, 1), 0);
    EXPECT_EQ(board.sim.Attached(), 0);
    EXPECT_EQ(board.sim.Locks(), 0u);
    EXPECT_EQ(board.clock.WaitingThreads(), 0u);
    // Board 0 is free to be taken again.
    ASSERT_EQ(KR_MultiBoard(3, 0), 0);
    EXPECT_EQ(KR_Locate(), 0);
    EXPECT_EQ(KR_MultiBoard(1, 0), 0);
    EXPECT_EQ(KR_Cleanup(), 0);
    EXPECT_EQ(board.sim.Attached(), 0);
  }
}

// Every record that holds a board, and the worker of each.
struct Owners {
  int sessions = 0;
  std::size_t workers = 0;
};
Owners CountOwners(Library& lib) {
  Owners owners;
  auto count = [&](const BoardState& record) {
    if (!record.resources.session) return;
    ++owners.sessions;
    if (record.resources.session->Worker()) ++owners.workers;
  };
  count(lib.Live());
  for (const auto& copy : lib.Copies()) count(*copy);
  return owners;
}

// Multi-board operations, locating, cleaning up and interrupt workers in a long,
// fixed pseudo-random order: after every call each attached board has exactly one
// record holding it, each worker waits for a board a record holds, and nothing is left
// at the end.
TEST(SessionOrdersTest, EveryOrderOfCallsKeepsOneOwnerPerBoard) {
  const NamedCall calls[] = {
      {"allocate 2", [] { return KR_MultiBoard(0, 2); }},
      {"free", [] { return KR_MultiBoard(1, 0); }},
      {"switch 0", [] { return KR_MultiBoard(2, 0); }},
      {"switch 1", [] { return KR_MultiBoard(2, 1); }},
      {"select 0", [] { return KR_MultiBoard(3, 0); }},
      {"select 1", [] { return KR_MultiBoard(3, 1); }},
      {"locate", [] { return KR_Locate(); }},
      {"clean up", [] { return KR_Cleanup(); }},
      {"start worker", [] { return KR_EnableIRQ(0, 0, 1, CountInterrupt); }},
      {"stop worker", [] { return KR_EnableIRQ(0, 0, 0, CountInterrupt); }},
  };
  sim::SimOptions two;
  two.boards = 2;
  TestBoard board(two);
  std::mt19937 random(7102);
  for (int step = 0; step < 1500; ++step) {
    const NamedCall& call = calls[random() % std::size(calls)];
    SCOPED_TRACE(testing::Message() << "step " << step << ": " << call.name);
    call.run();
    const Owners owners = CountOwners(board.lib);
    ASSERT_EQ(board.sim.Attached(), owners.sessions);
    ASSERT_TRUE(WaitFor([&] { return board.clock.WaitingThreads() == owners.workers; }));
  }
  EXPECT_EQ(KR_MultiBoard(1, 0), 0);
  EXPECT_EQ(KR_Cleanup(), 0);
  EXPECT_EQ(board.sim.Attached(), 0);
  EXPECT_EQ(board.sim.Locks(), 0u);
  EXPECT_EQ(board.clock.WaitingThreads(), 0u);
}

}  // namespace
}  // namespace orvale::korrin
