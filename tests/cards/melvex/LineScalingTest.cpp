#include "cards/melvex/LineScaling.h"

#include <gtest/gtest.h>

#include <vector>

#include "cards/melvex/CardSession.h"

namespace orvale::melvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Buffer(const Bytes& start) {
  Bytes buffer(kLineBufferBytes, 0xEE);
  std::copy(start.begin(), start.end(), buffer.begin());
  return buffer;
}

TEST(LineScalingTest, GreyStretchKeepsBothEndsAndRunsInPlace) {
  Bytes line = Buffer({10, 20, 30, 40, 40});
  StretchGreyLine(line.data(), 5, 9);
  // Half steps between neighbours, truncated; the first output is the first sample and
  // the last sits a hair before the last one (equal to its neighbour here).
  EXPECT_EQ(Bytes(line.begin(), line.begin() + 9), (Bytes{10, 14, 19, 24, 29, 34, 39, 40, 40}));
  EXPECT_EQ(line[9], 0xEE);
}

TEST(LineScalingTest, SingleSamplesAndTinyColourLinesAreRepeated) {
  Bytes grey = Buffer({77});
  StretchGreyLine(grey.data(), 1, 6);
  EXPECT_EQ(Bytes(grey.begin(), grey.begin() + 6), Bytes(6, 77));

  // One pixel: its chroma as Cb, a neutral Cr, then that pair over and over.
  Bytes one = Buffer({90, 60});
  EXPECT_EQ(StretchColourLine(one.data(), 1, 5), 6);
  EXPECT_EQ(Bytes(one.begin(), one.begin() + 12), (Bytes{90, 60, 128, 60, 90, 60, 128, 60, 90, 60, 128, 60}));

  // Three pixels: the fourth takes the Cr of the first pair.
  Bytes three = Buffer({90, 60, 240, 61, 91, 62});
  EXPECT_EQ(StretchColourLine(three.data(), 3, 6), 6);
  EXPECT_EQ(Bytes(three.begin(), three.begin() + 12), (Bytes{90, 60, 240, 61, 91, 62, 240, 62, 91, 62, 240, 62}));
}

TEST(LineScalingTest, ColourStretchInterpolatesLumaAndEachChromaSeparately) {
  // Four pixels, two pairs: Cb 0 -> 100, Cr 200 -> 100, luma 0, 30, 60, 90.
  Bytes line = Buffer({0, 0, 200, 30, 100, 60, 100, 90});
  EXPECT_EQ(StretchColourLine(line.data(), 4, 7), 8);
  for (int p = 0; p < 8; ++p) EXPECT_NEAR(line[2 * p + 1], p * 90 / 7.0, 1.0) << p;
  EXPECT_EQ(line[0], 0);
  EXPECT_EQ(line[2], 200);
  EXPECT_NEAR(line[12], 99, 1);   // the last pair's Cb
  EXPECT_NEAR(line[14], 101, 1);  // and its Cr
  EXPECT_EQ(line[16], 0xEE);
}

TEST(LineScalingTest, InterpolationWeighsTheTwoLines) {
  const Bytes a = {0, 100, 255};
  const Bytes b = {255, 100, 0};
  Bytes out(3);
  InterpolateLines(a.data(), b.data(), 0, 3, out.data());
  EXPECT_EQ(out, a);
  InterpolateLines(a.data(), b.data(), 32768, 3, out.data());
  EXPECT_EQ(out, (Bytes{127, 100, 127}));
  InterpolateLines(a.data(), b.data(), 65535, 3, out.data());
  EXPECT_EQ(out, (Bytes{254, 100, 0}));
}

}  // namespace
}  // namespace orvale::melvex
