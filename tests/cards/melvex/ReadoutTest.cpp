#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "cards/melvex/DeviceRequests.h"
#include "tests/cards/melvex/CardFixture.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;
using testing::Request;
using Bytes = std::vector<std::uint8_t>;

class ReadoutTest : public CardFixture {
 protected:
  void UseScene(sim::FunctionScene::Function function) {
    Card().Input(0).scene = std::make_shared<sim::FunctionScene>(std::move(function));
  }
  void UseUniformLuma(std::uint8_t luma) {
    Card().Input(0).scene = std::make_shared<sim::UniformScene>(sim::SceneSample{luma, 128, 128});
  }
};

TEST_F(ReadoutTest, LineBytesAndFormatChecks) {
  InitAndConfigure(1);
  SnapAndStartReadout(Request(0, 70, 5, 0, 100, 100, 1, 1), 1);  // monochrome
  for (int format = 3; format <= 11; ++format) EXPECT_EQ(Lib().ZLP_startReadout(format, nullptr), code::kMonochrome);
  std::uint16_t bytes = 0;
  EXPECT_EQ(Lib().ZLP_startReadout(2, &bytes), code::kOk);
  EXPECT_EQ(bytes, 3);
  EXPECT_EQ(Lib().ZLP_startReadout(0, &bytes), code::kOutOfRange);
  EXPECT_EQ(Lib().ZLP_startReadout(12, &bytes), code::kOutOfRange);

  SnapAndStartReadout(Request(0, 70, 5, 0, 100, 100), 7);
  EXPECT_EQ(Lib().ZLP_startReadout(10, &bytes), code::kOk);
  EXPECT_EQ(bytes, 12);  // width rounded up to even
  EXPECT_EQ(Lib().ZLP_startReadout(8, &bytes), code::kOk);
  EXPECT_EQ(bytes, 20);
}

TEST_F(ReadoutTest, ReadsStayInsideTheSnappedImage) {
  InitAndConfigure(1);
  SnapAndStartReadout(Request(0, 100, 100, 0, 40, 3), 7);
  Bytes line(400);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 50, 51), code::kOutsideImage);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 50, 50), code::kOk);
  EXPECT_EQ(Lib().ZLP_readLine(nullptr, 0, 1), code::kBadPointer);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 0, 100), code::kOk);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 0, 100), code::kOk);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 0, 100), code::kOutsideImage);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 0, 100), code::kOutsideImage);

  // Skipping past the end stops there instead of wrapping round to line 0.
  ASSERT_EQ(Lib().ZLP_startReadout(7, nullptr), code::kOk);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 0, 100), code::kOk);
  EXPECT_EQ(Lib().ZLP_skipLines(65535), code::kOk);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 0, 100), code::kOutsideImage);
}

TEST_F(ReadoutTest, UnscaledLinesAreTheSceneAtTheCrop) {
  InitAndConfigure(1);
  // Raw Y, Cb, Cr of the coordinate scene at (xOffset + i, yOffset + line).
  SnapAndStartReadout(Request(20, 40, 40, 30, 20, 20), 11);
  for (int n = 0; n < 20; ++n) {
    const Bytes line = ReadLine(11, 40);
    for (int i = 0; i < 40; ++i) {
      const int x = 20 + i;
      // Each pixel carries the chroma of its pair, sampled at the pair's two pixels.
      const int pairX = x & ~1;
      ASSERT_EQ(line[3 * i], sim::CoordinateScene::Expected(x, 30 + n).luma) << n << "," << i;
      ASSERT_EQ(line[3 * i + 1], sim::CoordinateScene::Expected(pairX, 30 + n).cb) << n << "," << i;
      ASSERT_EQ(line[3 * i + 2], sim::CoordinateScene::Expected(pairX + 1, 30 + n).cr) << n << "," << i;
    }
  }
}

TEST_F(ReadoutTest, OddStartLinesBeginWithCr) {
  InitAndConfigure(1);
  // t = 176 + 21 = 197 is odd: the first pixel's chroma byte is Cr, its Cb the next one.
  SnapAndStartReadout(Request(21, 40, 40, 30, 20, 20), 9);
  const Bytes line = ReadLine(9, 40);
  EXPECT_EQ(line[0], sim::CoordinateScene::Expected(21, 30).luma);
  EXPECT_EQ(line[1], sim::CoordinateScene::Expected(21, 30).cr);
  EXPECT_EQ(line[2], sim::CoordinateScene::Expected(22, 30).cb);
  // Pixels 1 and 2 form a pair.
  EXPECT_EQ(line[4], sim::CoordinateScene::Expected(23, 30).cr);
  EXPECT_EQ(line[5], sim::CoordinateScene::Expected(22, 30).cb);
  EXPECT_EQ(line[7], sim::CoordinateScene::Expected(23, 30).cr);
  EXPECT_EQ(line[8], sim::CoordinateScene::Expected(22, 30).cb);
}

TEST_F(ReadoutTest, StretchedAndInterpolatedLinesFollowALinearScene) {
  InitAndConfigure(1);
  UseScene([](int x, int y, std::uint32_t) {
    return sim::SceneSample{static_cast<std::uint8_t>(x + y), 128, 128};
  });
  // 100 x 100 card samples stretched to 300 x 300.
  SnapAndStartReadout(Request(0, 100, 300, 0, 100, 300), 9);
  Card().ClearLogs();
  for (int n = 0; n < 300; ++n) {
    const Bytes line = ReadLine(9, 300);
    for (int x = 0; x < 300; ++x) {
      const double exact = (x + n) * 99.0 / 299.0;
      ASSERT_LE(std::abs(line[3 * x] - exact), 2.0) << n << "," << x;
    }
    if (n == 0) {
      EXPECT_EQ(line[0], 0);
    }
    if (n == 299) {
      EXPECT_GE(line[3 * 299], 196);
    }
  }
  // Every card line is fetched once, and the last output line needed lines 98 and 99.
  EXPECT_EQ(Card().RequestCount(request::kReadColourMemory), 100u);
  EXPECT_EQ(Card().ReadoutLine(), 99);
}

TEST_F(ReadoutTest, WidestColourLineWithInterpolationStaysInItsBuffers) {
  InitAndConfigure(1);
  SnapAndStartReadout(Request(0, 950, 3200, 0, 610, 1220), 10);
  for (int format : {10, 7, 8}) {
    ASSERT_EQ(Lib().ZLP_startReadout(format, nullptr), code::kOk);
    for (int n = 0; n < 1220; n += 1219) {
      // Exactly sized, so that a write past the line shows under the address sanitizer.
      auto line = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(LineBytes(format, 3200)));
      if (n > 0) {
        ASSERT_EQ(Lib().ZLP_skipLines(static_cast<std::uint16_t>(n - 1)), code::kOk);
      }
      ASSERT_EQ(Lib().ZLP_readLine(line.get(), 0, 3200), code::kOk) << format;
    }
  }
}

TEST_F(ReadoutTest, OneSampleAndOneLineAreRepeatedOverTheOutput) {
  InitAndConfigure(1);
  UseScene([](int x, int y, std::uint32_t) {
    return sim::SceneSample{static_cast<std::uint8_t>(100 + x + y), 90, 200};
  });
  SnapAndStartReadout(Request(5, 1, 7, 5, 1, 4), 7);
  const Bytes first = ReadLine(7, 7);
  for (int n = 1; n < 4; ++n) EXPECT_EQ(ReadLine(7, 7), first) << n;
  for (int i = 1; i < 7; ++i) {
    EXPECT_EQ(Bytes(first.begin() + 3 * i, first.begin() + 3 * i + 3), Bytes(first.begin(), first.begin() + 3)) << i;
  }
  SnapAndStartReadout(Request(5, 1, 7, 5, 1, 4, 1, 1), 1);
  const Bytes grey = ReadLine(1, 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(grey[i], Lib().Tables().luminance[110]) << i;
}

TEST_F(ReadoutTest, FailedMemoryReadKeepsTheLineForTheNextCall) {
  InitAndConfigure(1);
  SnapAndStartReadout(Request(0, 100, 100, 0, 100, 100), 7);
  const Bytes line0 = ReadLine(7, 100);
  const Bytes line1 = ReadLine(7, 100);
  ASSERT_EQ(Lib().ZLP_startReadout(7, nullptr), code::kOk);
  EXPECT_EQ(ReadLine(7, 100), line0);
  Card().AddFault(sim::RequestFault::Failing(request::kReadColourMemory));
  Bytes failed(300);
  EXPECT_EQ(Lib().ZLP_readLine(failed.data(), 0, 100), code::kLostContact);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_readLine");
  EXPECT_EQ(ReadLine(7, 100), line1);
}

TEST_F(ReadoutTest, FailedPointerMovesAreLostContact) {
  InitAndConfigure(1);
  SnapAndStartReadout(Request(0, 100, 100, 0, 100, 100), 7);
  Card().AddFault(sim::RequestFault::Failing(request::kWriteRegisters, kControlStatusRegister));
  EXPECT_EQ(Lib().ZLP_startReadout(7, nullptr), code::kLostContact);
  Bytes line(300);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 0, 100), code::kReadoutNotStarted);
  ASSERT_EQ(Lib().ZLP_startReadout(7, nullptr), code::kOk);
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 0, 100), code::kOk);
  Card().AddFault(sim::RequestFault::Failing(request::kWriteRegisters, kControlStatusRegister));
  EXPECT_EQ(Lib().ZLP_readLine(line.data(), 0, 100), code::kLostContact);
}

TEST_F(ReadoutTest, EachSessionKeepsItsOwnInterpolationLines) {
  InitAndConfigure(1);
  ZLP_HANDLE first = nullptr;
  ASSERT_EQ(Lib().ZLP_getCurrentCardHandle(&first), code::kOk);
  UseUniformLuma(50);
  // Four output lines per card line: lines 0..3 interpolate between card lines 0 and 1.
  SnapAndStartReadout(Request(0, 100, 100, 0, 25, 100), 9);
  EXPECT_EQ(ReadLine(9, 100)[0], 50);

  InitAndConfigure(1);
  UseUniformLuma(200);
  SnapAndStartReadout(Request(0, 100, 100, 0, 25, 100), 9);
  EXPECT_EQ(ReadLine(9, 100)[0], 200);

  ASSERT_EQ(Lib().ZLP_setActiveCard(first), code::kOk);
  EXPECT_EQ(ReadLine(9, 100)[0], 50);
}

TEST_F(ReadoutTest, NarrowCardStretchesItsShortLines) {
  Card().SetAttachFlags(kAttachNarrowOutput);
  InitAndConfigure(1);
  SnapAndStartReadout(Request(0, 950, 950, 0, 600, 600), 7);
  for (int n = 0; n < 600; n += 37) {
    ASSERT_EQ(Lib().ZLP_skipLines(n == 0 ? 0 : 36), code::kOk);
    ReadLine(7, 950);
  }
}

TEST_F(ReadoutTest, DataWordIsTheStartOfTheCurrentCardLine) {
  InitAndConfigure(1);
  SnapAndStartReadout(Request(0, 40, 40, 10, 20, 20), 9);
  std::uint16_t word = 0;
  ASSERT_EQ(Lib().ZLP_getData(&word), code::kOk);
  const sim::SceneSample s = sim::CoordinateScene::Expected(0, 10);
  EXPECT_EQ(word, s.cb | (s.luma << 8));
}

TEST_F(ReadoutTest, ConvertCbYCrYChecksItsArguments) {
  std::uint8_t bgr[3];
  const std::uint8_t pair[2] = {128, 235};
  EXPECT_EQ(Lib().ZLP_convertCbYCrYToBGR24(bgr, pair, 1), code::kNotInitialised);
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_EQ(Lib().ZLP_convertCbYCrYToBGR24(nullptr, pair, 1), code::kBadPointer);
  EXPECT_EQ(Lib().ZLP_convertCbYCrYToBGR24(bgr, nullptr, 1), code::kBadPointer);
  EXPECT_EQ(Lib().ZLP_convertCbYCrYToBGR24(bgr, pair, 1), code::kOk);
  EXPECT_EQ(bgr[1], 254);
}

}  // namespace
}  // namespace orvale::melvex
