#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ZernikeTestSupport.h"
#include "app/analysis/VectorKernels.h"
#include "app/analysis/clsAnalysis.h"
#include "platform/runtime/Markers.h"

namespace orvale {
namespace {

TEST(PrimaryAberrations, FromCoefficients) {
  clsAnalysis analysis;
  const struct {
    int term;
    double value;
    int w;
    double magnitude;
    int wAngle;
    double angle;
  } cases[] = {
      {2, -0.5, 1, 0.5, 2, -90}, {1, -1, 1, 1, 2, 180},  {1, 0.25, 1, 0.25, 2, 0},
      {2, 0.5, 1, 0.5, 2, 90},   {5, 1, 4, 2, 5, 45},    {4, -1, 4, 2, 5, 90},
      {7, -0.1, 6, 0.3, 7, -90}, {8, 0.1, 8, 0.6, 0, 0}, {3, 0.25, 3, 0.5, 0, 0},
  };
  for (const auto& c : cases) {
    ZernikeVector a{};
    a[c.term] = c.value;
    AberrationVector w;
    w.fill(123.0);
    analysis.AToW(a, w);
    EXPECT_NEAR(w[c.w], c.magnitude, 1e-15) << "a(" << c.term << ") = " << c.value;
    if (c.wAngle != 0) {
      EXPECT_NEAR(w[c.wAngle], c.angle, 1e-12) << "a(" << c.term << ")";
    }
  }

  ZernikeVector a{};
  a[1] = 0.3;
  a[2] = -0.4;
  a[6] = -0.1;
  a[7] = 0.1;
  AberrationVector w;
  analysis.AToW(a, w);
  EXPECT_DOUBLE_EQ(w[1], 0.5);
  EXPECT_DOUBLE_EQ(w[2], std::atan2(-0.4, 0.3) * 57.29577951308238);
  EXPECT_DOUBLE_EQ(w[6], std::sqrt(0.18));
  EXPECT_NEAR(w[7], 135.0, 1e-12);
}

TEST(PrimaryAberrations, RemoveZeroesExactlyTheChosenTerms) {
  clsAnalysis analysis;
  ZernikeVector original;
  for (int k = 0; k <= 36; ++k) original[k] = k + 0.5;
  ZernikeVector a = original;
  analysis.Remove(false, false, false, false, false, a);
  EXPECT_EQ(a, original);

  const struct {
    bool tilt, focus, astig, coma, sphere;
    std::vector<int> zeroed;
  } cases[] = {
      {true, false, false, false, false, {1, 2}},
      {false, true, false, false, false, {3}},
      {false, false, true, false, false, {4, 5}},
      {false, false, false, true, false, {6, 7}},
      {false, false, false, false, true, {8}},
      {true, true, true, true, true, {1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (const auto& c : cases) {
    a = original;
    analysis.Remove(c.tilt, c.focus, c.astig, c.coma, c.sphere, a);
    ZernikeVector expected = original;
    for (int k : c.zeroed) expected[k] = 0.0;
    EXPECT_EQ(a, expected);
  }
}

class Wavefront : public ::testing::Test {
 protected:
  void SetUp() override { analysis_test::MakeCircularPupil(analysis_, 201, 201, 100, 100, 100); }
  clsAnalysis analysis_;
};

TEST_F(Wavefront, EvalZernikeSumsTheTerms) {
  ZernikeVector a{};
  a[1] = 2;
  a[3] = 0.5;
  a[36] = -1;
  const double x = 0.3, y = -0.6;
  const double expected =
      2 * x + 0.5 * (2 * (x * x + y * y) - 1) - analysis_test::DirectZernikeTerm(36, x, y);
  EXPECT_NEAR(analysis_.EvalZernike(x, y, a), expected, 1e-13);
  ZernikeVector terms;
  ZernikeTerms(x, y, terms);
  EXPECT_EQ(analysis_.EvalZernikeWithTerms(terms, a), analysis_.EvalZernike(x, y, a));
}

TEST_F(Wavefront, ConstantWavefrontHasNoSpread) {
  double rms = -1, strehl = -1, pv = -1;
  ASSERT_TRUE(analysis_.EvalAberrations(ZernikeVector{}, 100, 100, rms, strehl, pv));
  EXPECT_EQ(rms, 0.0);
  EXPECT_EQ(strehl, 1.0);
  EXPECT_EQ(pv, 0.0);
}

TEST_F(Wavefront, DefocusStatisticsMatchTheAnalyticValues) {
  // W = a (2 rho^2 - 1) over the unit disc: RMS a / sqrt(3), PV 2a.
  const double a3 = 0.1;
  ZernikeVector a{};
  a[3] = a3;
  double rms = 0, strehl = 0, pv = 0;
  ASSERT_TRUE(analysis_.EvalAberrations(a, 100, 100, rms, strehl, pv));
  EXPECT_NEAR(rms, a3 / std::sqrt(3.0), 0.01 * a3 / std::sqrt(3.0));
  EXPECT_DOUBLE_EQ(strehl, std::exp(-39.478417604357354 * rms * rms));
  EXPECT_NEAR(pv, 2 * a3, 0.02 * a3);
}

TEST_F(Wavefront, OneUsableSampleHasRmsZeroAndStrehlOne) {
  auto bytes = analysis_.MaskBytes();
  std::fill(bytes.begin(), bytes.end(), clsAnalysis::kMaskOutside);
  bytes[100 * 201 + 100] = clsAnalysis::kMaskPupil;  // only the centre sample of a 3 x 3 grid
  ZernikeVector a{};
  a[8] = 0.2;
  double rms = -1, strehl = -1, pv = -1;
  ASSERT_TRUE(analysis_.EvalAberrations(a, 3, 3, rms, strehl, pv));
  EXPECT_EQ(rms, 0.0);
  EXPECT_EQ(strehl, 1.0);
  EXPECT_EQ(pv, 0.0);

  // No usable sample at all: nothing to report, the results stay as they were.
  bytes[100 * 201 + 100] = clsAnalysis::kMaskObstruction;
  EXPECT_FALSE(analysis_.EvalAberrations(a, 3, 3, rms, strehl, pv));
  EXPECT_EQ(rms, 0.0);
  EXPECT_EQ(strehl, 1.0);
}

TEST_F(Wavefront, MissingPreconditionsLeaveResultsAlone) {
  double rms = 7, strehl = 7, pv = 7;
  EXPECT_FALSE(analysis_.EvalAberrations(ZernikeVector{}, 1, 100, rms, strehl, pv));
  std::vector<double> surface(9, 7.0), xs(5, 7.0), ys(5, 7.0);
  analysis_.EvalSurface(ZernikeVector{}, 3, 4, surface, false);  // array too small
  analysis_.EvalProfile(ZernikeVector{}, 0, 6, xs, ys);          // arrays too small
  analysis_.xScale = 0;
  EXPECT_FALSE(analysis_.EvalAberrations(ZernikeVector{}, 100, 100, rms, strehl, pv));
  analysis_.EvalSurface(ZernikeVector{}, 3, 3, surface, false);
  analysis_.EvalProfile(ZernikeVector{}, 0, 5, xs, ys);
  EXPECT_EQ(rms, 7);
  EXPECT_EQ(surface, std::vector<double>(9, 7.0));
  EXPECT_EQ(xs, std::vector<double>(5, 7.0));
  EXPECT_EQ(ys, std::vector<double>(5, 7.0));
}

TEST_F(Wavefront, ThreeByThreeMapBlanksTheCornersOfACircle) {
  ZernikeVector a{};
  a[1] = 1;    // x
  a[2] = 0.5;  // y: positive below the centre
  a[3] = 0.1;
  std::vector<double> surface(9, 0.0);
  analysis_.EvalSurface(a, 3, 3, surface, false);
  const double u[3] = {-1, 0, 1};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) {
      const double value = surface[j * 3 + i];
      if (i != 1 && j != 1)
        EXPECT_EQ(value, kBlankValue) << i << ", " << j;
      else
        EXPECT_EQ(value, analysis_.EvalZernike(u[i], u[j], a)) << i << ", " << j;
    }
  EXPECT_GT(surface[7], surface[1]);  // the larger image row is +y
}

TEST_F(Wavefront, MapValuesAreThoseOfEvalZernikeWithEitherKernel) {
  ZernikeVector a{};
  for (int k = 1; k <= 36; ++k) a[k] = std::sin(k * 1.7) / k;
  const int xpts = 37, ypts = 23;  // odd counts leave partial vectors in every row
  std::vector<double> wide(xpts * ypts), generic(xpts * ypts);
  analysis_.EvalSurface(a, xpts, ypts, wide, false);
  UseGenericKernels(true);
  analysis_.EvalSurface(a, xpts, ypts, generic, false);
  UseGenericKernels(false);
  EXPECT_EQ(wide, generic);
  int data = 0;
  for (int j = 0; j < ypts; ++j)
    for (int i = 0; i < xpts; ++i) {
      const double u = (i - 18.0) / 18.0, v = (j - 11.0) / 11.0;
      const double value = wide[j * xpts + i];
      if (u * u + v * v > 1.0) {
        EXPECT_EQ(value, kBlankValue) << i << ", " << j;
      } else if (u * u + v * v < 0.95) {
        EXPECT_EQ(value, analysis_.EvalZernike(u, v, a)) << i << ", " << j;
        ++data;
      }
    }
  EXPECT_GT(data, 500);
}

TEST_F(Wavefront, SyntheticFringesOfAFlatWavefrontAreDark) {
  std::vector<double> surface(25 * 25);
  analysis_.EvalSurface(ZernikeVector{}, 25, 25, surface, true);
  int blank = 0;
  for (double v : surface) {
    if (v == kBlankValue)
      ++blank;
    else
      EXPECT_EQ(v, 0.0);
  }
  EXPECT_GT(blank, 0);
  EXPECT_LT(blank, 25 * 25 / 2);

  ZernikeVector a{};
  a[3] = 0.25;  // half a wave at the edge, -0.25 at the centre
  analysis_.EvalSurface(a, 25, 25, surface, true);
  EXPECT_NEAR(surface[12 * 25 + 12], 1.0, 1e-12);  // 1 - cos(-pi/2)
}

TEST_F(Wavefront, ProfileRunsAcrossTheDiameterAndBlanksOutsideThePupil) {
  // The usable disc is 80 px while the scale says 100 px: |r| > 0.8 has no data.
  analysis_test::MakeCircularPupil(analysis_, 201, 201, 100, 100, 80);
  analysis_.xScale = analysis_.yScale = 1.0 / 100;
  ZernikeVector a{};
  a[2] = 1;
  const int pts = 41;
  std::vector<double> xs(pts), ys(pts);
  const double theta = 3.14159265358979 / 2;  // straight down the image
  analysis_.EvalProfile(a, theta, pts, xs, ys);
  EXPECT_EQ(xs.front(), -1.0);
  EXPECT_EQ(xs.back(), 1.0);
  EXPECT_EQ(xs[20], 0.0);
  for (int k = 0; k < pts; ++k) {
    if (std::fabs(xs[k]) > 0.81)
      EXPECT_EQ(ys[k], kBlankValue) << k;
    else
      EXPECT_NEAR(ys[k], xs[k], 1e-12) << k;  // W = y = r sin(theta)
  }
}

}  // namespace
}  // namespace orvale
