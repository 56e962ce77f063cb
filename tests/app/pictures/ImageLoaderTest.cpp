#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLoggingCategory>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <tuple>

#include "tests/app/document/DocumentTestSupport.h"
#include "HonestPictures.h"
#include "LibjpegCoding.h"
#include "LoadInChild.h"
#include "LyingPictures.h"
#include "tests/support/BoundedChild.h"
#include "app/pictures/BlankImage.h"
#include "app/pictures/ImageLoader.h"
#include "app/pictures/PictureFileBytes.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

using testing::BlankPng;
using testing::BmpSpec;
using testing::CmykJpegClaiming;
using testing::DiscOfFringes;
using testing::GifWithScreen;
using testing::JpegClaiming;
using testing::ProgressiveJpegOfScans;
using testing::JpegPaddedWithComments;
using testing::JpegWithDecoyFrame;
using testing::LoadWithLittleMemory;
using testing::Rle8PaintingASixteenth;
using testing::MakeBmp;
using testing::Pixels16;
using testing::Pixels32;
using testing::ReadBytes;
using testing::Rgb;
using testing::ScratchFolderTest;
using testing::WriteBytes;

class ImageLoaderTest : public ScratchFolderTest {
 protected:
  fs::path Save(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const auto path = Path(name);
    WriteBytes(path, bytes);
    return path;
  }
  fs::path SaveImage(const std::string& name, const QImage& image, const char* format,
                     bool progressive = false) {
    const auto path = Path(name);
    QImageWriter writer(QString::fromStdString(path.string()), format);
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path;
  }
};

std::vector<Rgb> RedRamp(int entries) {
  std::vector<Rgb> palette;
  for (int i = 0; i < entries; ++i) palette.push_back({static_cast<std::uint8_t>(i), 0, 0});
  return palette;
}

std::vector<Rgb> GreyRamp(int entries) {
  std::vector<Rgb> palette;
  for (int i = 0; i < entries; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    palette.push_back({v, v, v});
  }
  return palette;
}

TEST_F(ImageLoaderTest, ReadsBitmapsOfEveryDepthAndLayout) {
  struct Case {
    const char* name;
    BmpSpec spec;
    std::vector<std::uint8_t> grey;  // rows from the top
  };
  const Case cases[] = {
      {"1 bit", {8, 1, 1, 0, {{0, 0, 0}, {255, 255, 255}}, {}, false, {{0b10100000}}},
       {255, 0, 255, 0, 0, 0, 0, 0}},
      {"4 bits", {3, 1, 4, 0, RedRamp(16), {}, false, {{0x12, 0xF0}}}, {0, 1, 5}},
      {"8 bits", {3, 2, 8, 0, RedRamp(256), {}, false, {{0, 1, 2}, {3, 4, 5}}}, {0, 0, 1, 1, 1, 2}},
      {"8 bits top-down", {3, 2, 8, 0, RedRamp(256), {}, true, {{0, 1, 2}, {3, 4, 5}}}, {0, 0, 1, 1, 1, 2}},
      {"16 bits", {2, 1, 16, 0, {}, {}, false, {Pixels16({0x7C00, 0x0421})}}, {83, 8}},
      {"16 bits 5-6-5 fields", {2, 1, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, false, {Pixels16({0x07E0, 0xFFFF})}}, {84, 249}},
      {"24 bits", {2, 2, 24, 0, {}, {}, false, {{1, 1, 0, 30, 20, 10}, {255, 255, 255, 0, 0, 3}}}, {1, 20, 255, 1}},
      {"24 bits top-down", {2, 2, 24, 0, {}, {}, true, {{1, 1, 0, 30, 20, 10}, {255, 255, 255, 0, 0, 3}}}, {1, 20, 255, 1}},
      {"32 bits", {2, 1, 32, 0, {}, {}, false, {Pixels32({0x00FF0000, 0x00010101})}}, {85, 1}},
      {"32 bits fields", {2, 1, 32, 3, {}, {0xFF000000, 0x00FF0000, 0x0000FF00}, false, {Pixels32({0xFF000000, 0x00000300})}}, {85, 1}},
      // Run-length coded: bottom row a run of four 5s, top row 1 2 3 as literals then a 7.
      {"RLE8", {4, 2, 8, 1, GreyRamp(256), {}, false, {{4, 5, 0, 0, 0, 3, 1, 2, 3, 0, 1, 7, 0, 1}}},
       {1, 2, 3, 7, 5, 5, 5, 5}},
      {"RLE4", {4, 2, 4, 2, GreyRamp(16), {}, false, {{4, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 1}}},
       {3, 4, 5, 6, 1, 2, 1, 2}},
  };
  for (const Case& c : cases) {
    const auto path = Save(std::string(c.name) + (c.spec.compression == 1 || c.spec.compression == 2 ? ".rle" : ".bmp"),
                           MakeBmp(c.spec));
    LoadedImage image;
    ASSERT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::Loaded) << c.name;
    EXPECT_EQ(image.Width, c.spec.width) << c.name;
    EXPECT_EQ(image.Height, c.spec.height) << c.name;
    EXPECT_EQ(image.Data, c.grey) << c.name;
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

// Blocks of flat colour survive JPEG compression closely: grey 110 above, 40 below.
QImage Blocks(QImage::Format format) {
  QImage image(64, 48, format);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      if (format == QImage::Format_Grayscale8) {
        image.scanLine(y)[x] = y < 24 ? 110 : 40;
      } else {
        image.setPixel(x, y, y < 24 ? qRgb(200, 100, 30) : qRgb(20, 40, 60));
      }
    }
  }
  return image;
}

TEST_F(ImageLoaderTest, ReadsBaselineProgressiveAndGreyJpeg) {
  struct Case {
    const char* name;
    QImage::Format format;
    bool progressive;
    int top, bottom;
  };
  for (const Case& c : {Case{"colour.jpg", QImage::Format_RGB32, false, 110, 40},
                        Case{"progressive.jpg", QImage::Format_RGB32, true, 110, 40},
                        Case{"grey.jpg", QImage::Format_Grayscale8, false, 110, 40}}) {
    const auto path = SaveImage(c.name, Blocks(c.format), "jpeg", c.progressive);
    LoadedImage image;
    ASSERT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::Loaded) << c.name;
    ASSERT_EQ(image.Width, 64);
    ASSERT_EQ(image.Height, 48);
    EXPECT_NEAR(image.Data[8 * 64 + 32], c.top, 3) << c.name;
    EXPECT_NEAR(image.Data[40 * 64 + 32], c.bottom, 3) << c.name;
  }
}

TEST_F(ImageLoaderTest, DamagedFilesAreRefusedWithTheirMessage) {
  const auto jpeg = [&] {
    QImage image(256, 192, QImage::Format_RGB32);
    for (int y = 0; y < 192; ++y) {
      for (int x = 0; x < 256; ++x) image.setPixel(x, y, qRgb(x, y, (x * y) & 255));
    }
    return ReadBytes(SaveImage("whole.jpg", image, "jpeg"));
  }();
  const auto progressive = ReadBytes(SaveImage("whole-p.jpg", Blocks(QImage::Format_RGB32), "jpeg", true));
  auto truncated = MakeBmp({100, 100, 8, 0, GreyRamp(256), {}, false, std::vector<std::vector<std::uint8_t>>(100, std::vector<std::uint8_t>(100, 7))});
  truncated.resize(truncated.size() / 2);
  const auto codedCut = MakeBmp({4, 2, 8, 1, GreyRamp(256), {}, false, {{4, 5, 0, 0, 0, 3, 1}}});

  // Beyond its headers and colour table by more than any profile takes: its pixels are
  // not where it says.
  auto misplaced = MakeBmp({4, 2, 8, 0, GreyRamp(256), {}, false, {{1, 2, 3, 4}, {5, 6, 7, 8}}});
  misplaced[10] = 0, misplaced[11] = 0, misplaced[12] = 0xFF, misplaced[13] = 0xFF;  // pixels at 0xFFFF0000
  const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
      {"half.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)},
      {"half-progressive.jpg", std::vector<std::uint8_t>(progressive.begin(), progressive.begin() + progressive.size() / 2)},
      {"truncated.bmp", truncated},
      {"cut.rle", codedCut},
      {"misplaced.bmp", misplaced},
  };
  for (const auto& [name, bytes] : cases) {
    messages_.Clear();
    const auto path = Save(name, bytes);
    LoadedImage image{2, 1, {9, 9}};
    EXPECT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::OpenFailed) << name;
    EXPECT_EQ(image.Width, 2) << name;
    EXPECT_EQ(image.Data, (std::vector<std::uint8_t>{9, 9})) << name;
    ASSERT_EQ(messages_.Messages().size(), 1u) << name;
    EXPECT_EQ(messages_.Messages()[0].text, "Could not open image file " + path.string());
    EXPECT_EQ(messages_.Messages()[0].title, "Error");
    EXPECT_EQ(messages_.Messages()[0].flags & mb::kButtonsMask, mb::kOk);
  }
}

// A run-length coded 8-bit stream that paints the bottom `rows` rows of a `width`-wide
// picture with grey 7 (runs of 250 and the rest), then ends the bitmap.
std::vector<std::uint8_t> PaintedRows(int width, int rows) {
  std::vector<std::uint8_t> code;
  for (int row = 0; row < rows; ++row) {
    for (int left = width; left > 0; left -= 250) code.insert(code.end(), {static_cast<std::uint8_t>(std::min(left, 250)), 7});
    code.insert(code.end(), {0, 0});
  }
  code.insert(code.end(), {0, 1});
  return code;
}

std::string TooLarge(int width, int height) {
  return "\nThe picture is " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels; the program opens pictures of at most 32767 pixels on a side and 250 million pixels in all.";
}

std::string BeyondItsData(int width, int height) {
  return "\nIts header claims " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels, far more than its data describes.";
}

std::string BeyondMemory(int width, int height, int megabytes) {
  return "\nDecoding its " + std::to_string(width) + " x " + std::to_string(height) + " pixels would take " +
         std::to_string(megabytes) + " MB, more than the program allows for a picture of that size.";
}

std::string ScansAndPasses(int scans, int passes) {
  return "\nIts picture is coded in " + std::to_string(scans) + " scans, " + std::to_string(passes) +
         " passes over it; the program opens JPEG pictures of at most 300 scans and 16 passes.";
}

// Refused from the header, before anything is allocated for the picture, with the true
// reason: beyond the limits, claiming more than its data can code, costing more to
// decode than its pixels may, or coded in more scans than any encoder writes. The
// reasons come from what the file and the decoder answer, never from Qt's log, which a
// desktop may silence.
TEST_F(ImageLoaderTest, APictureBeyondItsDataOrAnyCameraIsRefusedWithTheReason) {
  // The mutated file: run-length code for 320 x 524528 pixels, its data one
  // end-of-bitmap code.
  const auto mutated = MakeBmp({320, 524528, 8, 1, GreyRamp(256), {}, false, {{0, 1}}});
  const auto mutated4 = MakeBmp({320, 524528, 4, 2, GreyRamp(16), {}, false, {{0, 1}}});
  auto absurd = MakeBmp({1, 1, 8, 0, GreyRamp(4), {}, false, {{0}}});
  absurd[18] = 0xA0, absurd[19] = 0x86, absurd[20] = 0x01;  // width 100000
  absurd[22] = 0xA0, absurd[23] = 0x86, absurd[24] = 0x01;  // height 100000
  absurd.resize(200, 0);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string reason;
  };
  const Case cases[] = {
      {"mutated.rle", mutated, TooLarge(320, 524528)},
      {"mutated4.rle", mutated4, TooLarge(320, 524528)},
      {"absurd.bmp", absurd, TooLarge(100000, 100000)},
      // Every row in the file, but wider than any camera makes.
      {"wide.bmp", MakeBmp({40000, 1, 1, 0, {{0, 0, 0}, {255, 255, 255}}, {}, false, {std::vector<std::uint8_t>(5000, 0xAA)}}),
       TooLarge(40000, 1)},
      {"wide.jpg", JpegClaiming(40000, 16), TooLarge(40000, 16)},
      {"ended.rle", MakeBmp({9000, 9000, 8, 1, GreyRamp(256), {}, false, {{0, 1}}}), BeyondItsData(9000, 9000)},
      {"filled.jpg", JpegClaiming(15000, 15000), BeyondItsData(15000, 15000)},
      // Pictures whose headers claim hundreds of millions of pixels in a few bytes of
      // data, judged by the sizes both our reading of the header and the decoder's own
      // give, against the budget their coding bytes buy.
      // Our check read the one 1 x 1 frame; the decoder allocates the logical screen.
      {"screen.bmp", GifWithScreen(16000, 15000), BeyondItsData(16000, 15000)},
      {"screen.jpg", GifWithScreen(32767, 7629), BeyondItsData(32767, 7629)},
      // A length read after a marker that has none landed on a decoy frame.
      {"decoy.jpg", JpegWithDecoyFrame(30000, 8000, false), BeyondItsData(30000, 8000)},
      {"decoy-progressive.jpg", JpegWithDecoyFrame(30000, 8000, true), BeyondItsData(30000, 8000)},
      // Comments are no picture data.
      {"padded.jpg", JpegPaddedWithComments(30000, 8000, 470 * 1024), BeyondItsData(30000, 8000)},
      {"one-bit.bmp", BlankPng(16000, 15000, 1), BeyondItsData(16000, 15000)},
      {"grey.jpg", BlankPng(10000, 10000, 8), BeyondItsData(10000, 10000)},
      // Just past the floor with a few bytes of data.
      {"past-the-floor.jpg", JpegClaiming(8192, 8193), BeyondItsData(8192, 8193)},
      // Within the pixels its data buys, but its decoder would keep 8 bytes of
      // coefficients a pixel beside the 4 of the picture it fills.
      {"cmyk.jpg", CmykJpegClaiming(5000, 5000), BeyondMemory(5000, 5000, 300)},
      // Each scan takes the decoder a pass over the blocks of its components.
      {"scans.jpg", ProgressiveJpegOfScans(301), ScansAndPasses(301, 301)},
      {"passes.jpg", ProgressiveJpegOfScans(17), ScansAndPasses(17, 17)},
      {"sixteenth.rle", MakeBmp({32767, 7629, 8, 1, GreyRamp(256), {}, false, {Rle8PaintingASixteenth(32767, 7629)}}),
       BeyondItsData(32767, 7629)},
      // Codes of the wrong width are no picture, whatever its size.
      {"eight-bit-counts.rle", MakeBmp({4096, 4096, 8, 2, GreyRamp(256), {}, false, {PaintedRows(4096, 4096)}}), ""},
  };
  for (const bool imageLogOff : {false, true}) {
    QLoggingCategory::setFilterRules(imageLogOff ? "qt.gui.imageio*=false" : "");
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (imageLogOff ? ", Qt's image log off" : ""));
      messages_.Clear();
      const auto path = Save(c.name, c.bytes);
      LoadedImage image{2, 1, {9, 9}};
      EXPECT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::OpenFailed);
      EXPECT_EQ(image.Width, 2);
      EXPECT_EQ(image.Data, (std::vector<std::uint8_t>{9, 9}));
      ASSERT_EQ(messages_.Messages().size(), 1u);
      EXPECT_EQ(messages_.Messages()[0].text, "Could not open image file " + path.string() + c.reason);
      EXPECT_EQ(messages_.Messages()[0].title, "Error");
      EXPECT_EQ(messages_.Messages()[0].flags & mb::kButtonsMask, mb::kOk);
      messages_.Clear();
      EXPECT_EQ(LoadFileIntoDataBuffer(path, true, image), ImageLoadStatus::OpenFailed);
      EXPECT_TRUE(messages_.Messages().empty());
    }
  }
  QLoggingCategory::setFilterRules("");
}

// End-of-line, delta and end-of-bitmap codes may leave pixels unset: they are 0, never
// what the memory held, and a blank picture within the floor of the budget opens.
TEST_F(ImageLoaderTest, PixelsThatRunLengthCodesSkipAreZero) {
  struct Case {
    const char* name;
    std::int32_t width, height, paintedRows;
  };
  const Case cases[] = {
      {"a small picture left blank", 16, 16, 0},
      {"a blank megapixel", 1000, 1000, 0},
      {"a few rows painted", 2048, 1024, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = Save("coded.rle", MakeBmp({c.width, c.height, 8, 1, GreyRamp(256), {}, false,
                                                 {PaintedRows(c.width, c.paintedRows)}}));
    LoadedImage image;
    ASSERT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::Loaded);
    ASSERT_EQ(image.Width, c.width);
    ASSERT_EQ(image.Height, c.height);
    const auto bottom = image.Data.end() - std::ptrdiff_t{c.paintedRows} * c.width;
    EXPECT_TRUE(std::all_of(image.Data.begin(), bottom, [](std::uint8_t v) { return v == 0; }));
    EXPECT_TRUE(std::all_of(bottom, image.Data.end(), [](std::uint8_t v) { return v == 7; }));
    EXPECT_TRUE(messages_.Messages().empty());
  }
}

// Refused from what the file says, before anything is allocated for the picture or
// the file is read on past what its picture can need: a 2 GB file whose first bytes are
// a whole picture is read no further than the picture's end, one of a format the
// program does not read no further than its first bytes.
TEST_F(ImageLoaderTest, ALyingFileIsRefusedBeforeItsClaimIsAllocatedOrItIsReadWhole) {
  constexpr std::uintmax_t kTwoGigabytes = std::uintmax_t{2} << 30;
  std::vector<std::uint8_t> misplaced = MakeBmp({1, 1, 8, 0, GreyRamp(256), {}, false, {{0}}});
  misplaced[18] = 0xA0, misplaced[19] = 0x0F;                                 // width 4000
  misplaced[22] = 0xB8, misplaced[23] = 0x0B;                                 // height 3000
  misplaced[10] = 0, misplaced[11] = 0, misplaced[12] = 0xFF, misplaced[13] = 0xFF;  // pixels at 0xFFFF0000
  std::vector<std::uint8_t> comments = {0xFF, 0xD8};
  for (int i = 0; i < 3; ++i) {
    comments.insert(comments.end(), {0xFF, 0xFE, 0xFF, 0xFF});
    comments.resize(comments.size() + 0xFFFD, 'c');
  }
  const std::string notAPicture = "\nIt is not a BMP, JPEG, PNG or GIF picture.";
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::uintmax_t size;  // the file's size, past its bytes sparse
    std::string answer;   // after "Could not open image file " and the path, or "Loaded"
  };
  const Case cases[] = {
      {"screen.bmp", GifWithScreen(16000, 15000), 0, BeyondItsData(16000, 15000)},
      {"decoy.jpg", JpegWithDecoyFrame(30000, 8000, false), 0, BeyondItsData(30000, 8000)},
      {"decoy-progressive.jpg", JpegWithDecoyFrame(30000, 8000, true), 0, BeyondItsData(30000, 8000)},
      {"one-bit.bmp", BlankPng(16000, 15000, 1), 0, BeyondItsData(16000, 15000)},
      {"sixteenth.rle", MakeBmp({32767, 7629, 8, 1, GreyRamp(256), {}, false, {Rle8PaintingASixteenth(32767, 7629)}}), 0,
       BeyondItsData(32767, 7629)},
      // Refused for its codes before a blank picture of its size is made to decode into.
      {"eight-bit-counts.rle", MakeBmp({32767, 7629, 8, 2, GreyRamp(256), {}, false, {PaintedRows(32767, 500)}}), 0, ""},
      // A whole small picture, then 2 GB: its end marker ends the read.
      {"ended.jpg", JpegClaiming(12000, 12000), kTwoGigabytes, BeyondItsData(12000, 12000)},
      {"ended.gif", GifWithScreen(16000, 15000), kTwoGigabytes, BeyondItsData(16000, 15000)},
      {"ended.png", BlankPng(16000, 15000, 1), kTwoGigabytes, BeyondItsData(16000, 15000)},
      {"trailed.bmp", MakeBmp({4, 2, 8, 0, GreyRamp(256), {}, false, {{1, 2, 3, 4}, {5, 6, 7, 8}}}), kTwoGigabytes,
       "Loaded"},
      // Pixels past the end of the file: damaged.
      {"misplaced.bmp", misplaced, kTwoGigabytes, ""},
      // Metadata that never reaches a frame header.
      {"endless-metadata.jpg", comments, kTwoGigabytes, ""},
      // Formats whose size only their reader could tell, and nothing at all.
      {"x.jpg", {'/', '*', ' ', 'X', 'P', 'M', ' ', '*', '/', '\n', '/', '*'}, kTwoGigabytes, notAPicture},
      {"p.jpg", {'P', '5', '\n', '#'}, kTwoGigabytes, notAPicture},
      {"trailed.ppm", {'P', '5', ' ', '2', ' ', '2', ' ', '2', '5', '5', '\n', 1, 2, 3, 4}, kTwoGigabytes, notAPicture},
      {"empty.bmp", {}, kTwoGigabytes, notAPicture},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = Save(c.name, c.bytes);
    if (c.size > c.bytes.size()) fs::resize_file(path, c.size);
    const std::string expected = c.answer == "Loaded" ? c.answer : "Could not open image file " + path.string() + c.answer;
    EXPECT_EQ(LoadWithLittleMemory(path), expected);
    fs::remove(path);
  }
}

// No decoder sees a file before the program's walk of its structure has passed it: a
// chunk, segment or block longer than what is left of the file is damage, refused
// before a decoder allocates what it declares (libpng clears 2 GB for the chunk of a
// 44-byte PNG). Any message a decoder logs shows that it saw the file.
TEST_F(ImageLoaderTest, NoDecoderSeesAFileBeforeItsStructureHasPassed) {
  std::vector<std::uint8_t> cutSegment = JpegClaiming(16, 16);
  const std::vector<std::uint8_t> longExif{0xFF, 0xE1, 0xFF, 0xF0, 'E', 'x', 'i', 'f', 0, 0};
  cutSegment.insert(cutSegment.begin() + 2, longExif.begin(), longExif.end());
  std::vector<std::uint8_t> cutGif = GifWithScreen(3, 2);
  cutGif[cutGif.size() - 6] = 200;  // its codes' sub-block runs past the end
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"text.jpg", testing::PngDeclaringAChunkOf("tEXt", 0x7FFFFFFF)},
      {"compressed-text.jpg", testing::PngDeclaringAChunkOf("zTXt", 0x7FFFFFFF)},
      {"international-text.bmp", testing::PngDeclaringAChunkOf("iTXt", 0x7FFFFFFF)},
      {"cut-segment.jpg", cutSegment},
      {"cut-sub-block.bmp", cutGif},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = Save(c.name, c.bytes);
    EXPECT_EQ(LoadWithLittleMemory(path), "Could not open image file " + path.string());
  }
  EXPECT_EQ(cases[0].bytes.size(), 44u);
}

// A header value that no decoder takes is refused from the file's head, before the
// file is read on: a 300 MB file of such a head is read no further than its first
// bytes.
TEST_F(ImageLoaderTest, AHeaderValueNoDecoderTakesIsRefusedFromTheHead) {
  const auto bitmapOfBits = [](int bitCount) {
    std::vector<std::uint8_t> bitmap = MakeBmp({4, 2, 8, 0, GreyRamp(256), {}, false, {{1, 2, 3, 4}, {5, 6, 7, 8}}});
    bitmap[18] = 0xA0, bitmap[19] = 0x0F;  // width 4000
    bitmap[22] = 0xB8, bitmap[23] = 0x0B;  // height 3000
    bitmap[28] = static_cast<std::uint8_t>(bitCount), bitmap[29] = static_cast<std::uint8_t>(bitCount >> 8);
    return bitmap;
  };
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"ten-components.jpg", testing::JpegFrameOfComponents(4000, 4000, 10)},
      {"255-components.jpg", testing::JpegFrameOfComponents(4000, 4000, 255)},
      {"two-components.jpg", testing::JpegFrameOfComponents(4000, 4000, 2)},
      {"depth-255.bmp", testing::PngHeader(4000, 4000, 255, 0)},
      {"16-bit-palette.bmp", testing::PngHeader(4000, 4000, 16, 3)},
      {"colour-type-5.bmp", testing::PngHeader(4000, 4000, 8, 5)},
      {"bits-65535.bmp", bitmapOfBits(65535)},
      {"bits-2.bmp", bitmapOfBits(2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = Save(c.name, c.bytes);
    fs::resize_file(path, std::uintmax_t{300} << 20);
    std::vector<std::uint8_t> read;
    RunError error;
    ASSERT_TRUE(ReadPictureFileBytes(path, read, error));
    EXPECT_LE(read.size(), 64u * 1024);
    EXPECT_EQ(LoadWithLittleMemory(path), "Could not open image file " + path.string());
    fs::remove(path);
  }
}

// Only picture data counts toward what a file may make the program read and hold:
// more than 16 MB that codes no pixel (comments, text, metadata) is damage, however
// much its picture could take coded, and a chunk that declares more is refused before
// it is read.
TEST_F(ImageLoaderTest, MetadataPastWhatAnyFileHoldsIsDamage) {
  constexpr std::size_t kMegabyte = std::size_t{1} << 20;
  QImage black(8192, 8192, QImage::Format_Grayscale8);
  black.fill(0);
  const std::vector<std::uint8_t> blackJpeg = testing::JpegCodedByQt(black, false, 50);
  black = QImage();
  const auto text = [](std::size_t bytes) {
    std::vector<std::uint8_t> chunk{'k', 0};
    chunk.resize(bytes, 'v');
    return chunk;
  };
  for (const bool past : {true, false}) {
    const std::size_t metadata = (past ? 17 : 15) * kMegabyte;
    struct Case {
      const char* name;
      std::vector<std::uint8_t> bytes;
      int width;
    };
    const Case cases[] = {
        {"comments.jpg", testing::WithJpegComments(blackJpeg, metadata), 8192},
        {"text.bmp", testing::WithPngChunk(BlankPng(8192, 8192, 1), "tEXt", text(metadata)), 8192},
        {"comment.bmp", testing::GifWithComment(4000, 4000, metadata), 4000},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (past ? " past the limit" : " within it"));
      messages_.Clear();
      const auto path = Save(c.name, c.bytes);
      LoadedImage image;
      if (past) {
        EXPECT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::OpenFailed);
        EXPECT_EQ(Texts(), std::vector<std::string>{"Could not open image file " + path.string()});
      } else {
        EXPECT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::Loaded);
        EXPECT_EQ(image.Width, c.width);
        EXPECT_TRUE(messages_.Messages().empty());
      }
      fs::remove(path);
    }
  }
  // A chunk declaring a gigabyte of text in a file that holds it: nothing past the head
  // is read.
  const auto declared = Save("declared.jpg", testing::PngDeclaringAChunkOf("tEXt", 1u << 30));
  fs::resize_file(declared, (std::uintmax_t{1} << 30) + 4096);
  std::vector<std::uint8_t> read;
  RunError error;
  ASSERT_TRUE(ReadPictureFileBytes(declared, read, error));
  EXPECT_LE(read.size(), 64u * 1024);
  fs::remove(declared);
}

std::string TooManyRefinements(const char* times) {
  return std::string("\nIts scans decode each coefficient of its picture ") + times +
         " times; the program opens JPEG pictures whose scans decode each at most 3.5 times.";
}

// Bytes that code no pixel of the picture decoded buy nothing, and no coding costs far
// more work than its pixels: refinement scans that decide every coefficient again on
// almost no data, a PNG's zlib stream that goes on after its last row, GIF codes in a
// frame of one pixel or in frames never decoded.
TEST_F(ImageLoaderTest, CodingThatCostsFarMoreThanItsPixelsIsRefused) {
  QImage colour(64, 64, QImage::Format_RGB32);
  colour.fill(qRgb(0, 0, 0));
  testing::LibjpegCoding refinements;
  refinements.refinements = 5;  // the band, then five refinements of it
  testing::LibjpegCoding arithmeticRefinements = refinements;
  arithmeticRefinements.arithmetic = true;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string reason;
  };
  const Case cases[] = {
      {"refinements.jpg", testing::CodedByLibjpeg(colour, refinements), TooManyRefinements("6.0")},
      {"arithmetic-refinements.jpg", testing::CodedByLibjpeg(colour, arithmeticRefinements), TooManyRefinements("6.0")},
      {"stream-goes-on.bmp", testing::PngWhoseStreamGoesOn(64, 64, 1 << 20), ""},
      {"idle-codes.bmp", testing::GifWithIdleCodes(16000, 15000, 1 << 20, false), BeyondItsData(16000, 15000)},
      {"codes-never-decoded.bmp", testing::GifWithIdleCodes(16000, 15000, 1 << 20, true), BeyondItsData(16000, 15000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = Save(c.name, c.bytes);
    EXPECT_EQ(LoadWithLittleMemory(path), "Could not open image file " + path.string() + c.reason);
  }
}

// Their honest neighbours open with exactly their pixels: arithmetic-coded and
// progressive JPEG of libjpeg's own script, interlaced PNG (with passes left empty by
// a small picture), GIF codes that clear their table.
TEST_F(ImageLoaderTest, HonestCodingsOfTheSameKindsOpen) {
  QImage grey(40, 24, QImage::Format_Grayscale8);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x) grey.scanLine(y)[x] = static_cast<std::uint8_t>(y < 12 ? 200 : 30);
  for (const bool arithmetic : {false, true}) {
    for (const bool colour : {false, true}) {
      SCOPED_TRACE(std::string(arithmetic ? "arithmetic" : "Huffman") + (colour ? " colour" : " grey"));
      testing::LibjpegCoding coding;
      coding.arithmetic = arithmetic;
      coding.progressive = true;
      const QImage picture = colour ? grey.convertToFormat(QImage::Format_RGB32) : grey;
      LoadedImage image;
      ASSERT_EQ(LoadFileIntoDataBuffer(Save("honest.jpg", testing::CodedByLibjpeg(picture, coding)), false, image),
                ImageLoadStatus::Loaded);
      ASSERT_EQ(image.Width, 40);
      EXPECT_NEAR(image.Data[4 * 40 + 20], 200, 2);
      EXPECT_NEAR(image.Data[20 * 40 + 20], 30, 2);
    }
  }
  for (const auto& [width, height] : {std::pair{37, 23}, std::pair{1, 1}, std::pair{3, 9}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " interlaced");
    LoadedImage image;
    ASSERT_EQ(LoadFileIntoDataBuffer(Save("interlaced.bmp", testing::InterlacedGreyPng(width, height)), false, image),
              ImageLoadStatus::Loaded);
    ASSERT_EQ(image.Width, width);
    ASSERT_EQ(image.Height, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) ASSERT_EQ(image.Data[static_cast<std::size_t>(y * width + x)], (7 * x + 13 * y) % 256);
  }
  LoadedImage gif;
  ASSERT_EQ(LoadFileIntoDataBuffer(Save("cleared.bmp", testing::GifWithIdleCodes(3, 2, 3000, false)), false, gif),
            ImageLoadStatus::Loaded);
  EXPECT_EQ(gif.Width, 3);
  EXPECT_TRUE(messages_.Messages().empty());
}

// An honest picture takes no more than 12 bytes a pixel to load, the file's bytes
// included: they are let go as the decoder reads them, never held whole beside the
// picture decoded from them.
TEST_F(ImageLoaderTest, AnHonestPictureTakesAtMostTwelveBytesAPixel) {
  if (testing::kAddressSpaceReserved) GTEST_SKIP() << "the sanitizers' own memory hides the load's";
  const QImage noise = testing::Noise(2000, 1500);
  testing::LibjpegCoding bestProgressive;
  bestProgressive.quality = 100;
  bestProgressive.progressive = true;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"stored-16-bit-rgba.bmp", testing::StoredBlankPng(2000, 1500, 16, true)},
      {"compressed-16-bit-rgba.bmp", BlankPng(2000, 1500, 16, true)},
      {"q100-progressive-444.jpg", testing::CodedByLibjpeg(noise, bestProgressive)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = Save(c.name, c.bytes);
    const double peak = testing::PeakBytesAPixelOfLoading(path);
    EXPECT_GT(peak, 0);
    EXPECT_LE(peak, 12.0);
    fs::remove(path);
  }
}

// Pictures that a camera or an ordinary program writes open, however little data a
// blank or dark frame takes.
TEST_F(ImageLoaderTest, OrdinaryPicturesWithLittleDataOpen) {
  // cjpeg -arithmetic -quality 90 of a black 2048 x 2048 picture with a grey 200 x 200
  // square at 924, 924: about 1 KB.
  LoadedImage arithmetic;
  ASSERT_EQ(LoadFileIntoDataBuffer(ORVALE_TEST_DATA_DIR "/arithmetic-2048-black-grey-square.jpg", false, arithmetic),
            ImageLoadStatus::Loaded);
  ASSERT_EQ(arithmetic.Width, 2048);
  ASSERT_EQ(arithmetic.Height, 2048);
  EXPECT_LE(arithmetic.Data[0], 2);
  EXPECT_NEAR(arithmetic.Data[1024 * 2048 + 1024], 128, 3);
  // A camera's JPEG whose metadata (EXIF, a colour profile) takes more than the first
  // bytes the loader reads.
  QImage frame(64, 48, QImage::Format_Grayscale8);
  frame.fill(200);
  std::vector<std::uint8_t> jpeg = ReadBytes(SaveImage("frame.jpg", frame, "jpeg"));
  std::vector<std::uint8_t> metadata;
  for (int i = 0; i < 3; ++i) {
    metadata.insert(metadata.end(), {0xFF, 0xE2, 0xFF, 0xFF});
    metadata.resize(metadata.size() + 0xFFFD, 'm');
  }
  jpeg.insert(jpeg.begin() + 2, metadata.begin(), metadata.end());
  LoadedImage tagged;
  ASSERT_EQ(LoadFileIntoDataBuffer(Save("tagged.jpg", jpeg), false, tagged), ImageLoadStatus::Loaded);
  EXPECT_EQ(tagged.Width, 64);
  EXPECT_NEAR(tagged.Data[0], 200, 2);
  // A blank page from a paint program, and a 1-bit page scanned at 300 dpi.
  for (const auto& [width, height, depth] : {std::tuple{4000, 3000, 8}, std::tuple{2480, 3508, 1}}) {
    LoadedImage blank;
    ASSERT_EQ(LoadFileIntoDataBuffer(Save("blank.bmp", BlankPng(width, height, depth)), false, blank),
              ImageLoadStatus::Loaded);
    EXPECT_EQ(blank.Width, width);
    EXPECT_EQ(blank.Height, height);
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

// Camera pictures of 26 to 68 megapixels open whatever little data their dark frame
// takes (well under 1 MB for most), and read back as they were written: every picture
// up to 64 Mi pixels opens whatever its file's size, and beyond that a byte of data
// for every 256 pixels is enough.
TEST_F(ImageLoaderTest, CameraPicturesOpenWhateverLittleDataTheirDarkFrameTakes) {
  struct Case {
    const char* name;
    int width, height;
    QImage::Format format;
    const char* writer;
    int quality;  // -1: the writer's default
    bool progressive;
  };
  const Case cases[] = {
      {"grey q75.jpg", 6248, 4176, QImage::Format_Grayscale8, "jpeg", 75, false},
      {"grey progressive q85.jpg", 6248, 4176, QImage::Format_Grayscale8, "jpeg", 85, true},
      {"colour q90.jpg", 6248, 4176, QImage::Format_RGB32, "jpeg", 90, false},
      {"grey.png", 6248, 4176, QImage::Format_Grayscale8, "png", -1, false},
      {"16-bit grey.png", 6248, 4176, QImage::Format_Grayscale16, "png", -1, false},
      // Past the floor: 67.7 million pixels from about a megabyte of data.
      {"past the floor q90.jpg", 8256, 8200, QImage::Format_Grayscale8, "jpeg", 90, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = Path(c.name);
    {
      QImageWriter writer(QString::fromStdString(path.string()), c.writer);
      writer.setQuality(c.quality);
      writer.setProgressiveScanWrite(c.progressive);
      ASSERT_TRUE(writer.write(DiscOfFringes(c.width, c.height, c.format))) << writer.errorString().toStdString();
    }
    LoadedImage image;
    ASSERT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::Loaded) << ::testing::PrintToString(Texts());
    EXPECT_EQ(image.Width, c.width);
    EXPECT_EQ(image.Height, c.height);
    const auto at = [&](int x, int y) { return int{image.Data[static_cast<std::size_t>(y) * c.width + x]}; };
    EXPECT_LE(at(10, 10), 3);                                  // the black frame
    EXPECT_NEAR(at(c.width / 2, c.height / 2), 128 + 115, 6);  // the disc's centre, a bright fringe
    fs::remove(path);
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

// A 16-bit RGBA picture within the floor decodes at 8 bytes a pixel, within what the
// program allows a pixel, and opens.
TEST_F(ImageLoaderTest, ADeepColourPictureOpens) {
  LoadedImage image;
  ASSERT_EQ(LoadFileIntoDataBuffer(Save("deep.png", BlankPng(5016, 5016, 16, true)), false, image),
            ImageLoadStatus::Loaded);
  EXPECT_EQ(image.Width, 5016);
  EXPECT_EQ(image.Height, 5016);
  EXPECT_EQ(image.Data[5016 * 2508 + 2508], 0);
  EXPECT_TRUE(messages_.Messages().empty());
}

// Only BMP, JPEG, PNG and GIF are decoded, the formats whose structure the program
// checks, told by their content whatever the file's name; anything else is refused by
// its content, even where a Qt plug-in on the machine would read it.
TEST_F(ImageLoaderTest, OnlyTheFormatsTheProgramChecksAreDecoded) {
  QCoreApplication::addLibraryPath(ORVALE_TEST_IMAGE_PLUGIN_DIR);
  ASSERT_TRUE(QImageReader::supportedImageFormats().contains("orvt"));
  const std::vector<std::uint8_t> orvt = {'O', 'R', 'V', 'T', 0, 0, 0, 0};
  const std::string reason = "\nIt is not a BMP, JPEG, PNG or GIF picture.";
  for (const auto& [name, bytes] : std::vector<std::pair<const char*, std::vector<std::uint8_t>>>{
           {"plug-in.jpg", orvt},
           {"plug-in.bmp", orvt},
           {"notes.jpg", {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't', '\n'}},
           {"empty.bmp", {}},
       }) {
    SCOPED_TRACE(name);
    messages_.Clear();
    const auto path = Save(name, bytes);
    LoadedImage image;
    EXPECT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::OpenFailed);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Could not open image file " + path.string() + reason});
  }
  // The four formats still open, each whatever the file is named.
  messages_.Clear();
  QImage picture(16, 8, QImage::Format_Grayscale8);
  picture.fill(140);
  for (const auto& [name, format] : std::vector<std::pair<const char*, const char*>>{
           {"png.jpg", "png"}, {"bmp.jpg", "bmp"}, {"jpeg.bmp", "jpeg"}}) {
    SCOPED_TRACE(name);
    LoadedImage image;
    ASSERT_EQ(LoadFileIntoDataBuffer(SaveImage(name, picture, format), false, image), ImageLoadStatus::Loaded);
    EXPECT_EQ(image.Width, 16);
    EXPECT_NEAR(image.Data[0], 140, 2);
  }
  LoadedImage gif;
  ASSERT_EQ(LoadFileIntoDataBuffer(Save("gif.bmp", GifWithScreen(3, 2)), false, gif), ImageLoadStatus::Loaded);
  EXPECT_EQ(gif.Width, 3);
  EXPECT_TRUE(messages_.Messages().empty());
}

// The same for the formats of Qt's extra plug-ins, where the machine has them (many
// desktops do): TIFF, WebP, MNG, TGA, ICNS, WBMP, written by their own writers.
TEST_F(ImageLoaderTest, TheFormatsOfQtsExtraPluginsAreRefused) {
  QImage picture(64, 64, QImage::Format_RGB32);
  picture.fill(qRgb(90, 90, 90));
  int written = 0;
  for (const char* format : {"tiff", "webp", "mng", "tga", "icns", "wbmp"}) {
    SCOPED_TRACE(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, format).write(picture)) continue;
    ++written;
    messages_.Clear();
    const auto path = Save(std::string(format) + ".jpg", std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    LoadedImage image;
    EXPECT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::OpenFailed);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Could not open image file " + path.string() +
                                                "\nIt is not a BMP, JPEG, PNG or GIF picture."});
  }
  if (written == 0) GTEST_SKIP() << "Qt's extra image plug-ins are not installed";
}

TEST_F(ImageLoaderTest, AnIconIsNoBitmap) {
  QImage icon(16, 16, QImage::Format_ARGB32);
  icon.fill(qRgb(1, 2, 3));
  const auto path = SaveImage("icon.bmp", icon, "ico");
  LoadedImage image;
  EXPECT_EQ(LoadFileIntoDataBuffer(path, false, image), ImageLoadStatus::NotABitmap);
  EXPECT_EQ(Texts(), std::vector<std::string>{"Could not load image file " + path.string()});
  messages_.Clear();
  EXPECT_EQ(LoadFileIntoDataBuffer(path, true, image), ImageLoadStatus::NotABitmap);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ImageLoaderTest, FileErrorsShowTheirDescriptionUnlessSuppressed) {
  LoadedImage image;
  const auto missing = Path("missing.jpg");
  EXPECT_EQ(LoadFileIntoDataBuffer(missing, false, image), ImageLoadStatus::OpenFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{"File not found: " + missing.string()});
  messages_.Clear();
  EXPECT_EQ(LoadFileIntoDataBuffer(missing, true, image), ImageLoadStatus::OpenFailed);
  EXPECT_EQ(LoadFileIntoDataBuffer(Save("empty.bmp", {}), true, image), ImageLoadStatus::OpenFailed);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST(BlankImageTest, KeepsTheSizeUnlessBothAreGiven) {
  struct Case {
    std::int32_t xpts, ypts, width, height;
  };
  for (const Case& c : {Case{kNotGivenLong, kNotGivenLong, 640, 480}, Case{100, kNotGivenLong, 640, 480},
                        Case{kNotGivenLong, 100, 640, 480}, Case{320, 200, 320, 200}}) {
    std::int32_t width = 640, height = 480;
    std::vector<std::uint8_t> data(640 * 480, 3);
    EXPECT_TRUE(LoadBlankImage(c.xpts, c.ypts, width, height, data));
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
    EXPECT_EQ(data.size(), 1u);
  }
}

}  // namespace
}  // namespace orvale
