#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <tuple>

#include "DocumentTestSupport.h"
#include "LyingPictures.h"
#include "app/document/BlankImage.h"
#include "app/document/ImageLoader.h"
#include "app/document/ImageWindowSize.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

using testing::BlankPng;
using testing::BmpSpec;
using testing::GifWithScreen;
using testing::JpegPaddedWithComments;
using testing::JpegWithDecoyFrame;
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

TEST_F(ImageLoaderTest, DamagedOrForeignFilesAreRefusedWithTheirMessage) {
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

  const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
      {"empty.bmp", {}},
      {"half.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)},
      {"half-progressive.jpg", std::vector<std::uint8_t>(progressive.begin(), progressive.begin() + progressive.size() / 2)},
      {"truncated.bmp", truncated},
      {"cut.rle", codedCut},
      {"notes.jpg", {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't', '\n'}},
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

// A 16 x 16 grey JPEG whose frame header says `width` x `height`: its data describes
// two blocks, and the decoder would fill the rest.
std::vector<std::uint8_t> JpegClaiming(int width, int height) {
  QImage image(16, 16, QImage::Format_Grayscale8);
  image.fill(100);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "JPG"));
  std::vector<std::uint8_t> jpeg(bytes.begin(), bytes.end());
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // baseline frame: height, then width
      jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8), jpeg[i + 6] = static_cast<std::uint8_t>(height);
      jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8), jpeg[i + 8] = static_cast<std::uint8_t>(width);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
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

// Refused from the header, before anything is allocated for the picture: a mutated
// 1 KB file of 320 x 524528 pixels took gigabytes and half a minute once masked and
// traced.
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
      {"ended.rle", MakeBmp({8000, 8000, 8, 1, GreyRamp(256), {}, false, {{0, 1}}}), BeyondItsData(8000, 8000)},
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
      // Within the pixels its data buys, but decoded at 8 bytes a pixel: the decoder
      // itself stops at the budget.
      {"deep.png", BlankPng(5000, 5000, 16, true), BeyondItsData(5000, 5000)},
      {"sixteenth.rle", MakeBmp({32767, 7629, 8, 1, GreyRamp(256), {}, false, {Rle8PaintingASixteenth(32767, 7629)}}),
       BeyondItsData(32767, 7629)},
      // Codes of the wrong width are no picture, whatever its size.
      {"eight-bit-counts.rle", MakeBmp({4096, 4096, 8, 2, GreyRamp(256), {}, false, {PaintedRows(4096, 4096)}}), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
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

#if !defined(__SANITIZE_ADDRESS__)
// The result of loading `path` in a child process whose address space may grow by no
// more than `headroom` bytes: "Loaded", or the message the load showed. A load that
// allocated what the file claims, or read a huge file whole, runs out of memory there.
std::string LoadWithLittleMemory(const fs::path& path, std::size_t headroom) {
  int channel[2];
  if (::pipe(channel) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    std::ifstream status("/proc/self/status");
    std::size_t sizeKb = 0;
    for (std::string line; std::getline(status, line);)
      if (line.rfind("VmSize:", 0) == 0) sizeKb = std::stoul(line.substr(7));
    const rlimit limit{sizeKb * 1024 + headroom, sizeKb * 1024 + headroom};
    ::setrlimit(RLIMIT_AS, &limit);
    ScriptedMessageService messages;
    ScopedMessageService installed(messages);
    LoadedImage image;
    std::string result = LoadFileIntoDataBuffer(path, false, image) == ImageLoadStatus::Loaded ? "Loaded" : "";
    for (const auto& shown : messages.Messages()) result += shown.text;
    const auto written = ::write(channel[1], result.data(), result.size());
    ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
  }
  ::close(channel[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<std::size_t>(n));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return result;
}

// Refused from what the file says, before anything is allocated for the picture or
// the file is read whole: each of these once took 2 GB or more.
TEST_F(ImageLoaderTest, ALyingFileIsRefusedBeforeItsClaimIsAllocatedOrItIsReadWhole) {
  constexpr std::size_t kHeadroom = 200u << 20;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string reason;
  };
  const Case lying[] = {
      {"screen.bmp", GifWithScreen(16000, 15000), BeyondItsData(16000, 15000)},
      {"decoy.jpg", JpegWithDecoyFrame(30000, 8000, false), BeyondItsData(30000, 8000)},
      {"decoy-progressive.jpg", JpegWithDecoyFrame(30000, 8000, true), BeyondItsData(30000, 8000)},
      {"one-bit.bmp", BlankPng(16000, 15000, 1), BeyondItsData(16000, 15000)},
      {"sixteenth.rle", MakeBmp({32767, 7629, 8, 1, GreyRamp(256), {}, false, {Rle8PaintingASixteenth(32767, 7629)}}),
       BeyondItsData(32767, 7629)},
      // Refused for its codes before a blank picture of its size is made to decode into.
      {"eight-bit-counts.rle", MakeBmp({32767, 7629, 8, 2, GreyRamp(256), {}, false, {PaintedRows(32767, 500)}}), ""},
  };
  for (const Case& c : lying) {
    const auto path = Save(c.name, c.bytes);
    EXPECT_EQ(LoadWithLittleMemory(path, kHeadroom), "Could not open image file " + path.string() + c.reason) << c.name;
  }
  // 2 GB of nothing, and a small bitmap with 2 GB after it: only what a picture needs
  // is read.
  for (const char* name : {"empty.bmp", "empty.jpg"}) {
    const auto path = Save(name, {});
    fs::resize_file(path, std::uintmax_t{2} << 30);
    EXPECT_EQ(LoadWithLittleMemory(path, kHeadroom), "Could not open image file " + path.string()) << name;
  }
  const auto trailed = Save("trailed.bmp", MakeBmp({4, 2, 8, 0, GreyRamp(256), {}, false, {{1, 2, 3, 4}, {5, 6, 7, 8}}}));
  fs::resize_file(trailed, std::uintmax_t{2} << 30);
  EXPECT_EQ(LoadWithLittleMemory(trailed, kHeadroom), "Loaded");
  // The same for a format only Qt reads, and for a JPEG whose metadata runs on past the
  // first bytes and never reaches a frame header.
  const auto netpbm = Save("trailed.ppm", {'P', '5', ' ', '2', ' ', '2', ' ', '2', '5', '5', '\n', 1, 2, 3, 4});
  fs::resize_file(netpbm, std::uintmax_t{2} << 30);
  EXPECT_EQ(LoadWithLittleMemory(netpbm, kHeadroom), "Loaded");
  std::vector<std::uint8_t> comments = {0xFF, 0xD8};
  for (int i = 0; i < 3; ++i) {
    comments.insert(comments.end(), {0xFF, 0xFE, 0xFF, 0xFF});
    comments.resize(comments.size() + 0xFFFD, 'c');
  }
  const auto endless = Save("endless-metadata.jpg", comments);
  fs::resize_file(endless, std::uintmax_t{2} << 30);
  EXPECT_EQ(LoadWithLittleMemory(endless, kHeadroom), "Could not open image file " + endless.string());
}
#endif

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

TEST(ImageWindowSizeTest, AddsScrollBarFramesAndCaption) {
  const WindowFrameMetrics metrics{17, 16, 4, 5, 20};
  const WindowSize size = InitialImageWindowSize(640, 480, metrics);
  EXPECT_EQ(size.Width, 640 + 17 + 8);
  EXPECT_EQ(size.Height, 480 + 16 + 20 + 10);
  EXPECT_EQ(InitialImageWindowSize(kNotGivenLong, kNotGivenLong, metrics).Width, kNotGivenLong);
}

}  // namespace
}  // namespace orvale
