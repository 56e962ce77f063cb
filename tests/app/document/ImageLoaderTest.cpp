#include <gtest/gtest.h>

#include <QImage>
#include <QImageWriter>

#include <cstdlib>

#include "DocumentTestSupport.h"
#include "app/document/BlankImage.h"
#include "app/document/ImageLoader.h"
#include "app/document/ImageWindowSize.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

using testing::BmpSpec;
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
  auto absurd = MakeBmp({1, 1, 8, 0, GreyRamp(4), {}, false, {{0}}});
  absurd[18] = 0xA0, absurd[19] = 0x86, absurd[20] = 0x01;  // width 100000
  absurd[22] = 0xA0, absurd[23] = 0x86, absurd[24] = 0x01;  // height 100000
  absurd.resize(200, 0);
  auto truncated = MakeBmp({100, 100, 8, 0, GreyRamp(256), {}, false, std::vector<std::vector<std::uint8_t>>(100, std::vector<std::uint8_t>(100, 7))});
  truncated.resize(truncated.size() / 2);
  const auto codedCut = MakeBmp({4, 2, 8, 1, GreyRamp(256), {}, false, {{4, 5, 0, 0, 0, 3, 1}}});

  const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
      {"empty.bmp", {}},
      {"absurd.bmp", absurd},
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
