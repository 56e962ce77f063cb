#include "cards/melvex/ConversionTables.h"

#include <gtest/gtest.h>

#include <vector>

#include "cards/melvex/LineFormats.h"

namespace orvale::melvex {
namespace {

struct Pixel {
  int y, cb, cr;
};

// A CbYCrY line of pixels given in pairs: the first pixel's Cb and the second's Cr.
std::vector<std::uint8_t> PairLine(const std::vector<Pixel>& pixels) {
  std::vector<std::uint8_t> bytes(2 * pixels.size() + 8, 0);
  for (std::size_t p = 0; p < pixels.size(); ++p) {
    bytes[2 * p] = static_cast<std::uint8_t>(p % 2 == 0 ? pixels[p].cb : pixels[p].cr);
    bytes[2 * p + 1] = static_cast<std::uint8_t>(pixels[p].y);
  }
  return bytes;
}

class ConversionTablesTest : public ::testing::Test {
 protected:
  ConversionTablesTest() { tables.Build(1.0f); }

  std::vector<std::uint8_t> Convert(int format, const std::vector<Pixel>& pixels, int line = 0) {
    const std::vector<std::uint8_t> bytes = PairLine(pixels);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(LineBytes(format, static_cast<int>(pixels.size()))) + 4, 0xEE);
    ConvertLine(tables, format, CardLine{bytes.data(), static_cast<int>(pixels.size()), false}, 0,
                static_cast<int>(pixels.size()), line, out.data());
    return out;
  }

  ConversionTables tables;
};

TEST_F(ConversionTablesTest, GreyExtremesFollowTheTruncatedTables) {
  // trunc(1.164 x 235 - 18.624) = 254, so white is reached only at 236.
  struct Case {
    int y;
    int expected;
  };
  for (const Case c : {Case{0, 0}, Case{16, 0}, Case{17, 1}, Case{235, 254}, Case{236, 255}, Case{255, 255}}) {
    const std::vector<std::uint8_t> bgr = Convert(7, {{c.y, 128, 128}, {c.y, 128, 128}});
    EXPECT_EQ(bgr[0], c.expected) << c.y;
    EXPECT_EQ(bgr[1], c.expected) << c.y;
    EXPECT_EQ(bgr[2], c.expected) << c.y;
  }
}

TEST_F(ConversionTablesTest, EightBitGreyFollowsTheLuminanceFormula) {
  // 0 below 16, 255 from 240, else gamma[round((Y - 16) x 255 / 223)]; worked by hand.
  // Y = 20 gives 4.57, so 5 shows the rounding; gamma 2 is round(255 x sqrt(k / 255)).
  struct Case {
    int y;
    int gammaOne;
    int gammaTwo;
  };
  ConversionTables gammaTwo;
  gammaTwo.Build(2.0f);
  for (const Case c : {Case{0, 0, 0}, Case{15, 0, 0}, Case{16, 0, 0}, Case{17, 1, 16}, Case{20, 5, 36},
                       Case{100, 96, 156}, Case{128, 128, 181}, Case{200, 210, 231}, Case{239, 255, 255},
                       Case{240, 255, 255}, Case{255, 255, 255}}) {
    EXPECT_EQ(tables.luminance[c.y], c.gammaOne) << c.y;
    EXPECT_EQ(gammaTwo.luminance[c.y], c.gammaTwo) << c.y;
    // A grey card line holds one byte a pixel.
    const auto grey = static_cast<std::uint8_t>(c.y);
    std::uint8_t out = 0xEE;
    ConvertLine(tables, 1, CardLine{&grey, 1, false}, 0, 1, 0, &out);
    EXPECT_EQ(out, c.gammaOne) << c.y;
  }
}

TEST_F(ConversionTablesTest, PureColoursInThePackedLayouts) {
  // Hand-worked: red (81, 90, 240) gives R 253, G 0, B 0; blue (41, 240, 110) gives R 1,
  // G 0, B 255; white (255, 128, 128) everything at the top.
  struct Case {
    Pixel pixel;
    int rgb555, rgb565, rgb332;
    int r, g, b;
  };
  const Case cases[] = {
      {{81, 90, 240}, 0x7C00, 0xF800, 0xE0, 253, 0, 0},
      {{41, 240, 110}, 0x001F, 0x001F, 0x03, 1, 0, 255},
      {{255, 128, 128}, 0x7FFF, 0xFFFF, 0xFF, 255, 255, 255},
      {{16, 128, 128}, 0x0000, 0x0000, 0x00, 0, 0, 0},
  };
  for (const Case& c : cases) {
    // The pixel is the second of its pair, so both chroma bytes are its own.
    const std::vector<Pixel> line = {c.pixel, c.pixel};
    const auto word = [](const std::vector<std::uint8_t>& out) { return out[2] | (out[3] << 8); };
    EXPECT_EQ(word(Convert(4, line)), c.rgb555) << c.pixel.y;
    EXPECT_EQ(word(Convert(5, line)), c.rgb565) << c.pixel.y;
    EXPECT_EQ(Convert(3, line)[0], c.rgb332) << c.pixel.y;  // dither 0 at line 0, pixel 0
    const std::vector<std::uint8_t> rgb = Convert(6, line);
    EXPECT_EQ(rgb[3], c.r);
    EXPECT_EQ(rgb[4], c.g);
    EXPECT_EQ(rgb[5], c.b);
    const std::vector<std::uint8_t> bgrx = Convert(8, line);
    EXPECT_EQ(bgrx[4], c.b);
    EXPECT_EQ(bgrx[6], c.r);
    EXPECT_EQ(bgrx[7], 0);
  }
}

TEST_F(ConversionTablesTest, DitheredBrightBlueStaysInsideTheClampTables) {
  // Y 255 + Cb 255 + 4 x dither 15 reaches index 874, past the classic 816-entry tables.
  static_assert(kClampTableSize == 875);
  const std::vector<std::uint8_t> out = Convert(3, {{255, 255, 128}, {255, 255, 128}}, 3);
  EXPECT_EQ(DitherOffset(3, 0), 15);
  EXPECT_EQ(out[0] & 0x03, 0x03);
  EXPECT_EQ(out[0], 0xFF);
}

TEST_F(ConversionTablesTest, ThreeThreeTwoDitherFollowsThePixelOfTheCall) {
  // Y 119 gives 119 before dither, just under a step of the 3:3:2 levels at 128, so the
  // dither decides each pixel.
  const std::vector<Pixel> line(8, Pixel{119, 128, 128});
  const std::vector<std::uint8_t> row0 = Convert(3, line, 0);
  const std::vector<std::uint8_t> row1 = Convert(3, line, 1);
  EXPECT_NE(std::vector<std::uint8_t>(row0.begin(), row0.begin() + 4),
            std::vector<std::uint8_t>(row1.begin(), row1.begin() + 4));
  // The pattern repeats every four pixels of the call.
  for (int k = 0; k < 4; ++k) EXPECT_EQ(row0[k], row0[k + 4]);
}

TEST_F(ConversionTablesTest, GammaCurves) {
  const auto g22 = GammaCurve(2.2f);
  EXPECT_EQ(g22[0], 0);
  EXPECT_EQ(g22[255], 255);
  for (int k = 1; k < 256; ++k) EXPECT_LE(g22[k - 1], g22[k]);
  EXPECT_GT(g22[64], 64);

  // A negative gamma overshoots; every entry and every packed part stays in its field.
  ConversionTables negative;
  negative.Build(-1.0f);
  for (int i = 0; i < kClampTableSize; ++i) {
    EXPECT_LE(negative.red555[i], 0x7C00);
    EXPECT_EQ(negative.red555[i] & ~0x7C00, 0);
    EXPECT_EQ(negative.green565[i] & ~0x07E0, 0);
    EXPECT_EQ(negative.red332[i] & ~0xE0, 0);
  }
  EXPECT_EQ(negative.gammaCurve[1], 255);
}

TEST(LineFormatsTest, LineBytesForEveryFormat) {
  const int expected[] = {5, 3, 5, 10, 10, 15, 15, 20, 15, 12, 15};
  for (int format = 1; format <= 11; ++format) EXPECT_EQ(LineBytes(format, 5), expected[format - 1]) << format;
  EXPECT_EQ(LineBytes(0, 5), 0);
  EXPECT_EQ(LineBytes(12, 5), 0);
}

TEST_F(ConversionTablesTest, SixteenGreyPacksTwoPixelsAByteAndKeepsAnOddLastLowNibble) {
  const std::uint8_t grey[] = {0x00, 0xFF, 0x80, 0x7F, 0x40};
  std::uint8_t out[3] = {0x0F, 0x0F, 0x0F};
  ConvertLine(tables, 2, CardLine{grey, 5, false}, 0, 5, 0, out);
  // Dither row 0 is 0, 8, 2, 10, 0: (0x80 + 2) >> 4 = 8, (0x7F + 10) >> 4 = 8.
  EXPECT_EQ(out[0], 0x0F);
  EXPECT_EQ(out[1], 0x88);
  EXPECT_EQ(out[2], 0x4F);
}

TEST_F(ConversionTablesTest, RawFormatsKeepTheCardBytesInTheirOrder) {
  // Bytes: Cb0 Y0 Cr0 Y1 Cb1 Y2 Cr1 Y3.
  const std::uint8_t bytes[] = {10, 20, 30, 40, 50, 60, 70, 80, 0, 0, 0, 0};
  struct Case {
    int format;
    bool oddStart;
    std::vector<std::uint8_t> expected;
  };
  const Case cases[] = {
      {9, false, {20, 30, 10, 40, 30, 10}},
      {11, false, {20, 10, 30, 40, 10, 30}},
      {10, false, {10, 20, 30, 40}},
      // Starting with Cr, the first pixel takes the Cb after it; format 10 skips to it.
      {9, true, {20, 10, 30, 40, 50, 30}},
      {11, true, {20, 30, 10, 40, 30, 50}},
      {10, true, {30, 40, 50, 60}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> out(c.expected.size() + 2, 0xEE);
    ConvertLine(tables, c.format, CardLine{bytes, 4, c.oddStart}, 0, 2, 0, out.data());
    out.resize(c.expected.size());
    EXPECT_EQ(out, c.expected) << c.format << (c.oddStart ? " odd" : "");
  }
}

TEST_F(ConversionTablesTest, CbYCrYToBgrTakesTheCrBeforeALonePixel) {
  const std::uint8_t pairs[] = {90, 81, 240, 81, 90, 81};  // red, red, then a lone pixel
  std::uint8_t bgr[9] = {};
  ConvertCbYCrYToBgr(tables, pairs, 3, bgr);
  EXPECT_EQ(bgr[8], 253);  // the lone pixel uses the pair's Cr (240): red
  EXPECT_EQ(bgr[6], 0);

  const std::uint8_t single[] = {128, 235};
  std::uint8_t one[3] = {};
  ConvertCbYCrYToBgr(tables, single, 1, one);  // no pair before: neutral chroma
  EXPECT_EQ(one[0], 254);
  EXPECT_EQ(one[2], 254);

  std::uint8_t untouched[3] = {7, 7, 7};
  ConvertCbYCrYToBgr(tables, single, 0, untouched);
  EXPECT_EQ(untouched[0], 7);
}

}  // namespace
}  // namespace orvale::melvex
