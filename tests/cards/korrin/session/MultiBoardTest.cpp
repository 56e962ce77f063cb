// Several boards in one program: copies of the board record, switched in and out.
#include <gtest/gtest.h>

#include "KorrinTestBoard.h"
#include "cards/korrin/session/BoardFrame.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;

enum { kAllocate = 0, kFree = 1, kSwitch = 2, kSelect = 3 };

sim::SimOptions TwoBoards() {
  sim::SimOptions options;
  options.boards = 2;
  return options;
}

// Board i located and initialised, and live.
void StartBoard(TestBoard& board, int index) {
  if (board.lib.CurrentBoard() != index) {
    ASSERT_EQ(MultiBoard(board.lib, kSwitch, index), 0);
  }
  board.StartUp();
  ASSERT_TRUE(board.lib.Live().Located());
}

TEST(MultiBoardTest, SelectingAnIndexLocatesThatBoard) {
  TestBoard board(TwoBoards());
  ASSERT_EQ(MultiBoard(board.lib, kAllocate, 2), 0);
  ASSERT_EQ(MultiBoard(board.lib, kSelect, 1), 0);
  ASSERT_EQ(Locate(board.lib), 0);
  EXPECT_EQ(board.Card(1).attachCount, 1);
  EXPECT_EQ(board.Card(0).attachCount, 0);
}

TEST(MultiBoardTest, EachBoardKeepsItsOwnSettings) {
  TestBoard board(TwoBoards());
  ASSERT_EQ(MultiBoard(board.lib, kAllocate, 2), 0);
  StartBoard(board, 0);
  board.lib.Settings().xDelay = 150;
  StartBoard(board, 1);
  EXPECT_EQ(board.lib.Settings().xDelay, 140);
  board.lib.Settings().xDelay = 170;
  ASSERT_EQ(MultiBoard(board.lib, kSwitch, 0), 0);
  EXPECT_EQ(board.lib.Settings().xDelay, 150);
  EXPECT_EQ(board.Card(0).attachCount, 1);
  EXPECT_EQ(board.Card(1).attachCount, 1);
}

TEST(MultiBoardTest, FreeingSwitchesToBoardZeroAndDetachesTheOthers) {
  TestBoard board(TwoBoards());
  ASSERT_EQ(MultiBoard(board.lib, kAllocate, 2), 0);
  StartBoard(board, 0);
  StartBoard(board, 1);
  ASSERT_EQ(MultiBoard(board.lib, kFree, 0), 0);
  EXPECT_EQ(board.lib.CurrentBoard(), 0);
  EXPECT_EQ(board.lib.BoardCount(), 0);
  EXPECT_EQ(board.Card(0).attachCount, 1) << "board 0 lives on in the live record";
  EXPECT_EQ(board.Card(1).attachCount, 0);
  EXPECT_EQ(board.sim.Locks(), 1u) << "only board 0's DMA area";
}

TEST(MultiBoardTest, AllocatingAgainFreesTheFirstSet) {
  TestBoard board(TwoBoards());
  ASSERT_EQ(MultiBoard(board.lib, kAllocate, 2), 0);
  StartBoard(board, 0);
  StartBoard(board, 1);
  ASSERT_EQ(MultiBoard(board.lib, kAllocate, 2), 0);
  EXPECT_EQ(board.Card(1).attachCount, 0);
  EXPECT_EQ(board.lib.CurrentBoard(), 0);
  EXPECT_TRUE(board.lib.Live().Located());
}

TEST(MultiBoardTest, CopiesDoNotShareTheLiveBoardsResources) {
  TestBoard board(TwoBoards());
  StartBoard(board, 0);
  ASSERT_EQ(MultiBoard(board.lib, kAllocate, 2), 0);
  ASSERT_EQ(MultiBoard(board.lib, kSwitch, 1), 0);
  EXPECT_FALSE(board.lib.Live().Located()) << "a copy starts unlocated";
  EXPECT_FALSE(board.lib.Settings().frame.ConfigLoaded());
  board.StartUp();
  EXPECT_EQ(board.Card(1).attachCount, 1);
  ASSERT_EQ(MultiBoard(board.lib, kFree, 0), 0);
  EXPECT_EQ(board.sim.Attached(), 1);
}

TEST(MultiBoardTest, LibraryTeardownReleasesEveryBoard) {
  TestBoard board(TwoBoards());
  ASSERT_EQ(MultiBoard(board.lib, kAllocate, 2), 0);
  StartBoard(board, 0);
  StartBoard(board, 1);
  board.DestroyLibrary();
  EXPECT_EQ(board.sim.Attached(), 0);
  EXPECT_EQ(board.sim.Locks(), 0u);
}

TEST(MultiBoardTest, BadOperationsChangeNothing) {
  TestBoard board(TwoBoards());
  EXPECT_EQ(MultiBoard(board.lib, kSwitch, 0), -1) << "no copies";
  EXPECT_EQ(MultiBoard(board.lib, kAllocate, 0), -1);
  EXPECT_EQ(MultiBoard(board.lib, kAllocate, -3), -1);
  EXPECT_EQ(MultiBoard(board.lib, kAllocate, 1 << 30), -1);
  EXPECT_EQ(MultiBoard(board.lib, 4, 0), -1);
  EXPECT_EQ(MultiBoard(board.lib, kSelect, -1), -1);
  EXPECT_EQ(MultiBoard(board.lib, kSelect, 5), 0) << "a plain search index without copies";
  EXPECT_EQ(MultiBoard(board.lib, kSelect, 0), 0);
  ASSERT_EQ(MultiBoard(board.lib, kAllocate, 2), 0);
  EXPECT_EQ(MultiBoard(board.lib, kSwitch, 2), -1);
  EXPECT_EQ(MultiBoard(board.lib, kSelect, 2), -1);
  EXPECT_EQ(board.lib.CurrentBoard(), 0);
  EXPECT_EQ(board.lib.BoardCount(), 2);
}

}  // namespace
}  // namespace orvale::korrin
