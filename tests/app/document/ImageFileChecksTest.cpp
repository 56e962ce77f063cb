#include <gtest/gtest.h>

#include <vector>

#include "DocumentTestSupport.h"
#include "app/document/ImageFileChecks.h"

namespace orvale {
namespace {

using testing::BmpSpec;
using testing::MakeBmp;

TEST(ImageFileChecksTest, BitmapHeadersMustFitTheFile) {
  const BmpSpec spec{4, 3, 24, 0, {}, {}, false, std::vector<std::vector<std::uint8_t>>(3, std::vector<std::uint8_t>(12, 1))};
  const auto whole = MakeBmp(spec);
  EXPECT_TRUE(BitmapFileIsPlausible(whole));

  auto cut = whole;
  cut.pop_back();
  EXPECT_FALSE(BitmapFileIsPlausible(cut));

  // A 100000 x 100000 header in a 200-byte file, before anything is allocated for it.
  auto absurd = whole;
  absurd[18] = 0xA0, absurd[19] = 0x86, absurd[20] = 0x01, absurd[21] = 0;
  absurd[22] = 0xA0, absurd[23] = 0x86, absurd[24] = 0x01, absurd[25] = 0;
  absurd.resize(200, 0);
  EXPECT_FALSE(BitmapFileIsPlausible(absurd));
  // The same size with run-length coding: more pixels than the program can address.
  absurd[30] = 1;
  EXPECT_FALSE(BitmapFileIsPlausible(absurd));

  auto noWidth = whole;
  noWidth[18] = 0;
  EXPECT_FALSE(BitmapFileIsPlausible(noWidth));
}

TEST(ImageFileChecksTest, JpegMustReachItsEndMarker) {
  // Start of image, a comment segment holding an end marker, a scan whose data holds a
  // stuffed 0xFF and a restart marker, then the end of image and trailing bytes.
  const std::vector<std::uint8_t> whole{0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x04, 0xFF, 0xD9,
                                        0xFF, 0xDA, 0x00, 0x02, 0x12, 0xFF, 0x00, 0x34,
                                        0xFF, 0xD0, 0x56, 0xFF, 0xD9, 0x00, 0x00};
  EXPECT_TRUE(JpegIsComplete(whole));
  for (std::size_t size : {2u, 8u, 12u, 16u, 19u}) {
    EXPECT_FALSE(JpegIsComplete(std::vector<std::uint8_t>(whole.begin(), whole.begin() + size))) << size;
  }
}

}  // namespace
}  // namespace orvale
