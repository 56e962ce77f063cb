#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "TraceTestSupport.h"
#include "ZernikeTestSupport.h"
#include "app/analysis/ImageResample.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

using analysis_test::AllFringes;
using analysis_test::FringePoints;
using analysis_test::Interferogram;
using analysis_test::MakeCircularPupil;
using analysis_test::TracedFringe;

constexpr int kSize = 512;
constexpr double kCentre = 255.5, kRadius = 240;

// Tilt across the fringes with defocus, astigmatism and coma: the wavefront rises
// steadily across the pupil, so the dark fringes run from edge to edge without closing.
ZernikeVector TiltedDefocused(int direction) {
  ZernikeVector a{};
  const int across = direction == 0 ? 2 : 1;
  const int along = direction == 0 ? 1 : 2;
  a[across] = 10.0;
  a[along] = 1.0;
  a[3] = 1.5;
  a[4] = direction == 0 ? -0.5 : 0.5;
  a[direction == 0 ? 7 : 6] = 0.3;
  return a;
}

struct Extent {
  double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
};
Extent ExtentOf(const std::vector<PointD>& points) {
  Extent e;
  for (const PointD& p : points) {
    e.left = std::min(e.left, p.x);
    e.right = std::max(e.right, p.x);
    e.top = std::min(e.top, p.y);
    e.bottom = std::max(e.bottom, p.y);
  }
  return e;
}

class AutoTraceTest : public ::testing::Test {
 protected:
  ZernikeVector FitTracedCentres() { return analysis_test::FitCentresByOrder(analysis_, fringes_); }

  std::vector<std::uint8_t> MaskCopy() const {
    const auto bytes = analysis_.MaskBytes();
    return {bytes.begin(), bytes.end()};
  }

  ScriptedMessageService messages_;
  ScopedMessageService scoped_{messages_};
  clsAnalysis analysis_;
  clsFringes fringes_;
};

struct PupilCase {
  const char* name;
  int direction;
  double obstruction;  // radius in pixels, 0 for none
};

class TraceRecovery : public AutoTraceTest, public ::testing::WithParamInterface<PupilCase> {};

TEST_P(TraceRecovery, FitOfTheTracedCentresRecoversTheWavefront) {
  const PupilCase& c = GetParam();
  const ZernikeVector truth = TiltedDefocused(c.direction);
  const auto image = Interferogram(kSize, kSize, kCentre, kCentre, kRadius, truth);
  MakeCircularPupil(analysis_, kSize, kSize, kCentre, kCentre, kRadius, c.obstruction);
  const std::vector<std::uint8_t> mask = MaskCopy();

  analysis_.AutoTrace(fringes_, image, kSize, kSize, c.direction, 3);

  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_EQ(MaskCopy(), mask);
  ASSERT_GE(fringes_.NumFringes(), 15);
  // Orders 1..n, one a fringe, from the left (vertical fringes) or from the top.
  std::vector<Extent> byOrder(static_cast<std::size_t>(fringes_.NumFringes()) + 1);
  for (std::int32_t i = 1; i <= fringes_.NumFringes(); ++i) {
    const std::int32_t order = fringes_.GetFringeOrder(i);
    ASSERT_GE(order, 1);
    ASSERT_LE(order, fringes_.NumFringes());
    byOrder[static_cast<std::size_t>(order)] = ExtentOf(FringePoints(fringes_, i));
  }
  for (std::size_t k = 2; k < byOrder.size(); ++k) {
    if (c.direction == 0)
      EXPECT_LT(byOrder[k - 1].top, byOrder[k].top) << "order " << k;
    else
      EXPECT_LT(byOrder[k - 1].left, byOrder[k].left) << "order " << k;
  }
  const ZernikeVector fit = FitTracedCentres();
  for (int k = 1; k <= 8; ++k) EXPECT_NEAR(fit[k], truth[k], 0.05) << "term " << k;

  if (c.obstruction > 0) {
    // The halves on either side of the obstruction came back as one fringe each.
    clsAnalysis clear;
    MakeCircularPupil(clear, kSize, kSize, kCentre, kCentre, kRadius);
    clsFringes unobstructed;
    clear.AutoTrace(unobstructed, image, kSize, kSize, c.direction, 3);
    EXPECT_EQ(fringes_.NumFringes(), unobstructed.NumFringes());
  }
}

INSTANTIATE_TEST_SUITE_P(Pupils, TraceRecovery,
                         ::testing::Values(PupilCase{"VerticalFringes", 1, 0},
                                           PupilCase{"HorizontalFringes", 0, 0},
                                           PupilCase{"VerticalObstructed", 1, 72},
                                           PupilCase{"HorizontalObstructed", 0, 72}),
                         [](const auto& info) { return std::string(info.param.name); });

// With Direction 0 the tracer works on the transposed image and mask: the result is the
// vertical trace of the transposed picture, swapped back, and the mask is untouched.
TEST_F(AutoTraceTest, HorizontalFringesComeBackInTheImagesOrientation) {
  constexpr int kWidth = 480, kHeight = 400;
  const ZernikeVector truth = TiltedDefocused(0);
  const auto image = Interferogram(kWidth, kHeight, 240, 200, 190, truth);
  MakeCircularPupil(analysis_, kWidth, kHeight, 240, 200, 190, 50);
  const std::vector<std::uint8_t> mask = MaskCopy();
  analysis_.AutoTrace(fringes_, image, kWidth, kHeight, 0, 2);
  EXPECT_EQ(analysis_.MaskWidth(), kWidth);
  EXPECT_EQ(analysis_.MaskHeight(), kHeight);
  EXPECT_EQ(MaskCopy(), mask);

  clsAnalysis turned;
  MakeCircularPupil(turned, kHeight, kWidth, 200, 240, 190, 50);
  clsFringes expected;
  turned.AutoTrace(expected, analysis_test::Transposed(image, kWidth, kHeight), kHeight, kWidth, 1,
                   2);
  expected.TransposeAll();
  ASSERT_GE(expected.NumFringes(), 15);
  EXPECT_EQ(AllFringes(fringes_), AllFringes(expected));
}

// Images below 350 pixels are traced on a mask of twice their size; the points come
// back in image pixels: exactly half those of tracing the doubled image itself.
TEST_F(AutoTraceTest, SmallImagesAreTracedAtTwiceTheirSize) {
  constexpr int kWidth = 300, kHeight = 240;
  const ZernikeVector truth = TiltedDefocused(1);
  const auto image = Interferogram(kWidth, kHeight, 150, 120, 110, truth);
  MakeCircularPupil(analysis_, 2 * kWidth, 2 * kHeight, 300, 240, 220);
  analysis_.MaskDoubleSize = true;
  const std::vector<std::uint8_t> mask = MaskCopy();
  analysis_.AutoTrace(fringes_, image, kWidth, kHeight, 1, 3);
  EXPECT_TRUE(analysis_.MaskDoubleSize);
  EXPECT_EQ(MaskCopy(), mask);

  std::vector<std::uint8_t> doubled(static_cast<std::size_t>(4 * kWidth * kHeight));
  ResampleImage(image, doubled, 1.0, 2.0, kWidth, kHeight);
  clsAnalysis large;
  MakeCircularPupil(large, 2 * kWidth, 2 * kHeight, 300, 240, 220);
  clsFringes expected;
  large.AutoTrace(expected, doubled, 2 * kWidth, 2 * kHeight, 1, 3);
  expected.HalfFringeData();
  ASSERT_GE(expected.NumFringes(), 15);
  EXPECT_EQ(AllFringes(fringes_), AllFringes(expected));

  // The fit works at the image's size.
  MakeCircularPupil(analysis_, kWidth, kHeight, 150, 120, 110);
  const ZernikeVector fit = FitTracedCentres();
  for (int k = 1; k <= 8; ++k) EXPECT_NEAR(fit[k], truth[k], 0.05) << "term " << k;
}

TEST_F(AutoTraceTest, WithoutAMaskOfTheImagesSizeNothingHappens) {
  const auto image = Interferogram(100, 80, 50, 40, 35, TiltedDefocused(1));
  struct Case {
    const char* name;
    int maskWidth, maskHeight;
    bool doubled;
    std::size_t bufferSize;
  } cases[] = {
      {"no mask", 0, 0, false, image.size()},
      {"other size", 100, 81, false, image.size()},
      {"single size marked double", 100, 80, true, image.size()},
      {"double size not marked", 200, 160, false, image.size()},
      {"short buffer", 100, 80, false, image.size() - 1},
  };
  for (const Case& c : cases) {
    clsAnalysis analysis;
    if (c.maskWidth > 0) MakeCircularPupil(analysis, c.maskWidth, c.maskHeight, 50, 40, 35);
    analysis.MaskDoubleSize = c.doubled;
    clsFringes store;
    std::int32_t index = store.AddOrder(5);
    store.AddCenter(5, 1.5, 2.5, index);
    const auto before = AllFringes(store);
    analysis.AutoTrace(store, std::span(image).first(c.bufferSize), 100, 80, 1, 3);
    EXPECT_EQ(AllFringes(store), before) << c.name;
  }
}

// An unknown density on an object that has never been given parameters traces at
// level 3 instead of seeding with a row spacing of 0, which would never end.
TEST_F(AutoTraceTest, UnknownDensityBeforeAnyParametersTracesAtLevelThree) {
  const auto image = Interferogram(kSize, kSize, kCentre, kCentre, kRadius, TiltedDefocused(1));
  EXPECT_EQ(analysis_.GetAutoTraceParameters(), AutoTraceParameters{});
  MakeCircularPupil(analysis_, kSize, kSize, kCentre, kCentre, kRadius);
  analysis_.AutoTrace(fringes_, image, kSize, kSize, 1, 0);
  EXPECT_EQ(analysis_.GetAutoTraceParameters(), *AutoTraceParametersForDensity(3));

  clsAnalysis level3;
  MakeCircularPupil(level3, kSize, kSize, kCentre, kCentre, kRadius);
  clsFringes expected;
  level3.AutoTrace(expected, image, kSize, kSize, 1, 3);
  ASSERT_GT(expected.NumFringes(), 0);
  EXPECT_EQ(AllFringes(fringes_), AllFringes(expected));
}

TEST(AutoTraceParametersTest, UnknownDensityKeepsTheLoadedLevel) {
  clsAnalysis fresh;
  fresh.SetAutoTraceParameters(5);
  EXPECT_EQ(fresh.GetAutoTraceParameters(), *AutoTraceParametersForDensity(3));

  clsAnalysis analysis;
  analysis.SetAutoTraceParameters(4);
  const AutoTraceParameters sparse = analysis.GetAutoTraceParameters();
  EXPECT_EQ(sparse.Step, 12);
  EXPECT_EQ(sparse.MinimumDistanceSquared, 256);
  EXPECT_EQ(sparse.NearRadius, 6.0);
  EXPECT_EQ(sparse.StopRadius, 12.0);
  EXPECT_EQ(sparse.RowSpacing, 25);
  for (int density : {0, 5, -1}) {
    analysis.SetAutoTraceParameters(density);
    EXPECT_EQ(analysis.GetAutoTraceParameters(), sparse) << density;
  }
  analysis.SetAutoTraceParameters(1);
  EXPECT_EQ(analysis.GetAutoTraceParameters().Step, 4);
}

// Test pictures of straight dark bands on a flat background, in a rectangular pupil.
class BandTraceTest : public AutoTraceTest {
 protected:
  struct Band {
    int x0, x1;  // columns, inclusive
    std::uint8_t value;
  };

  void Picture(int width, int height, std::uint8_t background, std::initializer_list<Band> bands) {
    width_ = width;
    height_ = height;
    image_.assign(static_cast<std::size_t>(width) * height, background);
    for (int y = 0; y < height; ++y)
      for (const Band& b : bands)
        for (int x = b.x0; x <= b.x1; ++x) Pixel(x, y) = b.value;
  }
  std::uint8_t& Pixel(int x, int y) { return image_[static_cast<std::size_t>(y) * width_ + x]; }

  // Usable pupil over columns x0..x1 and rows y0..y1.
  void Pupil(int x0, int y0, int x1, int y1) {
    ASSERT_TRUE(analysis_.CreateMask(width_, height_));
    auto bytes = analysis_.MaskBytes();
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) bytes[static_cast<std::size_t>(y) * width_ + x] = 1;
  }

  void Trace(int density) { analysis_.AutoTrace(fringes_, image_, width_, height_, 1, density); }

  int width_ = 0, height_ = 0;
  std::vector<std::uint8_t> image_;
};

// A dip counts once six usable pixels after it are brighter by more than 5.
TEST_F(BandTraceTest, ShallowOrShortDipsAreNoFringes) {
  struct Case {
    std::uint8_t dip;
    int lastColumn;  // of the pupil; the band ends at column 40
    int fringes;
  } cases[] = {
      {95, 70, 0},  // 5 below the background: never brighter by more than 5
      {94, 70, 1},
      {94, 47, 1},  // six full-background pixels after the band's smoothed edge
      {94, 46, 0},  // five
  };
  for (const Case& c : cases) {
    Picture(80, 120, 100, {{34, 40, c.dip}});
    Pupil(10, 10, c.lastColumn, 110);
    Trace(1);
    EXPECT_EQ(fringes_.NumFringes(), c.fringes) << int(c.dip) << " to column " << c.lastColumn;
  }
}

// At level 1 a vertical fringe seeded on row 20 gets a point every 6 rows: one above
// the seed within a pupil from row 10, and as many below as the pupil's height allows.
TEST_F(BandTraceTest, FringesOfFewerThanEightPointsAreDropped) {
  for (const auto& [lastRow, points] : {std::pair{54, 0}, std::pair{60, 8}, std::pair{66, 9}}) {
    Picture(80, 80, 200, {{39, 41, 20}});
    Pupil(10, 10, 70, lastRow);
    Trace(1);
    if (points == 0) {
      EXPECT_EQ(fringes_.NumFringes(), 0) << lastRow;
      continue;
    }
    ASSERT_EQ(fringes_.NumFringes(), 1) << lastRow;
    const auto traced = FringePoints(fringes_, 1);
    EXPECT_EQ(static_cast<int>(traced.size()), points) << lastRow;
    for (const PointD& p : traced) EXPECT_EQ(p.x, 40);
  }
}

TEST_F(BandTraceTest, FringeEndsAtFourThousandPoints) {
  Picture(40, 24100, 200, {{19, 21, 20}});
  Pupil(5, 5, 35, 24094);
  Trace(1);
  ASSERT_GE(fringes_.NumFringes(), 1);
  std::int32_t record = 1;
  EXPECT_EQ(fringes_.GetNumTicks(kNoOrder, record), kMaxFringeTicks);
}

// A fringe that runs towards an earlier one ends where it comes within the stop radius.
TEST_F(BandTraceTest, FringeStopsNearAnEarlierFringe) {
  Picture(170, 120, 200, {{39, 41, 20}});
  for (int y = 0; y < 120; ++y)
    for (int x = 127 - y; x <= 133 - y; ++x)
      if (x >= 0) Pixel(x, y) = 20;
  Pupil(10, 5, 160, 115);
  Trace(1);
  // The straight fringe, its approaching neighbour (seeded at x 110 on row 20) and what
  // lies beyond the crossing.
  const auto fringes = AllFringes(fringes_);
  const auto approaching = std::find_if(fringes.begin(), fringes.end(), [](const TracedFringe& f) {
    return std::find(f.points.begin(), f.points.end(), std::pair{110.0, 20.0}) != f.points.end();
  });
  ASSERT_NE(approaching, fringes.end());
  double lowest = 0;
  for (const auto& [x, y] : approaching->points) {
    EXPECT_GT(x - 40, 10) << "point at " << x << ", " << y;
    lowest = std::max(lowest, y);
  }
  EXPECT_GE(lowest, 70);  // it went on until it met the stop radius
}

// Straight fringes, the same on every scan row. Once a minimum is accepted, six
// brighter pixels on, the search for the next peak starts afresh; with a period of 13
// pixels that is already past the peak on every fourth fringe, so the falling count
// cannot reach six before the next dip, which is passed over on every row and never
// traced. From a period of 14 pixels every dip is seeded.
TEST_F(BandTraceTest, SeedingPassesOverDipsOfFringesCloserThanFourteenPixels) {
  for (const int period : {13, 14}) {
    width_ = 200;
    height_ = 160;
    image_.resize(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        Pixel(x, y) = static_cast<std::uint8_t>(
            std::lround(128 + 100 * std::cos(2 * M_PI * (x + 0.5) / period)));
    Pupil(5, 5, 194, 154);
    Trace(3);

    std::vector<double> seeds;  // the first point of a fringe is its seed
    for (std::int32_t i = 1; i <= fringes_.NumFringes(); ++i)
      seeds.push_back(FringePoints(fringes_, i).front().x);
    std::sort(seeds.begin(), seeds.end());
    ASSERT_GE(seeds.size(), 10u) << period;
    std::vector<double> gaps;
    for (std::size_t i = 1; i < seeds.size(); ++i) gaps.push_back(seeds[i] - seeds[i - 1]);
    if (period == 14) {
      EXPECT_EQ(gaps, std::vector<double>(gaps.size(), 14.0));
    } else {
      // Three fringes found, the fourth passed over.
      for (std::size_t i = 0; i < gaps.size(); ++i)
        EXPECT_EQ(gaps[i], i % 3 == 2 ? 26.0 : 13.0) << "gap " << i;
    }
  }
}

// 212 fringes across a small image: the store fills up at 200.
class FullStoreTraceTest : public AutoTraceTest {
 protected:
  static constexpr int kWidth = 40, kHeight = 1700;

  void SetUp() override {
    // Horizontal fringes every 8 rows, dark on rows 4, 12, ...; the pupil is doubled.
    image_.resize(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        image_[static_cast<std::size_t>(y) * kWidth + x] =
            static_cast<std::uint8_t>(std::lround(128 + 100 * std::cos(2 * M_PI * y / 8)));
    ASSERT_TRUE(analysis_.CreateMask(2 * kWidth, 2 * kHeight));
    auto bytes = analysis_.MaskBytes();
    for (int y = 4; y < 2 * kHeight - 4; ++y)
      for (int x = 4; x < 2 * kWidth - 4; ++x)
        bytes[static_cast<std::size_t>(y) * 2 * kWidth + x] = 1;
    analysis_.MaskDoubleSize = true;
    mask_ = MaskCopy();
  }

  // Every fringe lies along one dark row of the image, in image pixels.
  void ExpectImagePixels() {
    for (std::int32_t i = 1; i <= fringes_.NumFringes(); ++i) {
      const Extent e = ExtentOf(FringePoints(fringes_, i));
      EXPECT_GE(e.left, 0);
      EXPECT_LT(e.right, kWidth);
      EXPECT_GT(e.right - e.left, 10);
      EXPECT_LE(e.bottom - e.top, 1.0) << "fringe " << i;
      EXPECT_NEAR(std::fmod(e.top, 8.0), 4.0, 1.0) << "fringe " << i;
    }
  }

  std::vector<std::uint8_t> image_, mask_;
};

TEST_F(FullStoreTraceTest, AFullStoreEndsTheSeedingAndKeepsWhatWasFound) {
  analysis_.AutoTrace(fringes_, image_, kWidth, kHeight, 0, 1);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Too many fringes");
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
  ASSERT_EQ(fringes_.NumFringes(), kMaxFringes);
  ExpectImagePixels();
  // Numbered from the top.
  double previous = -1;
  for (std::int32_t order = 1; order <= kMaxFringes; ++order) {
    const std::int32_t index = fringes_.GetFringeIndex(order);
    ASSERT_NE(index, kNoOrder) << order;
    const double top = ExtentOf(FringePoints(fringes_, index)).top;
    EXPECT_GT(top, previous) << order;
    previous = top;
  }
  EXPECT_EQ(MaskCopy(), mask_);
}

// Whatever ends the trace, the store comes back in image pixels and orientation and
// the mask as it was: here the memory runs out at the full store's message.
TEST_F(FullStoreTraceTest, AFailureInsideTheTraceStillRestoresTheImageFrame) {
  class FailingAtFullStore final : public MessageService {
   public:
    int MessageBox(WindowHandle, const std::string& text, const std::string& title,
                   std::uint32_t) override {
      if (text == "Too many fringes") throw std::bad_alloc();
      shown.push_back(title + ": " + text);
      return idbutton::kOk;
    }
    std::vector<std::string> shown;
  } failing;
  ScopedMessageService scoped(failing);
  analysis_.AutoTrace(fringes_, image_, kWidth, kHeight, 0, 1);
  EXPECT_EQ(failing.shown, std::vector<std::string>{"Error: Out of memory"});
  EXPECT_EQ(fringes_.NumFringes(), kMaxFringes);
  ExpectImagePixels();
  EXPECT_EQ(MaskCopy(), mask_);
  EXPECT_EQ(analysis_.MaskWidth(), 2 * kWidth);
  EXPECT_TRUE(analysis_.MaskDoubleSize);
}

}  // namespace
}  // namespace orvale
