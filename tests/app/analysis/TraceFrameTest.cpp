#include <gtest/gtest.h>

#include <vector>

#include "app/analysis/TraceFrame.h"
#include "app/analysis/TransposeImage.h"

namespace orvale {
namespace {

TEST(TraceSmoothing, HalfTheCentreAndAnEighthOfEachNeighbourRoundedHalfToEven) {
  struct Case {
    std::uint8_t up, down, left, right, centre, expected;
  } cases[] = {
      {1, 1, 1, 1, 0, 0},  // 0.5
      {3, 3, 3, 3, 0, 2},  // 1.5
      {5, 5, 5, 5, 0, 2},  // 2.5
      {0, 0, 0, 0, 3, 2},  // 1.5
      {0, 0, 0, 4, 1, 1},
      {1, 2, 3, 4, 10, 6},  // 6.25
      {255, 255, 255, 255, 255, 255},
  };
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> image = {9, c.up, 9, c.left, c.centre, c.right, 9, c.down, 9};
    std::vector<std::uint8_t> smoothed(9, 77);
    SmoothForTracing(image, 3, 3, smoothed);
    EXPECT_EQ(smoothed[4], c.expected) << int(c.centre);
    for (int i : {0, 1, 2, 3, 5, 6, 7, 8}) EXPECT_EQ(smoothed[i], 0) << "border " << i;
  }
}

TEST(TraceFrame, DoublesAndTurnsTheImageAndACopyOfTheMask) {
  const std::vector<std::uint8_t> image(3 * 2, 40);
  std::vector<std::uint8_t> mask(6 * 4, 0);
  mask[1 * 6 + 5] = 1;  // column 5, row 1
  mask[3 * 6 + 0] = 2;
  const std::vector<std::uint8_t> before = mask;
  const TraceFrame frame = TraceFrame::ForImage(image, 3, 2, mask, true, true);
  EXPECT_EQ(mask, before);
  ASSERT_EQ(frame.Width(), 4);
  ASSERT_EQ(frame.Height(), 6);
  EXPECT_TRUE(frame.Usable(1, 5));
  EXPECT_EQ(frame.MaskByte(3, 0), 2);
  EXPECT_EQ(frame.MaskByte(4, 0), 0);  // beyond the frame
  EXPECT_EQ(frame.Smoothed(1, 1), 40);
  EXPECT_EQ(frame.Smoothed(0, 1), 0);
}

TEST(TransposeImage, SwapsRowsAndColumns) {
  const std::vector<std::uint8_t> image = {1, 2, 3, 4, 5, 6};  // 3 x 2
  std::vector<std::uint8_t> turned(6);
  TransposeImage(image, 3, 2, turned);
  EXPECT_EQ(turned, (std::vector<std::uint8_t>{1, 4, 2, 5, 3, 6}));
}

}  // namespace
}  // namespace orvale
