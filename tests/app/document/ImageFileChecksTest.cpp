#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <vector>

#include "DocumentTestSupport.h"
#include "app/document/ImageFileChecks.h"

namespace orvale {
namespace {

using testing::BmpSpec;
using testing::MakeBmp;

std::vector<std::uint8_t> Jpeg(const QImage& image, bool progressive) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setProgressiveScanWrite(progressive);
  writer.setOptimizedWrite(true);
  EXPECT_TRUE(writer.write(image));
  return {bytes.begin(), bytes.end()};
}

TEST(ImageFileChecksTest, BitmapHeadersMustFitTheFile) {
  const BmpSpec spec{4, 3, 24, 0, {}, {}, false, std::vector<std::vector<std::uint8_t>>(3, std::vector<std::uint8_t>(12, 1))};
  const auto whole = MakeBmp(spec);
  EXPECT_TRUE(BitmapFileIsPlausible(whole));

  auto cut = whole;
  cut.pop_back();
  EXPECT_FALSE(BitmapFileIsPlausible(cut));

  // A 100000 x 100000 header in a 200-byte file, before anything is allocated for it.
  auto absurd = whole;
  absurd[18] = 0xA0, absurd[19] = 0x86, absurd[20] = 0x01, absurd[21] = 0;
  absurd[22] = 0xA0, absurd[23] = 0x86, absurd[24] = 0x01, absurd[25] = 0;
  absurd.resize(200, 0);
  EXPECT_FALSE(BitmapFileIsPlausible(absurd));
  // The same size with run-length coding: more pixels than the program takes.
  absurd[30] = 1;
  EXPECT_FALSE(BitmapFileIsPlausible(absurd));

  auto noWidth = whole;
  noWidth[18] = 0;
  EXPECT_FALSE(BitmapFileIsPlausible(noWidth));
}

TEST(ImageFileChecksTest, JpegMustReachItsEndMarker) {
  // Start of image, a comment segment holding an end marker, a scan whose data holds a
  // stuffed 0xFF and a restart marker, then the end of image and trailing bytes.
  const std::vector<std::uint8_t> whole{0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x04, 0xFF, 0xD9,
                                        0xFF, 0xDA, 0x00, 0x02, 0x12, 0xFF, 0x00, 0x34,
                                        0xFF, 0xD0, 0x56, 0xFF, 0xD9, 0x00, 0x00};
  EXPECT_TRUE(JpegIsComplete(whole));
  for (std::size_t size : {2u, 8u, 12u, 16u, 19u}) {
    EXPECT_FALSE(JpegIsComplete(std::vector<std::uint8_t>(whole.begin(), whole.begin() + size))) << size;
  }
}

TEST(ImageFileChecksTest, HeaderSizesAreReadWithoutDecoding) {
  QImage grey(64, 48, QImage::Format_Grayscale8);
  grey.fill(90);
  const std::vector<std::vector<std::uint8_t>> rows(3, std::vector<std::uint8_t>(4, 1));
  const auto baseline = Jpeg(grey, false);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::optional<PictureSize> size;
  };
  const Case cases[] = {
      {"bitmap", MakeBmp({4, 3, 8, 0, {}, {}, false, rows}), PictureSize{4, 3}},
      {"rows from the top", MakeBmp({4, 3, 8, 0, {}, {}, true, rows}), PictureSize{4, 3}},
      {"baseline JPEG", baseline, PictureSize{64, 48}},
      {"progressive JPEG", Jpeg(grey, true), PictureSize{64, 48}},
      {"JPEG cut before its frame", {baseline.begin(), baseline.begin() + 20}, std::nullopt},
      {"text", {'B', 'M', ' ', 'n', 'o'}, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<PictureSize> size = ReadPictureHeaderSize(c.bytes);
    ASSERT_EQ(size.has_value(), c.size.has_value()) << c.name;
    if (size) {
      EXPECT_EQ(size->Width, c.size->Width) << c.name;
      EXPECT_EQ(size->Height, c.size->Height) << c.name;
    }
  }
}

TEST(ImageFileChecksTest, LimitsHoldForEachSideAndForThePixelsInAll) {
  EXPECT_TRUE(PictureSizeIsWithinLimits(32767, 7629));  // 249,979,443 pixels
  EXPECT_FALSE(PictureSizeIsWithinLimits(32767, 7630));
  EXPECT_FALSE(PictureSizeIsWithinLimits(32768, 1));
  EXPECT_FALSE(PictureSizeIsWithinLimits(1, 32768));
  EXPECT_TRUE(PictureSizeIsWithinLimits(15811, 15811));
  EXPECT_FALSE(PictureSizeIsWithinLimits(15812, 15812));
}

// Bottom rows of a 2048-wide picture painted as the case says, then the end of the
// bitmap.
std::vector<std::uint8_t> Coded(int rows, const std::vector<std::uint8_t>& row) {
  std::vector<std::uint8_t> code;
  for (int r = 0; r < rows; ++r) {
    code.insert(code.end(), row.begin(), row.end());
    code.insert(code.end(), {0, 0});
  }
  code.insert(code.end(), {0, 1});
  return code;
}

// Literal runs of 255 pixels then one of 8: 2048 pixels, each run padded to a word.
std::vector<std::uint8_t> LiteralRow(bool fourBit) {
  std::vector<std::uint8_t> row;
  for (int run : {255, 255, 255, 255, 255, 255, 255, 255, 8}) {
    row.insert(row.end(), {0, static_cast<std::uint8_t>(run)});
    const int bytes = fourBit ? (run + 1) / 2 : run;
    row.resize(row.size() + static_cast<std::size_t>(bytes + bytes % 2), 0x11);
  }
  return row;
}

TEST(ImageFileChecksTest, RunLengthDataMustPaintASixteenthOfALargerPicture) {
  // 2048 x 1024 pixels: a sixteenth is 64 rows.
  const std::vector<std::uint8_t> tooLong(18, 255);  // nine runs of 255 pixels and value 255: cut at 2048
  struct Case {
    const char* name;
    int bitCount;
    std::vector<std::uint8_t> code;
    bool describes;
  };
  const Case cases[] = {
      {"8-bit literals, 64 rows", 8, Coded(64, LiteralRow(false)), true},
      {"8-bit literals, 63 rows", 8, Coded(63, LiteralRow(false)), false},
      {"4-bit literals, 64 rows", 4, Coded(64, LiteralRow(true)), true},
      {"4-bit literals, 63 rows", 4, Coded(63, LiteralRow(true)), false},
      // 60 rows of 2295 pixels would be enough, but each row holds only 2048.
      {"runs past the end of their rows", 8, Coded(60, tooLong), false},
      // A cut stream is judged by what it paints; the decoder refuses it later.
      {"cut in a literal run", 8, {0, 200, 1, 2}, false},
  };
  for (const Case& c : cases) {
    const auto file = MakeBmp({2048, 1024, c.bitCount, c.bitCount == 8 ? 1u : 2u, {}, {}, false, {c.code}});
    EXPECT_EQ(BitmapDataDescribesPicture(file), c.describes) << c.name;
  }
  // Uncompressed rows are all in a plausible file, whatever they hold.
  EXPECT_TRUE(BitmapDataDescribesPicture(
      MakeBmp({2048, 1024, 1, 0, {}, {}, false, std::vector<std::vector<std::uint8_t>>(1024, std::vector<std::uint8_t>(256, 0))})));
}

TEST(ImageFileChecksTest, JpegDataDescribesAtMost512PixelsPerByte) {
  EXPECT_TRUE(JpegDataDescribesPicture({2048, 1024}, 4096));
  EXPECT_FALSE(JpegDataDescribesPicture({2048, 1024}, 4095));
  EXPECT_TRUE(JpegDataDescribesPicture({1024, 1024}, 1));  // a megapixel costs little
  // The most compact a real encoder writes, a flat grey picture with optimised tables,
  // stays well inside.
  QImage flat(2048, 2048, QImage::Format_Grayscale8);
  flat.fill(90);
  for (bool progressive : {false, true}) {
    const auto bytes = Jpeg(flat, progressive);
    EXPECT_TRUE(JpegDataDescribesPicture({2048, 2048}, bytes.size())) << progressive;
    EXPECT_FALSE(JpegDataDescribesPicture({2048, 2048}, bytes.size() / 3)) << progressive;
  }
}

}  // namespace
}  // namespace orvale
