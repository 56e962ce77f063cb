// Blit rectangles anywhere in the 32-bit range, INT_MIN and INT_MAX extents and offsets
// included: every stretch path answers at once with what lands on the surface, however far
// the rectangles reach, and without overflowing on the way.
#include <gtest/gtest.h>

#include <QImage>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/PainterDeviceContext.h"
#include "tests/support/BoundedChild.h"

namespace orvale::gdi {
namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr int kSurface = 16;
constexpr int kPicture = 4;

// Every pixel of the 4 x 4 picture its own colour.
Color PictureColor(Point p) {
  return RGB(static_cast<std::uint8_t>(40 * p.x + 10), static_cast<std::uint8_t>(40 * p.y + 10), 99);
}

struct ExtremeBlit {
  const char* name;
  int xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc;
  // The picture pixel that surface pixel (x, y) then shows; nullopt: it stays white.
  std::function<std::optional<Point>(int x, int y)> shows;
};

std::optional<Point> Everywhere(Point p) { return p; }

const std::vector<ExtremeBlit>& ExtremeBlits() {
  static const std::vector<ExtremeBlit> blits = {
      {"StretchedToIntMax", 0, 0, INT_MAX, INT_MAX, 0, 0, 4, 4, [](int, int) { return Everywhere({0, 0}); }},
      {"MirroredByIntMin", 0, 0, INT_MIN, INT_MIN, 0, 0, 4, 4,
       [](int x, int y) { return x == 0 && y == 0 ? std::optional<Point>(Point{0, 0}) : std::nullopt; }},
      {"MirroredByIntMinFromTheFarCorner", 15, 15, INT_MIN, INT_MIN, 0, 0, 4, 4,
       [](int, int) { return Everywhere({0, 0}); }},
      {"MirroredByIntMinFromIntMax", INT_MAX, INT_MAX, INT_MIN, INT_MIN, 0, 0, 4, 4,
       [](int, int) { return Everywhere({3, 3}); }},
      {"StartingFarAboveTheSurface", -(1 << 30), -(1 << 30), INT_MAX, INT_MAX, 0, 0, 4, 4,
       [](int, int) { return Everywhere({2, 2}); }},
      {"EndingBeforeTheSurface", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 4, 4,
       [](int, int) { return std::nullopt; }},
      {"SourceOfIntMax", 0, 0, 16, 16, 0, 0, INT_MAX, INT_MAX, [](int, int) { return std::nullopt; }},
      // Both mirrored is not mirrored: one to one, the picture's last pixel at (15, 15).
      {"BothByIntMin", 15, 15, INT_MIN, INT_MIN, 3, 3, INT_MIN, INT_MIN,
       [](int x, int y) {
         return x >= 12 && y >= 12 ? std::optional<Point>(Point{x - 12, y - 12}) : std::nullopt;
       }},
  };
  return blits;
}

// The picture as an image to blit from, and as a 32-bit DIB stored from the top.
QImage PictureImage() {
  QImage picture(kPicture, kPicture, QImage::Format_RGB32);
  for (int y = 0; y < kPicture; ++y) {
    for (int x = 0; x < kPicture; ++x) {
      const Color c = PictureColor({x, y});
      picture.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
  }
  return picture;
}

struct PictureDib {
  BitmapInfo info;
  std::vector<std::uint8_t> bits;
};

PictureDib TopDownPictureDib() {
  PictureDib dib;
  dib.info.header.biWidth = kPicture;
  dib.info.header.biHeight = -kPicture;
  dib.info.header.biBitCount = 32;
  for (int y = 0; y < kPicture; ++y) {
    for (int x = 0; x < kPicture; ++x) {
      const Color c = PictureColor({x, y});
      dib.bits.insert(dib.bits.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
  }
  return dib;
}

// The ways one blit reaches a surface: a stretched copy and a DIB on the exact raster
// surface, and a stretched copy through a QPainter.
enum class Path { StretchBlt, StretchDIBits, Painter };

QImage Drawn(const ExtremeBlit& b, Path path) {
  const ImageDeviceContext picture(PictureImage());
  if (path == Path::Painter) {
    QImage device(kSurface, kSurface, QImage::Format_RGB32);
    device.fill(Qt::white);
    PainterDeviceContext dc(device);
    dc.StretchBlt(b.xDest, b.yDest, b.wDest, b.hDest, picture, b.xSrc, b.ySrc, b.wSrc, b.hSrc, SRCCOPY);
    return device;
  }
  ImageDeviceContext dc(kSurface, kSurface);
  if (path == Path::StretchBlt) {
    dc.StretchBlt(b.xDest, b.yDest, b.wDest, b.hDest, picture, b.xSrc, b.ySrc, b.wSrc, b.hSrc, SRCCOPY);
  } else {
    const PictureDib dib = TopDownPictureDib();
    dc.StretchDIBits(b.xDest, b.yDest, b.wDest, b.hDest, b.xSrc, b.ySrc, b.wSrc, b.hSrc, dib.bits, dib.info,
                     DIB_RGB_COLORS, SRCCOPY);
  }
  return dc.Image();
}

TEST(ExtremeBlitTest, EachPathAnswersAtOnceWithWhatLandsOnTheSurface) {
  // First in a child that has little memory to spare: work that grows with the extents
  // fails there at once.
  ASSERT_TRUE(testing::RunsWithinBounds([] {
    for (const ExtremeBlit& b : ExtremeBlits()) {
      for (const Path path : {Path::StretchBlt, Path::StretchDIBits, Path::Painter}) Drawn(b, path);
    }
  }));
  for (const ExtremeBlit& b : ExtremeBlits()) {
    for (const Path path : {Path::StretchBlt, Path::StretchDIBits, Path::Painter}) {
      SCOPED_TRACE(::testing::Message() << b.name << " path " << static_cast<int>(path));
      const QImage image = Drawn(b, path);
      int wrong = 0;
      for (int y = 0; y < kSurface; ++y) {
        for (int x = 0; x < kSurface; ++x) {
          const std::optional<Point> shown = b.shows(x, y);
          const Color expected = shown ? PictureColor(*shown) : kWhite;
          const QRgb pixel = image.pixel(x, y);
          if (RGB(qRed(pixel), qGreen(pixel), qBlue(pixel)) != expected && wrong++ < 3) {
            ADD_FAILURE() << "at (" << x << ", " << y << ")";
          }
        }
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST(ExtremeBlitTest, PatternBlitsOfAnyExtentFillTheSurface) {
  ImageDeviceContext dc(kSurface, kSurface);
  dc.SelectBrush(CreateSolidBrush(RGB(1, 2, 3)));
  EXPECT_TRUE(dc.PatBlt(INT_MAX, INT_MAX, INT_MIN, INT_MIN, PATCOPY));
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(dc.GetPixel(15, 15), RGB(1, 2, 3));
  // A stretched copy that takes no source is a pattern blit.
  const ImageDeviceContext picture(PictureImage());
  EXPECT_TRUE(dc.StretchBlt(INT_MIN, INT_MIN, INT_MAX, INT_MAX, picture, 0, 0, 4, 4, WHITENESS));
  EXPECT_EQ(dc.GetPixel(15, 15), RGB(1, 2, 3));
  EXPECT_TRUE(dc.StretchBlt(-5, -5, INT_MAX, INT_MAX, picture, 0, 0, 4, 4, WHITENESS));
  EXPECT_EQ(dc.GetPixel(15, 15), kWhite);
}

}  // namespace
}  // namespace orvale::gdi
