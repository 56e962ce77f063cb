#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/document/InMemoryBitmap.h"
#include "platform/gdi/Dib.h"

namespace orvale {
namespace {

TEST(InMemoryBitmapTest, HoldsHeaderGreyTableAndRowsBottomUp) {
  const std::vector<std::uint8_t> data{10, 11, 12, 20, 21, 22};
  std::vector<std::uint8_t> dib;
  std::int32_t headerBytes = 0;
  ASSERT_TRUE(GetDIBFromBuffer(data, 3, 2, false, dib, headerBytes));
  EXPECT_EQ(headerBytes, 1064);
  ASSERT_EQ(dib.size(), 1064u + 4 * 2);
  std::size_t bitsOffset = 0;
  const std::optional<gdi::BitmapInfo> info = gdi::ReadPackedDib(dib, bitsOffset);
  ASSERT_TRUE(info);
  EXPECT_EQ(bitsOffset, 1064u);
  EXPECT_EQ(info->header.biWidth, 3);
  EXPECT_EQ(info->header.biHeight, 2);
  EXPECT_EQ(info->header.biBitCount, 8);
  EXPECT_EQ(info->header.biSizeImage, 0u);
  for (std::size_t i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    ASSERT_EQ(info->colors[i], (gdi::RgbQuad{v, v, v, 0})) << i;
  }
  EXPECT_EQ(std::vector<std::uint8_t>(dib.begin() + 1064, dib.end()),
            (std::vector<std::uint8_t>{20, 21, 22, 0, 10, 11, 12, 0}));
}

TEST(InMemoryBitmapTest, AutoStretchSpreadsTheBytesInUse) {
  const std::vector<std::uint8_t> data{0, 40, 120, 200};
  std::vector<std::uint8_t> dib;
  std::int32_t headerBytes = 0;
  ASSERT_TRUE(GetDIBFromBuffer(data, 2, 2, true, dib, headerBytes));
  std::size_t bitsOffset = 0;
  const auto info = gdi::ReadPackedDib(dib, bitsOffset);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->colors[40], (gdi::RgbQuad{0, 0, 0, 0}));
  EXPECT_EQ(info->colors[120], (gdi::RgbQuad{127, 127, 127, 0}));
  EXPECT_EQ(info->colors[200], (gdi::RgbQuad{255, 255, 255, 0}));
}

TEST(InMemoryBitmapTest, RefusesABufferThatDoesNotHoldTheImage) {
  std::vector<std::uint8_t> dib{1};
  std::int32_t headerBytes = 0;
  const std::vector<std::uint8_t> blank{0};
  EXPECT_FALSE(GetDIBFromBuffer(blank, 640, 480, false, dib, headerBytes));
  EXPECT_FALSE(GetDIBFromBuffer(blank, 0, 1, false, dib, headerBytes));
  EXPECT_EQ(dib, std::vector<std::uint8_t>{1});
}

}  // namespace
}  // namespace orvale
