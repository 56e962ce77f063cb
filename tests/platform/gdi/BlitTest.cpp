#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <vector>

#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/PainterDeviceContext.h"

namespace orvale::gdi {
namespace {

constexpr Color kWhite = 0xFFFFFF;

// A 3 x 2 picture of palette indices, top row first, with a palette mapping index i to
// a colour that tells the rows apart.
const std::uint8_t kPicture[2][3] = {{1, 2, 3}, {4, 5, 6}};
Color PaletteColor(int i) { return RGB(static_cast<std::uint8_t>(i * 40), 0x0F, static_cast<std::uint8_t>(255 - i)); }

struct Dib8 {
  BitmapInfo info;
  std::vector<std::uint8_t> bits;
};

Dib8 MakeDib(bool bottomUp) {
  Dib8 dib;
  dib.info.header.biWidth = 3;
  dib.info.header.biHeight = bottomUp ? 2 : -2;
  dib.info.header.biBitCount = 8;
  for (int i = 0; i < 256; ++i) {
    const Color c = PaletteColor(i);
    dib.info.colors[static_cast<std::size_t>(i)] = RgbQuad{GetBValue(c), GetGValue(c), GetRValue(c), 0};
  }
  dib.bits.assign(8, 0xEE);  // rows of 3 pixels padded to 4 bytes
  for (int r = 0; r < 2; ++r) {
    const int stored = bottomUp ? 1 - r : r;
    for (int x = 0; x < 3; ++x) dib.bits[static_cast<std::size_t>(stored * 4 + x)] = kPicture[r][x];
  }
  return dib;
}

TEST(DibBlitTest, BottomUpAndTopDownDibsLandUpright) {
  for (const bool bottomUp : {true, false}) {
    const Dib8 dib = MakeDib(bottomUp);
    ImageDeviceContext dc(5, 4);
    EXPECT_EQ(dc.StretchDIBits(1, 1, 3, 2, 0, 0, 3, 2, dib.bits, dib.info, DIB_RGB_COLORS, SRCCOPY), 2);
    for (int r = 0; r < 2; ++r) {
      for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(dc.GetPixel(1 + x, 1 + r), PaletteColor(kPicture[r][x])) << bottomUp;
      }
    }
    EXPECT_EQ(dc.GetPixel(0, 0), kWhite);
    EXPECT_EQ(dc.GetPixel(4, 3), kWhite);
  }
}

TEST(DibBlitTest, AndThenXorCombineWithTheDestinationAndXorTwiceRestores) {
  const Color background = RGB(0xF0, 0x3C, 0xAA);
  for (const bool bottomUp : {true, false}) {
    const Dib8 dib = MakeDib(bottomUp);
    ImageDeviceContext dc(3, 2, background);
    dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, dib.bits, dib.info, DIB_RGB_COLORS, SRCAND);
    EXPECT_EQ(dc.GetPixel(2, 1), background & PaletteColor(6));
    dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, dib.bits, dib.info, DIB_RGB_COLORS, SRCINVERT);
    EXPECT_EQ(dc.GetPixel(0, 0), (background & PaletteColor(1)) ^ PaletteColor(1));
    dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, dib.bits, dib.info, DIB_RGB_COLORS, SRCINVERT);
    EXPECT_EQ(dc.GetPixel(0, 0), background & PaletteColor(1));
  }
}

TEST(DibBlitTest, PaintAndNotSourceCopy) {
  const Dib8 dib = MakeDib(true);
  ImageDeviceContext dc(3, 2, RGB(1, 2, 4));
  dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, dib.bits, dib.info, DIB_RGB_COLORS, SRCPAINT);
  EXPECT_EQ(dc.GetPixel(1, 0), RGB(1, 2, 4) | PaletteColor(2));
  dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, dib.bits, dib.info, DIB_RGB_COLORS, NOTSRCCOPY);
  EXPECT_EQ(dc.GetPixel(1, 0), ~PaletteColor(2) & 0xFFFFFF);
}

TEST(DibBlitTest, SetDIBitsToDeviceCopiesTheRowsItIsGiven) {
  const Dib8 dib = MakeDib(true);
  ImageDeviceContext dc(3, 2);
  EXPECT_EQ(dc.SetDIBitsToDevice(0, 0, 3, 2, 0, 0, 0, 2, dib.bits, dib.info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(dc.GetPixel(0, 0), PaletteColor(1));
  EXPECT_EQ(dc.GetPixel(2, 1), PaletteColor(6));
  // Only the bottom row handed over: it lands on the bottom row.
  ImageDeviceContext band(3, 2);
  const std::span<const std::uint8_t> bottomRow(dib.bits.data(), 4);
  EXPECT_EQ(band.SetDIBitsToDevice(0, 0, 3, 2, 0, 0, 0, 1, bottomRow, dib.info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(band.GetPixel(0, 0), kWhite);
  EXPECT_EQ(band.GetPixel(0, 1), PaletteColor(4));
}

TEST(DibBlitTest, MalformedDibsDrawNothing) {
  Dib8 dib = MakeDib(true);
  ImageDeviceContext dc(3, 2);
  const std::span<const std::uint8_t> shortBits(dib.bits.data(), 5);
  EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, shortBits, dib.info, DIB_RGB_COLORS, SRCCOPY), 0);
  dib.info.header.biBitCount = 4;
  EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, dib.bits, dib.info, DIB_RGB_COLORS, SRCCOPY), 0);
  dib.info.header.biBitCount = 8;
  dib.info.header.biWidth = -3;
  EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, dib.bits, dib.info, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(dc.GetPixel(0, 0), kWhite);
}

TEST(DibBlitTest, PackedDibHeaderIsReadBackAsWritten) {
  BitmapInfo info = MakeDib(true).info;
  info.header.biClrUsed = 0;
  std::vector<std::uint8_t> packed(1064 + 8, 0);
  WriteBitmapInfo(info, std::span<std::uint8_t, 1064>(packed.data(), 1064));
  std::size_t offset = 0;
  const auto read = ReadPackedDib(packed, offset);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(offset, 1064u);
  EXPECT_EQ(read->header, info.header);
  EXPECT_EQ(read->colors[5], info.colors[5]);
  EXPECT_FALSE(ReadPackedDib(std::span<const std::uint8_t>(packed.data(), 100), offset));
}

TEST(StretchBltTest, EnlargesShrinksAndMirrorsByNearestPixel) {
  ImageDeviceContext source(2, 2);
  source.SetPixel(0, 0, RGB(1, 0, 0));
  source.SetPixel(1, 0, RGB(2, 0, 0));
  source.SetPixel(0, 1, RGB(3, 0, 0));
  source.SetPixel(1, 1, RGB(4, 0, 0));

  ImageDeviceContext big(4, 4);
  big.SetStretchBltMode(COLORONCOLOR);
  EXPECT_TRUE(big.StretchBlt(0, 0, 4, 4, source, 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(big.GetPixel(1, 1), RGB(1, 0, 0));
  EXPECT_EQ(big.GetPixel(2, 1), RGB(2, 0, 0));
  EXPECT_EQ(big.GetPixel(1, 2), RGB(3, 0, 0));
  EXPECT_EQ(big.GetPixel(3, 3), RGB(4, 0, 0));

  ImageDeviceContext small(1, 1);
  EXPECT_TRUE(small.StretchBlt(0, 0, 1, 1, big, 0, 0, 4, 4, SRCCOPY));
  EXPECT_EQ(small.GetPixel(0, 0), RGB(4, 0, 0));  // the centre sample (2, 2)

  ImageDeviceContext mirrored(2, 2);
  EXPECT_TRUE(mirrored.StretchBlt(1, 0, -2, 2, source, 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(mirrored.GetPixel(0, 0), RGB(2, 0, 0));
  EXPECT_EQ(mirrored.GetPixel(1, 1), RGB(3, 0, 0));
}

TEST(StretchBltTest, BitBltWithinOneImageReadsTheOldPixels) {
  ImageDeviceContext dc(4, 1);
  for (int x = 0; x < 4; ++x) dc.SetPixel(x, 0, RGB(static_cast<std::uint8_t>(x + 1), 0, 0));
  EXPECT_TRUE(dc.BitBlt(1, 0, 3, 1, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dc.GetPixel(1, 0), RGB(1, 0, 0));
  EXPECT_EQ(dc.GetPixel(2, 0), RGB(2, 0, 0));
  EXPECT_EQ(dc.GetPixel(3, 0), RGB(3, 0, 0));
}

TEST(StretchBltTest, MarkerStampWithAndMaskAndXorImageKeepsTheSurroundings) {
  // The line-profile marker technique: white mask with a black dot, black image with a
  // coloured dot; AND the mask, XOR the image.
  ImageDeviceContext mask(3, 3, kWhite);
  mask.SetPixel(1, 1, 0x000000);
  ImageDeviceContext image(3, 3, 0x000000);
  image.SetPixel(1, 1, RGB(255, 0, 0));
  ImageDeviceContext target(5, 5, RGB(0, 90, 200));
  target.BitBlt(1, 1, 3, 3, mask, 0, 0, SRCAND);
  target.BitBlt(1, 1, 3, 3, image, 0, 0, SRCINVERT);
  EXPECT_EQ(target.GetPixel(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(target.GetPixel(1, 1), RGB(0, 90, 200));
  EXPECT_EQ(target.GetPixel(3, 3), RGB(0, 90, 200));
}

TEST(StretchBltTest, ASourceWithoutReadablePixelsIsRefused) {
  QImage device(4, 4, QImage::Format_RGB32);
  PainterDeviceContext painter(device);
  ImageDeviceContext dc(4, 4);
  EXPECT_FALSE(dc.BitBlt(0, 0, 4, 4, painter, 0, 0, SRCCOPY));
}

TEST(PainterContextTest, DrawsOnAnyPaintDevice) {
  QImage device(20, 20, QImage::Format_ARGB32);
  device.fill(Qt::white);
  {
    PainterDeviceContext dc(device);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 20);
    dc.SelectBrush(CreateSolidBrush(RGB(255, 0, 0)));
    dc.SelectPen(StockPen(NULL_PEN));
    dc.Rectangle(5, 5, 15, 15);
    const Dib8 dib = MakeDib(true);
    dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, dib.bits, dib.info, DIB_RGB_COLORS, SRCCOPY);
  }
  EXPECT_EQ(device.pixel(10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(device.pixel(17, 17), qRgb(255, 255, 255));
  const Color first = PaletteColor(1);
  EXPECT_EQ(device.pixel(0, 0), qRgb(GetRValue(first), GetGValue(first), GetBValue(first)));
}

TEST(ImageDeviceContextTest, ALoadedPictureIsCopiedWithItsTransparencyOnWhite) {
  QImage picture(3, 2, QImage::Format_ARGB32);
  picture.fill(qRgba(10, 20, 30, 255));
  picture.setPixel(2, 1, qRgba(0, 0, 0, 0));
  const ImageDeviceContext dc(picture);
  EXPECT_EQ(dc.Image().size(), QSize(3, 2));
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(10, 20, 30));
  EXPECT_EQ(dc.GetPixel(2, 1), RGB(255, 255, 255));
  EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 3);

  const ImageDeviceContext empty{QImage()};
  EXPECT_EQ(empty.Image().size(), QSize(1, 1));
}

}  // namespace
}  // namespace orvale::gdi
