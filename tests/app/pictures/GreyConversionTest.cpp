#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/pictures/GreyConversion.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

class GreyConversionTest : public ::testing::Test {
 protected:
  // A one-row bitmap holding `bits`.
  static BitmapPixels Row(std::int32_t width, int bitCount, const std::vector<std::uint8_t>& bits) {
    BitmapPixels p;
    p.Width = width;
    p.Height = 1;
    p.BitCount = bitCount;
    p.Bits = bits;
    p.Stride = static_cast<std::int64_t>(bits.size());
    return p;
  }
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
};

TEST_F(GreyConversionTest, PaletteEntriesBecomeTheRoundedMeanOfTheirColours) {
  // Entries given as blue, green, red.
  std::array<gdi::RgbQuad, 256> table{};
  table[0] = {0, 0, 1, 0};
  table[1] = {0, 0, 2, 0};
  table[2] = {255, 255, 255, 0};
  table[3] = {0, 1, 1, 0};
  table[4] = {10, 20, 31, 0};
  const std::vector<std::uint8_t> bits{0, 1, 2, 3, 4, 0, 0, 0};
  BitmapPixels p = Row(5, 8, bits);
  p.ColorTable = table;
  std::vector<std::uint8_t> data(5);
  ASSERT_TRUE(BitmapToImageData(p, data, 5, 1));
  // (1,0,0) -> 0, (2,0,0) -> 1, white stays 255, 2/3 -> 1, 61/3 -> 20
  EXPECT_EQ(data, (std::vector<std::uint8_t>{0, 1, 255, 1, 20}));
}

TEST_F(GreyConversionTest, ColourPixelsOfEveryDepthBecomeGrey) {
  struct Case {
    const char* name;
    int bitCount;
    std::uint32_t compression;
    std::array<std::uint32_t, 3> masks;
    std::vector<std::uint8_t> bits;
    std::vector<std::uint8_t> grey;
  };
  const Case cases[] = {
      // blue, green, red bytes
      {"24 bits", 24, 0, {}, {1, 1, 0, 30, 20, 10, 0, 0}, {1, 20}},
      // 0x00RRGGBB words
      {"32 bits", 32, 0, {}, {2, 0, 0, 0, 255, 255, 255, 0}, {1, 255}},
      // 5-5-5: full red is 31 x 8 = 248; 1 in each channel is 8 each
      {"16 bits 5-5-5", 16, 0, {}, {0x00, 0x7C, 0x21, 0x04}, {83, 8}},
      // 5-6-5 bit fields: full green is 63 x 4 = 252
      {"16 bits 5-6-5", 16, 3, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0xFF, 0xFF}, {84, 249}},
      // 32-bit fields with the channels in the upper three bytes
      {"32 bits fields", 32, 3, {0xFF000000, 0x00FF0000, 0x0000FF00}, {0, 0, 0, 255, 0, 2, 0, 0}, {85, 1}},
  };
  for (const Case& c : cases) {
    BitmapPixels p = Row(2, c.bitCount, c.bits);
    p.Compression = c.compression;
    p.Masks = c.masks;
    std::vector<std::uint8_t> data(2);
    ASSERT_TRUE(BitmapToImageData(p, data, 2, 1)) << c.name;
    EXPECT_EQ(data, c.grey) << c.name;
  }
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(GreyConversionTest, RowsArriveBottomUpUnlessTopDown) {
  std::array<gdi::RgbQuad, 256> table{};
  for (std::size_t i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    table[i] = {v, v, v, 0};
  }
  const std::vector<std::uint8_t> bits{1, 2, 0, 0, 3, 4, 0, 0};  // stride 4
  BitmapPixels p;
  p.Width = 2;
  p.Height = 2;
  p.BitCount = 8;
  p.ColorTable = table;
  p.Bits = bits;
  p.Stride = 4;
  std::vector<std::uint8_t> data(4);
  ASSERT_TRUE(BitmapToImageData(p, data, 2, 2));
  EXPECT_EQ(data, (std::vector<std::uint8_t>{3, 4, 1, 2}));
  p.TopDown = true;
  ASSERT_TRUE(BitmapToImageData(p, data, 2, 2));
  EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST_F(GreyConversionTest, RefusesOtherDepthsAndSizes) {
  const std::vector<std::uint8_t> bits(16, 0);
  struct Case {
    BitmapPixels pixels;
    std::int32_t width;
    std::size_t dataSize;
    const char* message;
  };
  BitmapPixels fourBits = Row(2, 4, bits);
  BitmapPixels tooShort = Row(2, 32, bits);
  tooShort.Bits = std::span<const std::uint8_t>(bits.data(), 4);
  tooShort.Stride = 4;
  const Case cases[] = {
      {fourBits, 2, 2, "Display adapter must have at least 256 color support"},
      {Row(2, 24, bits), 3, 3, "Could not convert bitmap to valid data"},
      {Row(2, 24, bits), 2, 1, "Could not convert bitmap to valid data"},
      {tooShort, 2, 2, "Could not convert bitmap to valid data"},
  };
  for (const Case& c : cases) {
    messages_.Clear();
    std::vector<std::uint8_t> data(c.dataSize, 5);
    EXPECT_FALSE(BitmapToImageData(c.pixels, data, c.width, 1)) << c.message;
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, c.message);
    EXPECT_EQ(messages_.Messages()[0].title, "Error");
  }
}

}  // namespace
}  // namespace orvale
