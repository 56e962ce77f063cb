// Camera buffers into frames: every pixel format taken, the byte order, the rows'
// orientation, padded lines, and buffers that do not hold their picture.
#include "platform/capture/PixelConversion.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <QBuffer>
#include <QImage>
#include <array>
#include <vector>

namespace orvale {
namespace {

using Bgr = std::array<int, 3>;

Bgr PixelAt(const VideoFrame& frame, int x, int y) {
  const std::uint8_t* p = frame.RowFromTop(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

struct FormatCase {
  const char* name;
  std::uint32_t format;
  int width, height;
  std::vector<std::uint8_t> bytes;  // rows top-down, tightly packed
  std::vector<Bgr> expected;        // pixels top-down, left to right
};

class ConvertFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ConvertFormat, GivesTheBlueGreenRedPixelsTopRowFirst) {
  const FormatCase& c = GetParam();
  VideoFrame frame;
  ASSERT_TRUE(ConvertCameraBuffer(c.format, c.bytes, c.width, c.height, 0, frame));
  ASSERT_EQ(frame.Width, c.width);
  ASSERT_EQ(frame.Height, c.height);
  ASSERT_TRUE(frame.Complete());
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      EXPECT_EQ(PixelAt(frame, x, y), c.expected[static_cast<std::size_t>(y * c.width + x)])
          << "pixel " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ConvertFormat,
    ::testing::Values(
        FormatCase{"BGR24", V4L2_PIX_FMT_BGR24, 2, 1, {1, 2, 3, 4, 5, 6}, {{1, 2, 3}, {4, 5, 6}}},
        FormatCase{"RGB24", V4L2_PIX_FMT_RGB24, 2, 1, {1, 2, 3, 4, 5, 6}, {{3, 2, 1}, {6, 5, 4}}},
        FormatCase{"GREY", V4L2_PIX_FMT_GREY, 2, 2, {0, 90, 170, 255},
                   {{0, 0, 0}, {90, 90, 90}, {170, 170, 170}, {255, 255, 255}}},
        // Studio-range black and white, then red and blue as BT.601 codes them; each
        // pair of pixels shares its U and V.
        FormatCase{"YUYV", V4L2_PIX_FMT_YUYV, 2, 2,
                   {16, 128, 235, 128, 81, 90, 41, 240},
                   {{0, 0, 0}, {255, 255, 255}, {0, 0, 255}, {0, 0, 208}}},
        FormatCase{"YUYVOddWidth", V4L2_PIX_FMT_YUYV, 3, 1, {235, 128, 16, 128, 126, 128, 0, 128},
                   {{255, 255, 255}, {0, 0, 0}, {128, 128, 128}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PixelConversionTest, TheTopRowOfTheCameraIsTheLastRowStored) {
  const std::vector<std::uint8_t> grey = {10, 20, 30};  // one pixel a row, top-down
  VideoFrame frame;
  ASSERT_TRUE(ConvertCameraBuffer(V4L2_PIX_FMT_GREY, grey, 1, 3, 0, frame));
  ASSERT_EQ(frame.Stride(), 4u);
  EXPECT_EQ(frame.Bytes[0], 30);  // bottom row first, as a DIB stores it
  EXPECT_EQ(frame.Bytes[4], 20);
  EXPECT_EQ(frame.Bytes[8], 10);
}

TEST(PixelConversionTest, LinesLongerThanTheirPixelsAreSteppedOver) {
  // 2 x 2 GREY with lines of 5 bytes; the last line needs only its pixels.
  const std::vector<std::uint8_t> bytes = {1, 2, 99, 99, 99, 3, 4};
  VideoFrame frame;
  ASSERT_TRUE(ConvertCameraBuffer(V4L2_PIX_FMT_GREY, bytes, 2, 2, 5, frame));
  EXPECT_EQ(PixelAt(frame, 0, 1), (Bgr{3, 3, 3}));
  EXPECT_EQ(PixelAt(frame, 1, 1), (Bgr{4, 4, 4}));
  EXPECT_FALSE(ConvertCameraBuffer(V4L2_PIX_FMT_GREY, std::span(bytes).first(6), 2, 2, 5, frame));
}

TEST(PixelConversionTest, ShortBuffersAndFormatsNotTakenAreRefused) {
  const std::vector<std::uint8_t> bytes(11);
  VideoFrame frame;
  EXPECT_FALSE(ConvertCameraBuffer(V4L2_PIX_FMT_BGR24, bytes, 2, 2, 0, frame));
  EXPECT_FALSE(ConvertCameraBuffer(V4L2_PIX_FMT_YUYV, std::span(bytes).first(7), 2, 2, 0, frame));
  EXPECT_FALSE(ConvertCameraBuffer(V4L2_PIX_FMT_H264, bytes, 2, 2, 0, frame));
  EXPECT_FALSE(ConvertCameraBuffer(V4L2_PIX_FMT_GREY, bytes, 0, 2, 0, frame));
}

std::vector<std::uint8_t> Jpeg(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "JPEG", 100));
  return {bytes.begin(), bytes.end()};
}

TEST(PixelConversionTest, MotionJpegIsDecodedWhenItHasTheNegotiatedSize) {
  QImage picture(16, 8, QImage::Format_RGB888);
  picture.fill(QColor(200, 100, 40));
  for (int x = 0; x < 16; ++x) picture.setPixelColor(x, 0, QColor(0, 0, 0));  // a dark top row
  const auto jpeg = Jpeg(picture);

  VideoFrame frame;
  ASSERT_TRUE(ConvertCameraBuffer(V4L2_PIX_FMT_MJPEG, jpeg, 16, 8, 0, frame));
  const Bgr middle = PixelAt(frame, 8, 5);
  EXPECT_NEAR(middle[0], 40, 6);
  EXPECT_NEAR(middle[1], 100, 6);
  EXPECT_NEAR(middle[2], 200, 6);
  EXPECT_LT(PixelAt(frame, 8, 0)[2], 40);

  EXPECT_FALSE(ConvertCameraBuffer(V4L2_PIX_FMT_MJPEG, jpeg, 16, 16, 0, frame));
  EXPECT_FALSE(ConvertCameraBuffer(V4L2_PIX_FMT_MJPEG, std::span(jpeg).first(20), 16, 8, 0, frame));
}

TEST(PixelConversionTest, TheFormatsAreTakenInTheirOrderOfPreference) {
  EXPECT_EQ(PixelFormatRank(V4L2_PIX_FMT_BGR24), 0u);
  EXPECT_LT(*PixelFormatRank(V4L2_PIX_FMT_RGB24), *PixelFormatRank(V4L2_PIX_FMT_YUYV));
  EXPECT_LT(*PixelFormatRank(V4L2_PIX_FMT_GREY), *PixelFormatRank(V4L2_PIX_FMT_MJPEG));
  EXPECT_FALSE(PixelFormatRank(V4L2_PIX_FMT_H264));
}

}  // namespace
}  // namespace orvale
