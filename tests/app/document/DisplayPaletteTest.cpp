#include <gtest/gtest.h>

#include <vector>

#include "app/document/DisplayPalette.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

gdi::BitmapInfo EightBitInfo(std::uint8_t fill) {
  gdi::BitmapInfo info;
  info.header.biBitCount = 8;
  for (auto& entry : info.colors) entry = gdi::RgbQuad{fill, fill, fill, 7};
  return info;
}

TEST(SetDisplayPaletteTest, WithoutStretchingGivesGreyOrRedRamps) {
  gdi::BitmapInfo grey = EightBitInfo(9);
  std::int32_t first = kNotGivenLong;
  SetDisplayPalette(false, false, {}, grey, first);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(grey.colors[100], (gdi::RgbQuad{100, 100, 100, 7}));
  gdi::BitmapInfo red = EightBitInfo(9);
  SetDisplayPalette(true, false, {}, red, first);
  EXPECT_EQ(red.colors[100], (gdi::RgbQuad{0, 0, 100, 7}));
  EXPECT_EQ(red.colors[255], (gdi::RgbQuad{0, 0, 255, 7}));
}

TEST(SetDisplayPaletteTest, StretchingSpreadsTheUsedBytesOverTheRamp) {
  // A packed bitmap: 1064 bytes of header and table, then pixels between 40 and 200.
  std::vector<std::uint8_t> dib(1064, 250);
  for (const std::uint8_t b : {0, 40, 77, 120, 200, 0}) dib.push_back(b);
  gdi::BitmapInfo grey = EightBitInfo(9);
  std::int32_t first = 1064;
  SetDisplayPalette(false, true, dib, grey, first);
  EXPECT_EQ(grey.colors[0].rgbRed, 0);
  EXPECT_EQ(grey.colors[40], (gdi::RgbQuad{0, 0, 0, 7}));
  EXPECT_EQ(grey.colors[120], (gdi::RgbQuad{127, 127, 127, 7}));
  EXPECT_EQ(grey.colors[200], (gdi::RgbQuad{255, 255, 255, 7}));
  EXPECT_EQ(grey.colors[230].rgbGreen, 255);

  gdi::BitmapInfo red = EightBitInfo(9);
  SetDisplayPalette(true, true, dib, red, first);
  EXPECT_EQ(red.colors[120], (gdi::RgbQuad{9, 9, 127, 7}));  // blue and green kept
}

TEST(SetDisplayPaletteTest, NothingToStretchKeepsTheFullRange) {
  struct Case {
    std::vector<std::uint8_t> pixels;
    std::int32_t first;
  };
  const std::vector<Case> cases = {
      {{}, 0},                 // empty array
      {{0, 0, 0}, 0},          // only zeros: hi is not above lo
      {{90, 90}, 0},           // one level only
      {{10, 200}, 5000},       // first index past the end: nothing scanned
      {{10, 200}, -3},         // a negative index scans nothing either
  };
  for (const Case& c : cases) {
    gdi::BitmapInfo info = EightBitInfo(9);
    std::int32_t first = c.first;
    SetDisplayPalette(false, true, c.pixels, info, first);
    EXPECT_EQ(info.colors[100], (gdi::RgbQuad{100, 100, 100, 7})) << c.first;
  }
}

TEST(SetDisplayPaletteTest, LeavesOtherBitCountsUntouched) {
  gdi::BitmapInfo info = EightBitInfo(9);
  info.header.biBitCount = 24;
  std::int32_t first = kNotGivenLong;
  SetDisplayPalette(true, true, std::vector<std::uint8_t>{10, 20}, info, first);
  EXPECT_EQ(info.colors[100], (gdi::RgbQuad{9, 9, 9, 7}));
}

}  // namespace
}  // namespace orvale
