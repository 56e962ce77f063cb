#include <gtest/gtest.h>

#include <vector>

#include "app/analysis/ImageResample.h"

namespace orvale {
namespace {

std::vector<std::uint8_t> Gradient(std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> image(static_cast<std::size_t>(width) * height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      image[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(1 + (x * 200 / width + y * 50 / height));
    }
  }
  return image;
}

TEST(ImageResampleTest, StretchRatiosGiveTheExpectedSizesWithFilledEdges) {
  // The document stretches by a ratio r: x factor r and scale 1 for r > 1, otherwise
  // x factor r and scale 1 / r.
  struct Case {
    double ratio;
    std::int32_t width, height;
  };
  const std::int32_t w = 640, h = 480;
  const auto source = Gradient(w, h);
  for (const Case& c : {Case{2.0, 1280, 480}, Case{0.5, 640, 960}, Case{1.25, 800, 480}, Case{0.8, 640, 600}}) {
    const double scale = c.ratio > 1 ? 1 : 1 / c.ratio;
    std::int32_t nw = 0, nh = 0;
    ASSERT_TRUE(ResampledSize(w, h, c.ratio, scale, nw, nh));
    EXPECT_EQ(nw, c.width) << c.ratio;
    EXPECT_EQ(nh, c.height) << c.ratio;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(nw) * nh, 0);
    ResampleImage(source, out, c.ratio, scale, w, h);
    const auto at = [&](std::int32_t x, std::int32_t y) { return out[static_cast<std::size_t>(y) * nw + x]; };
    const auto src = [&](std::int32_t x, std::int32_t y) { return source[static_cast<std::size_t>(y) * w + x]; };
    // The corners are the source's corners; no pixel is left black.
    EXPECT_EQ(at(0, 0), src(0, 0)) << c.ratio;
    EXPECT_EQ(at(nw - 1, 0), src(w - 1, 0)) << c.ratio;
    EXPECT_EQ(at(0, nh - 1), src(0, h - 1)) << c.ratio;
    EXPECT_EQ(at(nw - 1, nh - 1), src(w - 1, h - 1)) << c.ratio;
    for (std::size_t i = 0; i < out.size(); ++i) ASSERT_NE(out[i], 0) << c.ratio << " at " << i;
  }
}

TEST(ImageResampleTest, DoublingTheWidthInterpolatesAndRepeatsTheLastColumn) {
  const std::vector<std::uint8_t> source{10, 20, 30, 41,
                                         50, 60, 70, 80};
  std::vector<std::uint8_t> out(16, 0);
  ResampleImage(source, out, 2.0, 1.0, 4, 2);
  // Half-way samples round halves to even: (30 + 41) / 2 = 35.5 -> 36, (10+20)/2 = 15.
  EXPECT_EQ(out, (std::vector<std::uint8_t>{10, 15, 20, 25, 30, 36, 41, 41,
                                            50, 55, 60, 65, 70, 75, 80, 80}));
}

TEST(ImageResampleTest, HalvesOfTheBlendRoundToEven) {
  // Scale 2 on a 2 x 2 image: the middle sample of 1 and 2 is 1.5 -> 2, of 3 and 4 is 3.5 -> 4,
  // and between those rows (2 + 4) / 2 = 3.
  const std::vector<std::uint8_t> source{1, 2, 3, 4};
  std::vector<std::uint8_t> out(16, 0);
  ResampleImage(source, out, 1.0, 2.0, 2, 2);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 2, 2,
                                            2, 3, 3, 3,
                                            3, 4, 4, 4,
                                            3, 4, 4, 4}));
}

TEST(ImageResampleTest, ScaleOneCopiesAndWrongSizesChangeNothing) {
  const std::vector<std::uint8_t> source{1, 2, 3, 4, 5, 6};
  std::vector<std::uint8_t> same(6, 0);
  ResampleImage(source, same, 1.0, 1.0, 3, 2);
  EXPECT_EQ(same, source);

  for (auto [xFactor, scale, size] : {std::tuple{1.0, 1.0, 5}, std::tuple{2.0, 1.0, 6}, std::tuple{2.0, 1.0, 13}}) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(size), 9);
    ResampleImage(source, out, xFactor, scale, 3, 2);
    EXPECT_EQ(out, std::vector<std::uint8_t>(static_cast<std::size_t>(size), 9)) << size;
  }
  std::vector<std::uint8_t> out(12, 9);
  ResampleImage(std::vector<std::uint8_t>(5, 1), out, 2.0, 1.0, 3, 2);  // source too small
  EXPECT_EQ(out, std::vector<std::uint8_t>(12, 9));
}

}  // namespace
}  // namespace orvale
