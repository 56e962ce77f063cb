#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/ui/QtClipboardService.h"
#include "tests/platform/ui/DibFixture.h"

namespace orvale {
namespace {

using testing::MakePackedDib;

TEST(QtClipboardServiceTest, PutsTheDibAsAnImageOtherProgramsCanPaste) {
  QtClipboardService clipboard;
  // 2 x 2, 24 bits, bottom-up: the first stored row is the picture's bottom row.
  std::vector<std::uint8_t> dib = MakePackedDib({2, 2, 24, 0, 0, 0});
  const std::uint8_t rows[16] = {0, 0, 255, 0, 255, 0, 0, 0,       // bottom: red, green
                                 255, 0, 0, 255, 255, 255, 0, 0};  // top: blue, white
  std::copy(std::begin(rows), std::end(rows), dib.begin() + 40);
  const std::vector<gdi::PaletteEntry> palette = {{9, 8, 7, 0}};
  ASSERT_TRUE(clipboard.PutDib(dib, palette));

  EXPECT_EQ(clipboard.GetDib(), dib);
  EXPECT_EQ(clipboard.GetPalette(), palette);
  const QImage image = qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
  ASSERT_EQ(image.size(), QSize(2, 2));
  EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(1, 1), qRgb(0, 255, 0));
}

TEST(QtClipboardServiceTest, RefusesABrokenDibAndKeepsWhatWasThere) {
  QtClipboardService clipboard;
  const std::vector<std::uint8_t> grey = MakePackedDib({4, 3, 8, 0, 0, 256});
  ASSERT_TRUE(clipboard.PutDib(grey));
  EXPECT_TRUE(clipboard.GetPalette().empty());
  std::vector<std::uint8_t> broken = MakePackedDib({});
  broken.resize(50);
  EXPECT_FALSE(clipboard.PutDib(broken));
  EXPECT_EQ(clipboard.GetDib(), grey);
}

TEST(QtClipboardServiceTest, ReadsAnImageAnotherProgramPut) {
  QImage picture(3, 2, QImage::Format_RGB32);
  picture.fill(qRgb(10, 20, 30));
  QGuiApplication::clipboard()->setImage(picture);
  QtClipboardService clipboard;
  const auto dib = clipboard.GetDib();
  ASSERT_TRUE(dib);
  std::size_t bitsOffset = 0;
  ASSERT_TRUE(IsWholePackedDib(*dib, bitsOffset));
  std::size_t tableEnd = 0;
  const auto info = gdi::ReadPackedDib(*dib, tableEnd);
  EXPECT_EQ(info->header.biWidth, 3);
  EXPECT_EQ(info->header.biHeight, 2);
  EXPECT_TRUE(clipboard.GetPalette().empty());
}

}  // namespace
}  // namespace orvale
