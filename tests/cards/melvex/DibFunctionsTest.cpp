#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "cards/melvex/sim/SimulatedCard.h"
#include "platform/runtime/ByteFields.h"
#include "platform/ui/MessageService.h"
#include "tests/cards/melvex/DibTestSupport.h"

namespace orvale::melvex {
namespace {

using testing::BlockBytes;
using testing::TestDib;
using testing::FileBytes;
using testing::MakeDib;
using testing::TempFolder;
using Bytes = std::vector<std::uint8_t>;

// These functions work on the caller's DIBs and need no card.
class DibFunctionsTest : public ::testing::Test {
 protected:
  MovableMemory memory;
  sim::SimulatedCard card;
  ZelvoLibrary library{card, memory};
  TempFolder folder;
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
};

struct SaveCase {
  const char* name;
  TestDib dib;
  std::int32_t expected;
  std::uint32_t bitsOffset;  // in the file, when written
};

TEST_F(DibFunctionsTest, SavingChecksTheDibAgainstItsBlock) {
  const SaveCase cases[] = {
      {"Grey", {4, 2, 8, 0, 256}, code::kOk, 1078},
      {"ColoursUsedZeroMeansAll", {4, 2, 8, 0, 0}, code::kOk, 1078},
      {"FewColours", {4, 2, 8, 0, 2}, code::kOk, 62},
      {"ImageSizeZero", {4, 2, 8, 0, 256, 0}, code::kOk, 1078},
      {"FiveSixFive", {4, 2, 16, 3, 0}, code::kOk, 66},
      {"FiveSixFiveCountingMasks", {4, 2, 16, 3, 3}, code::kOk, 66},
      {"TrueColour", {4, 2, 24, 0, 0}, code::kOk, 54},
      {"Truncated", {4, 2, 8, 0, 256, 0xFFFFFFFF, 40 + 1024 + 7}, code::kOutOfRange, 0},
      {"TooManyColours", {4, 2, 8, 0, 300}, code::kOutOfRange, 0},
      {"ImageSizeTooSmall", {4, 2, 8, 0, 256, 4}, code::kOutOfRange, 0},
      {"MasksOnTrueColour", {4, 2, 24, 3, 0}, code::kOutOfRange, 0},
      {"RunLength", {4, 2, 8, 1, 256}, code::kOutOfRange, 0},
      {"OddBitCount", {4, 2, 7, 0, 0}, code::kOutOfRange, 0},
      {"Overflow", {0x7FFFFFFF, 0x7FFFFFFF, 32, 0, 0, 0, 64}, code::kOutOfRange, 0},
      {"TopDownWithoutItsRows", {4, -2, 8, 0, 256, 0, 40 + 1024}, code::kOutOfRange, 0},
  };
  for (const SaveCase& c : cases) {
    const MemoryHandle dib = MakeDib(memory, c.dib, [](int row, int column) {
      return static_cast<std::uint8_t>(10 * row + column);
    });
    const std::filesystem::path path = folder / (std::string(c.name) + ".bmp");
    EXPECT_EQ(library.ZLV_saveDIBToFile(dib, path.c_str()), c.expected) << c.name;
    if (c.expected == code::kOk) {
      const Bytes file = FileBytes(path);
      const Bytes block = BlockBytes(memory, dib);
      ASSERT_GE(file.size(), 14u) << c.name;
      EXPECT_EQ(ReadLE32(file.data() + 10), c.bitsOffset) << c.name;
      EXPECT_EQ(ReadLE32(file.data() + 2), file.size()) << c.name;
      const std::size_t rows = static_cast<std::size_t>(testing::RowBytes(c.dib.width, c.dib.bits) * c.dib.height);
      EXPECT_EQ(file.size(), c.bitsOffset + rows) << c.name;
      EXPECT_EQ(Bytes(file.begin() + 14, file.end()), Bytes(block.begin(), block.begin() + (file.size() - 14))) << c.name;
    } else {
      EXPECT_FALSE(std::filesystem::exists(path)) << c.name;
    }
    memory.Free(dib);
  }
  EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DibFunctionsTest, SavingIntoAMissingFolderIsAFileErrorWithoutAMessage) {
  const MemoryHandle dib = MakeDib(memory, {4, 2, 24, 0, 0});
  EXPECT_EQ(library.ZLV_saveDIBToFile(dib, (folder / "no" / "such" / "x.bmp").c_str()), code::kFileError);
  EXPECT_TRUE(messages.Messages().empty());
  EXPECT_EQ(library.ZLV_saveDIBToFile(reinterpret_cast<ZLV_HDIB>(0x99), "x.bmp"), code::kNoMemory);
}

TEST_F(DibFunctionsTest, CopyAndTheBlockCalls) {
  const MemoryHandle dib = MakeDib(memory, {3, 3, 8, 0, 256}, [](int r, int c) { return static_cast<std::uint8_t>(r + c); });
  ZLV_HDIB copy = nullptr;
  ASSERT_EQ(library.ZLV_copyDIB(dib, &copy), code::kOk);
  EXPECT_NE(copy, dib);
  EXPECT_EQ(BlockBytes(memory, copy), BlockBytes(memory, dib));
  EXPECT_EQ(library.ZLV_sizeDIB(copy), memory.Size(dib));
  auto* bytes = static_cast<std::uint8_t*>(library.ZLV_lockDIB(copy));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(ReadLE32(bytes + 4), 3u);
  EXPECT_EQ(library.ZLV_unlockDIB(copy), code::kOk);
  EXPECT_EQ(library.ZLV_unlockDIB(copy), code::kBadPointer);
  EXPECT_EQ(library.ZLV_freeDIB(copy), code::kOk);
  EXPECT_EQ(library.ZLV_freeDIB(copy), code::kBadPointer);
  EXPECT_EQ(library.ZLV_lockDIB(copy), nullptr);
  EXPECT_EQ(library.ZLV_sizeDIB(copy), 0u);

  memory.FailAlloc(1);
  EXPECT_EQ(library.ZLV_copyDIB(dib, &copy), code::kNoMemory);
  EXPECT_EQ(copy, nullptr);
  memory.FailLock(2);
  EXPECT_EQ(library.ZLV_copyDIB(dib, &copy), code::kNoMemory);
  EXPECT_EQ(memory.LiveBlocks(), 1u);
}

TEST_F(DibFunctionsTest, BuiltInFilters) {
  struct Expected {
    int width, height, divisor, absolute;
    std::vector<int> kernel;
  };
  const Expected expected[] = {
      {3, 3, 9, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {3, 3, 16, 0, {1, 1, 1, 1, 8, 1, 1, 1, 1}},
      {3, 3, 6, 0, {0, -1, 0, -1, 10, -1, 0, -1, 0}},
      {3, 3, 4, 0, {1, -4, 1, -4, 16, -4, 1, -4, 1}},
      {1, 3, 4, 0, {1, 2, 1}},
      {3, 5, 16, 0, {1, -4, 1, -2, 8, -2, -6, 24, -6, -2, 8, -2, 1, -4, 1}},
      {3, 3, 1, 1, {-1, 0, 1, -2, 0, 2, -1, 0, 1}},
      {3, 3, 1, 1, {-1, -2, -1, 0, 0, 0, 1, 2, 1}},
  };
  for (int n = 1; n <= 8; ++n) {
    const ZlvFilter* f = library.ZLV_getFilter(n);
    ASSERT_NE(f, nullptr) << n;
    // The record is packed: read its fields by value.
    const int width = f->width;
    const int height = f->height;
    const int divisor = f->divisor;
    const int absolute = f->absolute;
    const std::int8_t* kernel = f->kernel;
    const Expected& e = expected[n - 1];
    EXPECT_EQ(width, e.width) << n;
    EXPECT_EQ(height, e.height) << n;
    EXPECT_EQ(divisor, e.divisor) << n;
    EXPECT_EQ(absolute, e.absolute) << n;
    EXPECT_EQ(std::vector<int>(kernel, kernel + width * height), e.kernel) << n;
  }
  for (int n : {0, 9, -1}) EXPECT_EQ(library.ZLV_getFilter(n), nullptr) << n;
}

class FilterTest : public DibFunctionsTest {
 protected:
  // Filters the DIB and returns its header fields and bytes after.
  Bytes Filter(MemoryHandle dib, int n) {
    EXPECT_EQ(library.ZLV_filterDIB(dib, library.ZLV_getFilter(n)), code::kOk);
    return BlockBytes(memory, dib);
  }
};

TEST_F(FilterTest, MeanOfThreeByThreeIsOnePixel) {
  const MemoryHandle dib = MakeDib(memory, {3, 3, 8, 0, 256}, [](int r, int c) {
    static const int values[3][4] = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 95, 0}};
    return static_cast<std::uint8_t>(values[r][c]);
  });
  const Bytes out = Filter(dib, 1);
  EXPECT_EQ(ReadLE32(out.data() + 4), 1u);
  EXPECT_EQ(ReadLE32(out.data() + 8), 1u);
  EXPECT_EQ(ReadLE32(out.data() + 20), 4u);
  ASSERT_EQ(out.size(), 40u + 1024 + 4);
  EXPECT_EQ(out[1064], 50);  // 455 / 9 = 50.5, truncated
}

TEST_F(FilterTest, EdgeFilterFindsAStepAndNeverGoesNegative) {
  // A vertical step edge: columns 0..2 at 0, 3..5 at s, in 8 bits.
  for (int step : {10, 60, 100}) {
    for (int order : {1, -1}) {
      const MemoryHandle dib = MakeDib(memory, {6, 4, 8, 0, 256}, [&](int, int c) {
        const bool high = order > 0 ? c >= 3 : c < 3;
        return static_cast<std::uint8_t>(c < 6 && high ? step : 0);
      });
      const Bytes out = Filter(dib, 7);
      ASSERT_EQ(ReadLE32(out.data() + 4), 4u);
      ASSERT_EQ(ReadLE32(out.data() + 8), 2u);
      for (int row = 0; row < 2; ++row) {
        const std::uint8_t* r = out.data() + 1064 + row * 4;
        EXPECT_EQ(r[0], 0);
        EXPECT_EQ(r[1], std::min(4 * step, 255)) << step << " " << order;
        EXPECT_EQ(r[2], std::min(4 * step, 255)) << step << " " << order;
        EXPECT_EQ(r[3], 0);
      }
      memory.Free(dib);
    }
  }
}

TEST_F(FilterTest, NegativeSumsAreZeroWithoutTheAbsoluteFlag) {
  // Filter 3 on a bright centre gives more than 255; on a dark centre amid bright, below 0.
  const MemoryHandle dib = MakeDib(memory, {3, 3, 8, 0, 256}, [](int r, int c) {
    return static_cast<std::uint8_t>(r == 1 && c == 1 ? 0 : 200);
  });
  EXPECT_EQ(Filter(dib, 3)[1064], 0);
  const MemoryHandle bright = MakeDib(memory, {3, 3, 8, 0, 256}, [](int r, int c) {
    return static_cast<std::uint8_t>(r == 1 && c == 1 ? 200 : 0);
  });
  EXPECT_EQ(Filter(bright, 3)[1064], 255);
}

TEST_F(FilterTest, OneWideKernelShrinksOnlyTheHeight) {
  const MemoryHandle dib = MakeDib(memory, {5, 4, 8, 0, 256}, [](int r, int c) { return static_cast<std::uint8_t>(40 * r + c); });
  const Bytes out = Filter(dib, 5);
  EXPECT_EQ(ReadLE32(out.data() + 4), 5u);
  EXPECT_EQ(ReadLE32(out.data() + 8), 2u);
  EXPECT_EQ(ReadLE32(out.data() + 20), 16u);
  EXPECT_EQ(out.size(), 1064u + 16);
  // Rows 0, 1, 2 weighted 1, 2, 1 over 4: 40 + c at output row 0.
  for (int c = 0; c < 5; ++c) EXPECT_EQ(out[1064 + c], 40 + c);
  EXPECT_EQ(out[1064 + 8], 80);
}

TEST_F(FilterTest, ColourChannelsAreFilteredApart) {
  // 24 bits, four pixels by three: blue, green and red ramps of their own.
  const MemoryHandle dib = MakeDib(memory, {4, 3, 24, 0, 0}, [](int r, int c) {
    const int pixel = c / 3;
    const int channel = c % 3;
    return static_cast<std::uint8_t>(c < 12 ? (channel + 1) * 10 * pixel + r : 0);
  });
  const Bytes out = Filter(dib, 1);
  EXPECT_EQ(ReadLE32(out.data() + 4), 2u);
  EXPECT_EQ(ReadLE32(out.data() + 8), 1u);
  EXPECT_EQ(ReadLE32(out.data() + 20), 8u);
  EXPECT_EQ(out.size(), 40u + 8);
  // Mean over pixels 0..2 and rows 0..2 of channel k: (k + 1) x 10 x 1 + 1.
  EXPECT_EQ(Bytes(out.begin() + 40, out.begin() + 46), (Bytes{11, 21, 31, 21, 41, 61}));
  EXPECT_EQ(Bytes(out.begin() + 46, out.end()), (Bytes{0, 0}));
}

TEST_F(FilterTest, RefusesWhatItCannotFilter) {
  const ZlvFilter* mean = library.ZLV_getFilter(1);
  const ZlvFilter zeroDivisor{3, 3, 0, 0, mean->kernel};
  const ZlvFilter zeroWidth{0, 3, 9, 0, mean->kernel};
  const ZlvFilter noKernel{3, 3, 9, 0, nullptr};
  const MemoryHandle small = MakeDib(memory, {2, 5, 8, 0, 256});
  const MemoryHandle fourBit = MakeDib(memory, {4, 4, 4, 0, 16});
  const MemoryHandle sixteenBit = MakeDib(memory, {4, 4, 16, 0, 0});
  const MemoryHandle runLength = MakeDib(memory, {4, 4, 8, 1, 256});
  const MemoryHandle good = MakeDib(memory, {4, 4, 8, 0, 256});
  const Bytes before = BlockBytes(memory, good);
  EXPECT_EQ(library.ZLV_filterDIB(good, &zeroDivisor), code::kOutOfRange);
  EXPECT_EQ(library.ZLV_filterDIB(good, &zeroWidth), code::kOutOfRange);
  EXPECT_EQ(library.ZLV_filterDIB(good, &noKernel), code::kBadPointer);
  EXPECT_EQ(library.ZLV_filterDIB(good, nullptr), code::kBadPointer);
  EXPECT_EQ(library.ZLV_filterDIB(nullptr, mean), code::kBadPointer);
  EXPECT_EQ(BlockBytes(memory, good), before);
  EXPECT_EQ(library.ZLV_filterDIB(small, mean), code::kOutOfRange);
  EXPECT_EQ(library.ZLV_filterDIB(fourBit, mean), code::kOutOfRange);
  EXPECT_EQ(library.ZLV_filterDIB(sixteenBit, mean), code::kOutOfRange);
  EXPECT_EQ(library.ZLV_filterDIB(runLength, mean), code::kOutOfRange);
  memory.FailLock(1);
  EXPECT_EQ(library.ZLV_filterDIB(good, mean), code::kNoMemory);
}

}  // namespace
}  // namespace orvale::melvex
