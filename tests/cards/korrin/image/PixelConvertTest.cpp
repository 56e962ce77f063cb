// Pixel formats and the conversions between them.
#include <gtest/gtest.h>

#include <vector>

#include "cards/korrin/image/PixelConvert.h"

namespace orvale::korrin {
namespace {

std::vector<std::uint8_t> Convert(int from, int to, const std::vector<std::uint8_t>& in,
                                  const std::uint8_t* palette = nullptr) {
  const int count = static_cast<int>(in.size()) / BytesPerPixel(from);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(count) * BytesPerPixel(to), 0xCC);
  EXPECT_TRUE(ConvertPixels(count, from, to, in.data(), out.data(), palette));
  return out;
}

struct Row {
  const char* name;
  int from;
  int to;
  std::vector<std::uint8_t> in;
  std::vector<std::uint8_t> out;
};

TEST(PixelConvertTest, KnownPixels) {
  const Row rows[] = {
      {"pure red to grey", 24, 8, {0, 0, 255}, {76}},
      {"grey to 24", 8, 24, {77}, {77, 77, 77}},
      {"15-bit index 12 in every channel", 15, 24, {0x8C, 0x31}, {97, 97, 97}},
      {"16-bit green keeps its top bits", 16, 24, {0xE0, 0x07}, {0, 255, 0}},
      {"16-bit green 0x21", 16, 24, {0x20, 0x04}, {0, 0x84 | 0x02, 0}},
      {"24 to 15", 24, 15, {0xFF, 0x80, 0x08}, {0x1F, 0x06}},
      {"24 to 16", 24, 16, {0xFF, 0x80, 0x08}, {0x1F, 0x0C}},
      {"24 to 32 appends 0", 24, 32, {1, 2, 3}, {1, 2, 3, 0}},
      {"32 drops the fourth byte", 32, 24, {1, 2, 3, 4}, {1, 2, 3}},
      {"24 to cube index", 24, 2056, {255, 128, 0}, {5 + 6 * 3 + 36 * 0}},
      {"8 to 8 is identity", 8, 8, {200}, {200}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Convert(row.from, row.to, row.in), row.out);
  }
}

TEST(PixelConvertTest, PaletteIndexesUseThePaletteOrGrey) {
  Palette palette = GreyRamp();
  palette[7 * 3] = 10;
  palette[7 * 3 + 1] = 20;
  palette[7 * 3 + 2] = 30;
  EXPECT_EQ(Convert(2056, 24, {7}, palette.data()), (std::vector<std::uint8_t>{10, 20, 30}));
  EXPECT_EQ(Convert(2056, 24, {7}), (std::vector<std::uint8_t>{7, 7, 7})) << "null palette";
}

TEST(PixelConvertTest, CubeIndexAndCubePaletteStayWithinOneStep) {
  // The palette a save writes for the cube: component c * 256 / 6.
  for (int v = 0; v < 256; ++v) {
    const auto index = Convert(24, 2056, {static_cast<std::uint8_t>(v), 0, 0})[0];
    const int level = index % 6;
    const int back = level * 256 / 6;
    EXPECT_LE(back, v);
    EXPECT_LE(v - back, 43) << v;  // a sixth of the range, rounded twice
  }
}

TEST(PixelConvertTest, EveryPairConvertsAndLongLinesWork) {
  const int formats[] = {8, 15, 16, 24, 32, 2056};
  constexpr int kCount = 5000;  // more than one conversion chunk
  for (int from : formats) {
    for (int to : formats) {
      std::vector<std::uint8_t> in(kCount * BytesPerPixel(from));
      for (std::size_t i = 0; i < in.size(); ++i) in[i] = static_cast<std::uint8_t>(i * 7);
      std::vector<std::uint8_t> out(kCount * BytesPerPixel(to) + 1, 0xCC);
      ASSERT_TRUE(ConvertPixels(kCount, from, to, in.data(), out.data(), nullptr)) << from << ">" << to;
      EXPECT_EQ(out.back(), 0xCC) << "nothing past the line";
    }
  }
}

TEST(PixelConvertTest, ConvertingInPlaceGrowsTheLineCorrectly) {
  constexpr int kCount = 3000;
  std::vector<std::uint8_t> line(kCount * 4);
  for (int i = 0; i < kCount; ++i) line[i] = static_cast<std::uint8_t>(i);
  ASSERT_TRUE(ConvertPixels(kCount, 8, 32, line.data(), line.data(), nullptr));
  for (int i : {0, 1364, 1365, 2999}) {
    EXPECT_EQ(line[i * 4], static_cast<std::uint8_t>(i)) << i;
    EXPECT_EQ(line[i * 4 + 3], 0) << i;
  }
}

TEST(PixelConvertTest, UnknownFormatsWriteNothing) {
  std::uint8_t in[4] = {1, 2, 3, 4};
  std::uint8_t out[4] = {9, 9, 9, 9};
  EXPECT_FALSE(ConvertPixels(1, 12, 24, in, out, nullptr));
  EXPECT_FALSE(ConvertPixels(1, 24, 0, in, out, nullptr));
  EXPECT_FALSE(ConvertPixels(-1, 24, 24, in, out, nullptr));
  EXPECT_EQ(out[0], 9);
  EXPECT_TRUE(ConvertPixels(0, 24, 24, nullptr, nullptr, nullptr));
}

}  // namespace
}  // namespace orvale::korrin
