#include "app/plots/ImageViewDisplay.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/document/AreaFills.h"
#include "app/document/InMemoryBitmap.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "tests/app/imageview/ImageViewTestSupport.h"

namespace orvale {
namespace {

using testing::PatternImage;
using testing::ViewFixture;

QRgb Grey(int v) { return qRgb(v, v, v); }
QRgb PatternAt(int x, int y) { return Grey((x * 7 + y * 13) & 255); }
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWorkspace = qRgb(171, 171, 171);

bool AllPixels(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != colour) return false;
  return true;
}

TEST(ImageViewDisplay, SmallImageEndsWithItsLastPixelsThenBlackStrips) {
  ViewFixture f(8, 6, 100, 80);
  const QImage shown = f.Backing();
  ASSERT_EQ(shown.size(), QSize(100, 80));
  EXPECT_EQ(shown.pixel(0, 0), PatternAt(0, 0));
  EXPECT_EQ(shown.pixel(7, 5), PatternAt(7, 5));
  EXPECT_EQ(shown.pixel(8, 0), kBlack);
  EXPECT_EQ(shown.pixel(0, 6), kBlack);
  EXPECT_EQ(shown.pixel(99, 79), kBlack);
}

TEST(ImageViewDisplay, RedDisplayRunsFromBlackToRedWithOrWithoutStretching) {
  for (const bool stretch : {false, true}) {
    GeneralSettings settings = testing::ViewTestSettings();
    settings.RedDisplay = true;
    settings.AutoStretch = stretch;
    testing::ViewTestFrame frame;
    ImageViewDisplay display(settings, frame);
    const std::vector<std::uint8_t> pixels = {40, 120, 200, 0};  // 2 x 2
    ASSERT_TRUE(display.RefreshBitmapFromData(pixels, 2, 2));
    const DisplayPicture& picture = *display.ImageBitmap();
    EXPECT_EQ(picture.RgbAt(1, 0), (stretch ? qRgb(127, 0, 0) : qRgb(120, 0, 0)) & 0xFFFFFF) << stretch;
    EXPECT_EQ(picture.RgbAt(0, 1), (stretch ? qRgb(255, 0, 0) : qRgb(200, 0, 0)) & 0xFFFFFF) << stretch;
  }
}

TEST(ImageViewDisplay, PictureLiesWhereTheZoomMapsImagePixels) {
  for (const std::int32_t zoom : {100, 150, 300, 1600}) {
    ViewFixture f(64, 48, 40, 30, zoom);
    ImageViewGeometry& g = f.display.Geometry;
    g.Horizontal.Value = std::min(3, g.Horizontal.Maximum);
    g.Vertical.Value = std::min(2, g.Vertical.Maximum);
    f.editor.PaintImage();
    const QImage shown = f.Backing();
    // Screen pixel i shows the image pixel under its centre.
    for (int j = 0; j < 30; ++j) {
      for (int i = 0; i < 40; ++i) {
        const int x = static_cast<int>(g.OriginX + std::floor((i + 0.5) / g.ScaleFactor));
        const int y = static_cast<int>(g.OriginY + std::floor((j + 0.5) / g.ScaleFactor));
        ASSERT_EQ(shown.pixel(i, j), PatternAt(x, y)) << zoom << "% at " << i << "," << j;
      }
    }
  }
}

TEST(ImageViewDisplay, BelowFullSizeThePictureIsPreShrunkOnce) {
  ViewFixture f(128, 96, 40, 30, 50);
  ASSERT_NE(f.display.SmallBitmap(), nullptr);
  EXPECT_EQ(f.display.SmallBitmap()->Image().size(), QSize(64, 48));
  f.display.Geometry.Horizontal.Value = 4;
  f.editor.PaintImage();
  // Small pixel k holds image pixel 2k + 1; the view starts at small pixel 4 x 0.5 = 2.
  EXPECT_EQ(f.Backing().pixel(0, 0), PatternAt(2 * 2 + 1, 1));
  EXPECT_EQ(f.Backing().pixel(5, 3), PatternAt(2 * 7 + 1, 7));

  // Back at 100 % the pre-shrunk copy goes.
  f.display.Geometry.ZoomFactor = 100;
  f.display.ResizeWindow(40, 30);
  EXPECT_EQ(f.display.SmallBitmap(), nullptr);
  EXPECT_EQ(f.display.LastZoom, 100);
}

TEST(ImageViewDisplay, NewImageIsPreShrunkAtItsOwnSize) {
  // An image that changes size at 50 % (Adjust Aspect Ratio) must not be shrunk to the
  // old image's drawn size.
  ViewFixture f(40, 20, 100, 80, 50);
  ASSERT_EQ(f.display.SmallBitmap()->Image().size(), QSize(20, 10));
  f.display.RefreshBitmapFromData(PatternImage(80, 20), 80, 20);
  ASSERT_NE(f.display.SmallBitmap(), nullptr);
  EXPECT_EQ(f.display.SmallBitmap()->Image().size(), QSize(40, 10));
  f.display.ResizeWindow(100, 80);
  f.editor.PaintImage();
  EXPECT_EQ(f.Backing().pixel(39, 0), PatternAt(79, 1));
  EXPECT_EQ(f.Backing().pixel(40, 0), kBlack);
}

TEST(ImageViewDisplay, ImageOfLessThanAPixelOnScreenHasNothingToPreShrink) {
  ViewFixture f(1, 2, 50, 40, 25);
  EXPECT_EQ(f.display.SmallBitmap(), nullptr);
  EXPECT_TRUE(AllPixels(f.Backing(), kBlack));
}

TEST(ImageViewDisplay, NotReadyShowsTheWorkspace) {
  ViewFixture f(64, 48, 40, 30);
  f.display.ImageReady = false;
  f.editor.PaintImage();
  EXPECT_TRUE(AllPixels(f.Backing(), kWorkspace));
}

TEST(ImageViewDisplay, PackedDibShowsLikeTheData) {
  ViewFixture f(30, 20, 40, 30);
  const QImage fromData = f.Backing();
  std::vector<std::uint8_t> dib;
  std::int32_t headerBytes = 0;
  ASSERT_TRUE(GetDIBFromBuffer(PatternImage(30, 20), 30, 20, false, dib, headerBytes));
  ASSERT_TRUE(f.display.RefreshBitmapFromDIB(dib, 30, 20));
  f.editor.PaintImage();
  EXPECT_EQ(f.Backing(), fromData);
}

// Inputs that must not be read past their end: each leaves no bitmap, and the view
// shows the workspace colour with the image's extent kept where it has one.
TEST(ImageViewDisplay, UntrustworthyInputBuildsNothing) {
  std::vector<std::uint8_t> dib;
  std::int32_t headerBytes = 0;
  ASSERT_TRUE(GetDIBFromBuffer(PatternImage(10, 10), 10, 10, false, dib, headerBytes));
  std::vector<std::uint8_t> truncated(dib.begin(), dib.begin() + headerBytes + 50);
  std::vector<std::uint8_t> sixteenBit = dib;
  sixteenBit[14] = 16;  // biBitCount
  std::vector<std::uint8_t> headerOnly(dib.begin(), dib.begin() + 20);
  const std::vector<std::uint8_t> oneByte{0};

  struct Case {
    const char* what;
    bool asDib;
    const std::vector<std::uint8_t>* bytes;
    std::int32_t width, height;
    std::int32_t keptWidth;
  };
  const Case cases[] = {
      {"blank image's one byte", false, &oneByte, 640, 480, 640},
      {"no size", false, &oneByte, 0, 0, 0},
      {"negative size", false, &oneByte, -5, 10, 0},
      {"truncated DIB", true, &truncated, 10, 10, 10},
      {"16-bit DIB", true, &sixteenBit, 10, 10, 10},
      {"DIB of another size", true, &dib, 12, 10, 12},
      {"header cut short", true, &headerOnly, 10, 10, 10},
  };
  for (const Case& c : cases) {
    ViewFixture f(30, 20, 40, 30);
    ASSERT_NE(f.display.ImageBitmap(), nullptr);
    const bool built = c.asDib ? f.display.RefreshBitmapFromDIB(*c.bytes, c.width, c.height)
                               : f.display.RefreshBitmapFromData(*c.bytes, c.width, c.height);
    EXPECT_FALSE(built) << c.what;
    EXPECT_EQ(f.display.ImageBitmap(), nullptr) << c.what;  // the old one is gone too
    EXPECT_EQ(f.display.Geometry.ImageWidth, c.keptWidth) << c.what;
    f.display.ResizeWindow(40, 30);
    f.editor.PaintImage();
    EXPECT_TRUE(AllPixels(f.Backing(), kWorkspace)) << c.what;
  }
}

TEST(ImageViewDisplay, BlankImageKeepsItsExtentForScrolling) {
  ViewFixture f(30, 20, 40, 30);
  const std::vector<std::uint8_t> oneByte{0};
  f.display.RefreshBitmapFromData(oneByte, 640, 480);
  f.display.ResizeWindow(40, 30);
  EXPECT_TRUE(f.display.Geometry.Horizontal.Enabled);
  EXPECT_EQ(f.display.Geometry.Horizontal.Maximum, 600);
}

}  // namespace
}  // namespace orvale
