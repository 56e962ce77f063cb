// DIBs of 1, 4, 16 and 32 bits drawn through the device context, and packed DIBs read with
// their masks where their header keeps them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <cstdint>
#include <vector>

#include "platform/gdi/ImageDeviceContext.h"

namespace orvale::gdi {
namespace {

struct TwoPixelDib {
  BitmapInfo info;
  std::vector<std::uint8_t> bits;
};

// Two pixels on one row, drawn 1:1 and read back.
std::pair<Color, Color> Draw(const TwoPixelDib& dib) {
  ImageDeviceContext dc(4, 2);
  EXPECT_EQ(dc.StretchDIBits(0, 0, 2, 1, 0, 0, 2, 1, dib.bits, dib.info, DIB_RGB_COLORS, SRCCOPY), 1);
  return {dc.GetPixel(0, 0), dc.GetPixel(1, 0)};
}

TwoPixelDib Dib(int bits, std::uint32_t compression, std::vector<std::uint8_t> row) {
  TwoPixelDib dib;
  dib.info.header.biWidth = 2;
  dib.info.header.biHeight = 1;
  dib.info.header.biBitCount = static_cast<std::uint16_t>(bits);
  dib.info.header.biCompression = compression;
  row.resize(4, 0);
  dib.bits = row;
  return dib;
}

TEST(DibSourceTest, PackedDibsKeepTheirMasksWhereTheHeaderSays) {
  struct Case {
    const char* name;
    std::uint32_t headerSize, coloursUsed;
    std::size_t bitsOffset;
  };
  const Case cases[] = {
      {"AfterA40ByteHeader", 40, 0, 52},
      {"CountedAsColours", 40, 3, 52},
      {"InsideAV4Header", 108, 0, 108},
      {"InsideAV5Header", 124, 0, 124},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> packed(c.bitsOffset + 8, 0);
    BitmapInfoHeader header;
    header.biSize = c.headerSize;
    header.biWidth = 2;
    header.biHeight = 1;
    header.biBitCount = 32;
    header.biCompression = BI_BITFIELDS;
    header.biClrUsed = c.coloursUsed;
    WriteBitmapInfoHeader(header, packed.data());
    const std::uint8_t masks[12] = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};  // red, green, blue
    std::copy(std::begin(masks), std::end(masks), packed.begin() + 40);
    std::size_t offset = 0;
    const std::optional<BitmapInfo> info = ReadPackedDib(packed, offset);
    ASSERT_TRUE(info.has_value()) << c.name;
    EXPECT_EQ(offset, c.bitsOffset) << c.name;
    EXPECT_EQ(info->colors[0], (RgbQuad{0, 0, 0xFF, 0})) << c.name;
    EXPECT_EQ(info->colors[2], (RgbQuad{0xFF, 0, 0, 0})) << c.name;
  }
}

TEST(DibSourceTest, IndexedPixelsTakeTheirBitsInOrderFromTheTop) {
  struct Case {
    int bits;
    std::uint8_t firstByte;
    std::size_t firstEntry, secondEntry;
  };
  for (const Case& c : {Case{1, 0x40, 0, 1}, Case{4, 0x2F, 2, 15}}) {
    TwoPixelDib dib = Dib(c.bits, BI_RGB, {c.firstByte});
    dib.info.colors[c.firstEntry] = RgbQuad{10, 20, 30, 0};
    dib.info.colors[c.secondEntry] = RgbQuad{200, 100, 50, 0};
    const auto [first, second] = Draw(dib);
    EXPECT_EQ(first, RGB(30, 20, 10)) << c.bits;
    EXPECT_EQ(second, RGB(50, 100, 200)) << c.bits;
  }
}

TEST(DibSourceTest, SixteenBitPixelsAreFiveFiveFiveUnlessMasksSayOtherwise) {
  // 0x7C00 is full red in 5:5:5; 0x001F full blue.
  const auto [red, blue] = Draw(Dib(16, BI_RGB, {0x00, 0x7C, 0x1F, 0x00}));
  EXPECT_EQ(red, RGB(255, 0, 0));
  EXPECT_EQ(blue, RGB(0, 0, 255));

  // 5:6:5 masks: 0x07E0 is full green; 0x0400 half green (32 of 63).
  TwoPixelDib masked = Dib(16, 3, {0xE0, 0x07, 0x00, 0x04});
  masked.info.colors[0] = RgbQuad{0x00, 0xF8, 0x00, 0x00};
  masked.info.colors[1] = RgbQuad{0xE0, 0x07, 0x00, 0x00};
  masked.info.colors[2] = RgbQuad{0x1F, 0x00, 0x00, 0x00};
  const auto [green, half] = Draw(masked);
  EXPECT_EQ(green, RGB(0, 255, 0));
  EXPECT_EQ(half, RGB(0, 130, 0));
}

TEST(DibSourceTest, ThirtyTwoBitPixelsFollowTheirMasksWhenGiven) {
  struct Case {
    const char* name;
    std::array<std::uint32_t, 3> masks;  // red, green, blue
    std::uint32_t first, second;
    Color firstColour, secondColour;
  };
  const Case cases[] = {
      {"RedInTheLowByte", {0xFF, 0xFF00, 0xFF0000}, 0xFF302010, 0x000000FF, RGB(0x10, 0x20, 0x30),
       RGB(255, 0, 0)},
      // Ten bits a channel: 511 of 1023 is half.
      {"TenBits", {0x3FF00000, 0x000FFC00, 0x000003FF}, 0x3FF00000, 0x000001FF, RGB(255, 0, 0),
       RGB(0, 0, 127)},
  };
  for (const Case& c : cases) {
    TwoPixelDib dib = Dib(32, 3, {});
    dib.bits.assign(8, 0);
    for (int i = 0; i < 4; ++i) {
      dib.bits[i] = static_cast<std::uint8_t>(c.first >> (8 * i));
      dib.bits[4 + i] = static_cast<std::uint8_t>(c.second >> (8 * i));
    }
    for (int m = 0; m < 3; ++m) {
      const std::uint32_t mask = c.masks[m];
      const auto byte = [mask](int n) { return static_cast<std::uint8_t>(mask >> (8 * n)); };
      dib.info.colors[m] = RgbQuad{byte(0), byte(1), byte(2), byte(3)};
    }
    const auto [first, second] = Draw(dib);
    EXPECT_EQ(first, c.firstColour) << c.name;
    EXPECT_EQ(second, c.secondColour) << c.name;
  }
}

TEST(DibSourceTest, MasksOnOtherBitCountsAreRefused) {
  TwoPixelDib dib = Dib(24, 3, {1, 2, 3, 4, 5, 6});
  ImageDeviceContext dc(4, 2);
  EXPECT_EQ(dc.StretchDIBits(0, 0, 2, 1, 0, 0, 2, 1, dib.bits, dib.info, DIB_RGB_COLORS, SRCCOPY), 0);
}

}  // namespace
}  // namespace orvale::gdi
