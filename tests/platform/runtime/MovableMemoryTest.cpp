#include "platform/runtime/MovableMemory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvale {
namespace {

TEST(MovableMemoryTest, BlocksLiveFromAllocToFree) {
  MovableMemory memory;
  const MemoryHandle block = memory.Alloc(16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(memory.Size(block), 16u);
  auto* bytes = static_cast<std::uint8_t*>(memory.Lock(block));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[15], kUnwrittenByte);
  std::memcpy(bytes, "0123456789ABCDEF", 16);
  EXPECT_EQ(memory.LockCount(block), 1);
  EXPECT_FALSE(memory.Resize(block, 8));  // locked blocks stay put
  EXPECT_TRUE(memory.Unlock(block));
  EXPECT_FALSE(memory.Unlock(block));
  EXPECT_TRUE(memory.Resize(block, 4));
  EXPECT_EQ(memory.Size(block), 4u);
  EXPECT_EQ(std::memcmp(memory.Lock(block), "0123", 4), 0);
  EXPECT_EQ(memory.LiveBlocks(), 1u);
  EXPECT_TRUE(memory.Free(block));
  EXPECT_FALSE(memory.Free(block));
  EXPECT_EQ(memory.LiveBlocks(), 0u);

  const MemoryHandle zeroed = memory.Alloc(8, true);
  EXPECT_EQ(static_cast<std::uint8_t*>(memory.Lock(zeroed))[7], 0);
}

TEST(MovableMemoryTest, UnknownHandlesAreRefused) {
  MovableMemory memory;
  const MemoryHandle block = memory.Alloc(4);
  for (MemoryHandle bad : {static_cast<MemoryHandle>(nullptr), reinterpret_cast<MemoryHandle>(0x1234),
                           reinterpret_cast<MemoryHandle>(reinterpret_cast<std::uintptr_t>(block) + 1)}) {
    EXPECT_EQ(memory.Lock(bad), nullptr);
    EXPECT_FALSE(memory.Unlock(bad));
    EXPECT_EQ(memory.Size(bad), 0u);
    EXPECT_FALSE(memory.Resize(bad, 2));
    EXPECT_FALSE(memory.Free(bad));
  }
}

TEST(MovableMemoryTest, PlannedFailures) {
  MovableMemory memory;
  memory.FailAlloc(2);
  const MemoryHandle first = memory.Alloc(4);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(memory.Alloc(4), nullptr);
  EXPECT_NE(memory.Alloc(4), nullptr);
  memory.FailLock(1, 2);
  EXPECT_EQ(memory.Lock(first), nullptr);
  EXPECT_EQ(memory.Lock(first), nullptr);
  EXPECT_NE(memory.Lock(first), nullptr);
  EXPECT_EQ(memory.LiveBlocks(), 2u);
}

}  // namespace
}  // namespace orvale
