#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DigitizerLimits.h"
#include "cards/melvex/LineFormats.h"
#include "cards/melvex/SnapSums.h"
#include "platform/runtime/ByteFields.h"
#include "platform/ui/MessageService.h"
#include "tests/cards/melvex/CardFixture.h"
#include "tests/cards/melvex/DibTestSupport.h"

namespace orvale::melvex {
namespace {

using testing::BlockBytes;
using testing::CardFixture;
using testing::Request;
using Bytes = std::vector<std::uint8_t>;

std::shared_ptr<const sim::Scene> Varying() {
  return std::make_shared<sim::VaryingScene>(std::make_shared<sim::CoordinateScene>(), 77, 20);
}

class AverageTest : public CardFixture {
 protected:
  void SetUp() override {
    Card().Input(0).scene = Varying();
    InitAndConfigure(1);
    config = DefaultConfig(LimitsOf(0), LimitsOf(1));
    config.standard = 1;
  }
  ZlvConfig config{};
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
};

// The same snaps read out one by one on a second card that sees the same scene, summed
// and divided: what the average must hold, row by row from the top.
std::vector<Bytes> ReferenceAverage(const ZlvConfig& config, int count, int divisor) {
  sim::SimulatedCard card;
  card.Input(0).scene = Varying();
  MovableMemory memory;
  ZelvoLibrary library(card, memory);
  std::int32_t standard = 0;
  EXPECT_EQ(library.ZLP_init(), code::kOk);
  EXPECT_EQ(library.ZLP_videoConfig(0, 0, &standard), code::kOk);
  const ZlpSnapRequest& r = RequestOf(config);
  const bool grey = config.outputFormat == 1;
  const int readout = grey ? 1 : 10;
  const std::size_t lineBytes = static_cast<std::size_t>(LineBytes(readout, r.xPixels)) + 4;
  std::vector<std::vector<int>> sums(r.yPixels, std::vector<int>(lineBytes, 0));
  for (int n = 0; n < count; ++n) {
    EXPECT_EQ(library.ZLV_snap(&config), code::kOk);
    EXPECT_EQ(library.ZLP_startReadout(readout, nullptr), code::kOk);
    for (int y = 0; y < r.yPixels; ++y) {
      Bytes line(lineBytes);
      EXPECT_EQ(library.ZLP_readLine(line.data(), 0, r.xPixels), code::kOk);
      for (std::size_t i = 0; i < line.size(); ++i) sums[y][i] += line[i];
    }
  }
  std::vector<Bytes> rows;
  for (const std::vector<int>& sum : sums) {
    Bytes averaged(sum.size());
    for (std::size_t i = 0; i < sum.size(); ++i) averaged[i] = static_cast<std::uint8_t>(std::min(sum[i] / divisor, 255));
    if (grey) {
      averaged.resize(r.xPixels);
      rows.push_back(averaged);
    } else {
      Bytes bgr(3 * static_cast<std::size_t>(r.xPixels));
      ConvertCbYCrYToBgr(library.Tables(), averaged.data(), r.xPixels, bgr.data());
      rows.push_back(bgr);
    }
  }
  return rows;
}

TEST_F(AverageTest, AveragesGreyAndColourOverVariedSnaps) {
  struct Case {
    int format, count, divisor, bytesPerPixel;
  };
  for (const Case& c : {Case{1, 4, 4, 1}, Case{7, 3, 3, 3}, Case{1, 5, 2, 1}, Case{7, 4, 1, 3}}) {
    library.reset();
    card = std::make_unique<sim::SimulatedCard>();
    card->Input(0).scene = Varying();
    library = std::make_unique<ZelvoLibrary>(*card, memory);
    InitAndConfigure(1);
    config.outputFormat = c.format;
    config.requestPAL = Request(10, 31, 31, 20, 6, 6);  // an odd width
    ZLV_HDIB dib = nullptr;
    ASSERT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, c.count, c.divisor), code::kOk);
    const Bytes bytes = BlockBytes(memory, dib);
    const std::size_t table = c.format == 1 ? 1024 : 0;
    const std::size_t stride = (static_cast<std::size_t>(31 * c.bytesPerPixel) + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 40 + table + 6 * stride);  // shrunk to the image
    EXPECT_EQ(ReadLE16(bytes.data() + 14), c.format == 1 ? 8 : 24);
    EXPECT_EQ(ReadLE32(bytes.data() + 20), 6 * stride);
    const std::vector<Bytes> expected = ReferenceAverage(config, c.count, c.divisor);
    for (int y = 0; y < 6; ++y) {
      const std::uint8_t* row = bytes.data() + 40 + table + (5 - y) * stride;
      EXPECT_EQ(Bytes(row, row + expected[y].size()), expected[y]) << "format " << c.format << " row " << y;
      for (std::size_t pad = expected[y].size(); pad < stride; ++pad) EXPECT_EQ(row[pad], 0);
    }
    Lib().ZLV_freeDIB(dib);
  }
}

// Averaging snaps of a still scene gives the plain picture pixel for pixel, whatever the
// crop: an odd horizontal start puts Cr first on the card's lines, which the averaged
// lines must be converted with as the plain readout converts them.
TEST_F(AverageTest, StillSceneAveragesToThePlainReadout) {
  Card().Input(0).scene = std::make_shared<sim::CoordinateScene>();
  struct Case {
    int xOffset, xActive, xPixels, yOffset, yActive, yPixels, interlaced;
  };
  const Case cases[] = {
      {100, 56, 56, 20, 54, 54, 1},   // even start
      {101, 56, 56, 20, 54, 54, 1},   // odd start
      {1, 55, 55, 0, 9, 9, 1},        // odd start, odd width
      {0, 55, 55, 0, 9, 9, 1},        // even start, odd width
      {101, 40, 70, 3, 8, 12, 1},     // odd start, stretched, lines interpolated
      {101, 40, 71, 3, 8, 8, 0},      // odd start, stretched to an odd width, not interlaced
      {103, 100, 50, 0, 20, 10, 1},   // odd start, reduced (t = 50 x 279 / 100 = 139)
      {845, 105, 105, 600, 10, 10, 1},  // odd start at the right and bottom limits
  };
  for (const int format : {1, 7}) {
    for (const Case& c : cases) {
      config.outputFormat = format;
      config.requestPAL =
          Request(c.xOffset, c.xActive, c.xPixels, c.yOffset, c.yActive, c.yPixels, c.interlaced);
      const std::string what = "format " + std::to_string(format) + " xOffset " + std::to_string(c.xOffset) +
                               " width " + std::to_string(c.xPixels);
      ASSERT_EQ(Lib().ZLV_snap(&config), code::kOk) << what;
      ZLV_HDIB plain = nullptr;
      ASSERT_EQ(Lib().ZLV_readoutDIB(&config, &plain), code::kOk) << what;
      ZLV_HDIB averaged = nullptr;
      ASSERT_EQ(Lib().ZLV_snapAverageDIB(&config, &averaged, 3, 3), code::kOk) << what;
      EXPECT_EQ(BlockBytes(memory, averaged), BlockBytes(memory, plain)) << what;
      Lib().ZLV_freeDIB(plain);
      Lib().ZLV_freeDIB(averaged);
    }
  }
}

TEST(SnapSumsTest, TheLargestSumFitsItsSixteenBits) {
  // 255 snaps of 255 sum to 65025, the most a count taken as a byte can reach.
  std::uint8_t sums[4] = {};
  const std::uint8_t line[2] = {255, 1};
  for (int n = 0; n < 255; ++n) AddToSums(sums, line, 2);
  EXPECT_EQ(ReadLE16(sums), 65025);
  std::uint8_t out[2];
  DivideSums(sums, 2, 255, out);
  EXPECT_EQ(out[0], 255);
  EXPECT_EQ(out[1], 1);
  DivideSums(sums, 2, 2, out);  // a divisor below the count saturates
  EXPECT_EQ(out[0], 255);
  EXPECT_EQ(out[1], 127);
}

TEST_F(AverageTest, DivisorsBelowTheCountSaturate) {
  Card().Input(0).scene = std::make_shared<sim::UniformScene>(sim::SceneSample{120, 128, 128});
  config.outputFormat = 1;
  config.requestPAL = Request(0, 2, 2, 0, 1, 1);
  ZLV_HDIB dib = nullptr;
  ASSERT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, 3, 1), code::kOk);
  EXPECT_EQ(BlockBytes(memory, dib)[1064], 255);
  Lib().ZLV_freeDIB(dib);
}

TEST_F(AverageTest, RefusesWhatCannotBeAveraged) {
  ZLV_HDIB dib = reinterpret_cast<ZLV_HDIB>(0x1);
  config.outputFormat = 1;
  config.requestPAL = Request(0, 20, 20, 0, 10, 10);
  EXPECT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, 0, 1), code::kOutOfRange);
  EXPECT_EQ(dib, nullptr);
  EXPECT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, 256, 1), code::kOutOfRange);  // taken as a byte: 0
  EXPECT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, 2, 0), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, 2, 512), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLV_snapAverageDIB(nullptr, &dib, 2, 2), code::kBadPointer);
  EXPECT_EQ(Lib().ZLV_snapAverageDIB(&config, nullptr, 2, 2), code::kBadPointer);
  for (int format : {2, 3, 4, 5, 6, 8}) {
    config.outputFormat = format;
    EXPECT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, 2, 2), code::kOutOfRange) << format;
  }
  EXPECT_EQ(Card().Captures().size(), 0u);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(AverageTest, ExternalTriggerWithoutTriggerTakesVirtualTimeOnly) {
  config.outputFormat = 1;
  config.extTrig = 1;
  config.requestPAL = Request(0, 20, 20, 0, 10, 10);
  const std::uint64_t before = Card().VirtualTime().ElapsedMs();
  ZLV_HDIB dib = nullptr;
  ASSERT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, 2, 2), code::kOk);
  EXPECT_GE(Card().VirtualTime().ElapsedMs() - before, 2u * 10200);
  Lib().ZLV_freeDIB(dib);
}

TEST_F(AverageTest, SnapAndMemoryFailuresFreeEverything) {
  config.outputFormat = 7;
  config.requestPAL = Request(0, 20, 20, 0, 10, 10);
  ZLV_HDIB dib = nullptr;
  Card().Input(0).signal = false;
  EXPECT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, 2, 2), code::kNoSignal);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_finishSnap");
  EXPECT_EQ(memory.LiveBlocks(), 0u);
  Card().Input(0).signal = true;
  for (const char* expected : {"Can't allocate memory !", "Can't lock memory !"}) {
    messages.Clear();
    memory.FailAlloc(expected[6] == 'a' ? 1 : 2);
    EXPECT_EQ(Lib().ZLV_snapAverageDIB(&config, &dib, 2, 2), code::kNoMemory);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, expected);
    EXPECT_EQ(memory.LiveBlocks(), 0u);
  }
}

}  // namespace
}  // namespace orvale::melvex
