// PCI configuration access and locking caller memory for DMA.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "KorrinTestBoard.h"
#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/dma/DmaLock.h"

namespace orvale::korrin {
namespace {

using test::TestBoard;

TEST(PciConfigTest, OperationsReachConfigurationSpace) {
  TestBoard board;
  ASSERT_EQ(Locate(board.lib), 0);
  const std::int32_t handle = PciConfig(board.lib, 0, 0x1131, 0x7146, 0);
  EXPECT_EQ(handle, board.sim.CardHandle(0));
  EXPECT_EQ(PciConfig(board.lib, 1, handle, 0, 0), 0x71461131);
  EXPECT_EQ(PciConfig(board.lib, 3, 0x030000, 0, 0), board.sim.DisplayHandle());
  EXPECT_EQ(PciConfig(board.lib, 0, 0x1131, 0x7146, 5), 0) << "no such board";
  // A dword write writes the whole dword.
  EXPECT_EQ(PciConfig(board.lib, 2, handle, 0x40, static_cast<std::int32_t>(0xABCD1234)), 0);
  EXPECT_EQ(static_cast<std::uint32_t>(PciConfig(board.lib, 1, handle, 0x40, 0)), 0xABCD1234u);
}

TEST(PciConfigTest, BadRequestsFail) {
  TestBoard board;
  EXPECT_EQ(PciConfig(board.lib, 0, 0x1131, 0x7146, 0), -1) << "driver not open";
  ASSERT_EQ(Locate(board.lib), 0);
  EXPECT_EQ(PciConfig(board.lib, 4, 0, 0, 0), -1);
  EXPECT_EQ(PciConfig(board.lib, -1, 0, 0, 0), -1);
  EXPECT_EQ(PciConfig(board.lib, 1, 0x7777, 0, 0), -1);
  EXPECT_EQ(PciConfig(board.lib, 2, 0x7777, 0, 1), -1);
  EXPECT_EQ(PciConfig(board.lib, 1, board.sim.CardHandle(0), 256, 0), -1);
}

struct AlignedBuffer {
  explicit AlignedBuffer(std::size_t size)
      : data(static_cast<std::uint8_t*>(std::aligned_alloc(kPageSize, size))) {}
  ~AlignedBuffer() { std::free(data); }
  std::uint8_t* data;
};

class DmaLockTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Locate(board.lib), 0); }
  BoardResources& Res() { return board.lib.Live().resources; }
  TestBoard board;
};

TEST_F(DmaLockTest, AnUnalignedBufferCrossingOneBoundaryTakesTwoPages) {
  AlignedBuffer memory(2 * kPageSize);
  std::uint8_t* buffer = memory.data + 4000;
  ASSERT_EQ(LockDmaMemory(board.lib, buffer, 200, 0), 0);
  const auto& row = *Res().session->Locks()[0];
  EXPECT_EQ(row.pages.size(), 2u);
  EXPECT_EQ(row.pageOffset, 4000u);
  EXPECT_TRUE(Res().callerTarget);
  EXPECT_EQ(Res().dmaTarget.linear, buffer);
  // The target's page table lists exactly those pages.
  const std::uint8_t* area = Res().session->Dma()->Base();
  const auto* table = reinterpret_cast<const std::uint32_t*>(area + kTargetPageTableAt);
  EXPECT_EQ(table[0], row.pages[0]);
  EXPECT_EQ(table[1], row.pages[1]);
  EXPECT_EQ(table[2], 0u);
  ASSERT_EQ(LockDmaMemory(board.lib, buffer, 200, lockflag::kUnlock), 0);
  EXPECT_FALSE(Res().callerTarget);
  EXPECT_EQ(Res().dmaTarget.linear, board.Card().DmaBuffer().data());
  EXPECT_EQ(board.sim.Locks(), 1u);
}

TEST_F(DmaLockTest, SizesThePageTableCannotMapAreRefused) {
  std::vector<std::uint8_t> big((kMaxLockPages + 1) * kPageSize);
  EXPECT_EQ(LockDmaMemory(board.lib, big.data(), big.size(), 0), -1);
  EXPECT_EQ(LockDmaMemory(board.lib, big.data(), 0, 0), -1);
  EXPECT_EQ(LockDmaMemory(board.lib, nullptr, 100, 0), -1);
  EXPECT_EQ(board.sim.Locks(), 1u) << "nothing locked in the driver";
}

TEST_F(DmaLockTest, ANinthLockFailsAndIsUndone) {
  std::vector<std::vector<std::uint8_t>> buffers(9, std::vector<std::uint8_t>(100));
  for (int i = 0; i < 8; ++i) {
    ASSERT_EQ(LockDmaMemory(board.lib, buffers[i].data(), 100, lockflag::kKeepTarget), 0) << i;
  }
  EXPECT_EQ(LockDmaMemory(board.lib, buffers[8].data(), 100, lockflag::kKeepTarget), -1);
  EXPECT_EQ(board.sim.Locks(), 9u) << "the DMA area and eight buffers";
  EXPECT_EQ(LockDmaMemory(board.lib, buffers[8].data(), 100, lockflag::kUnlock), -1);
  EXPECT_EQ(Cleanup(board.lib), 0);
  EXPECT_EQ(board.sim.Locks(), 0u);
}

TEST_F(DmaLockTest, LockingNeedsALocatedBoard) {
  std::vector<std::uint8_t> buffer(100);
  Cleanup(board.lib);
  EXPECT_EQ(LockDmaMemory(board.lib, buffer.data(), 100, 0), -1);
}

}  // namespace
}  // namespace orvale::korrin
