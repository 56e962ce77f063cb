#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "ZernikeTestSupport.h"
#include "app/analysis/VectorKernels.h"
#include "app/analysis/clsAnalysis.h"

namespace orvale {
namespace {

struct FitPoints {
  std::vector<double> X, Y, z;
  void Add(double x, double y, double value) {
    X.push_back(x);
    Y.push_back(y);
    z.push_back(value);
  }
  std::int32_t Count() const { return static_cast<std::int32_t>(X.size()); }
};

struct FitResult {
  std::int32_t points = 0;
  std::int32_t terms = 0;
  ZernikeVector coefficients{};
};

class ZernikeFit : public ::testing::Test {
 protected:
  static constexpr double kCx = 120, kCy = 110, kRadius = 100;

  void SetUp() override {
    analysis_test::MakeCircularPupil(analysis_, 241, 221, kCx, kCy, kRadius);
  }

  FitResult Fit(const FitPoints& points, std::int32_t terms) {
    FitResult result;
    result.points = points.Count();
    result.terms = terms;
    result.coefficients.fill(99.0);  // must not survive
    analysis_.FitFringeCenters(result.points, points.X, points.Y, points.z, result.terms,
                               result.coefficients);
    return result;
  }

  double PupilX(double X) const { return (X - kCx) / kRadius; }
  double PupilY(double Y) const { return (Y - kCy) / kRadius; }

  // n points spread over the usable pupil with z = the wavefront of `coefficients`
  // plus an offset and some noise.
  FitPoints RandomWavefrontPoints(int n, const ZernikeVector& coefficients, double noise,
                                  unsigned seed = 1) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::normal_distribution<double> gauss(0.0, noise > 0 ? noise : 1.0);
    FitPoints points;
    while (points.Count() < n) {
      const double X = kCx + unit(random) * kRadius, Y = kCy + unit(random) * kRadius;
      const int column = static_cast<int>(std::nearbyint(X)),
                row = static_cast<int>(std::nearbyint(Y));
      if (analysis_.MaskAt(column, row) != clsAnalysis::kMaskPupil) continue;
      double value = 0.3;
      for (int k = 1; k <= kZernikeTermCount; ++k)
        value += coefficients[k] * analysis_test::DirectZernikeTerm(k, PupilX(X), PupilY(Y));
      if (noise > 0) value += gauss(random);
      points.Add(X, Y, value);
    }
    return points;
  }

  // The least-squares coefficients of z on a constant and the first `terms` terms.
  std::vector<double> ReferenceFit(const FitPoints& points, int terms) {
    const int cols = terms + 1;
    std::vector<double> a;
    for (int i = 0; i < points.Count(); ++i) {
      a.push_back(1.0);
      for (int k = 1; k <= terms; ++k)
        a.push_back(analysis_test::DirectZernikeTerm(k, PupilX(points.X[i]), PupilY(points.Y[i])));
    }
    return analysis_test::LeastSquaresQR(a, points.z, points.Count(), cols);
  }

  static ZernikeVector SomeCoefficients(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> magnitude(0.1, 1.0);
    ZernikeVector a{};
    for (int k = 1; k <= kZernikeTermCount; ++k)
      a[k] = (random() % 2 ? 1 : -1) * magnitude(random) / (1 + k / 8);
    return a;
  }

  clsAnalysis analysis_;
};

TEST_F(ZernikeFit, AgreesWithAnIndependentLeastSquaresSolution) {
  const ZernikeVector truth = SomeCoefficients(3);
  const FitPoints points = RandomWavefrontPoints(600, truth, 0.01);
  for (int terms : {2, 8, 15, 24}) {
    const FitResult fit = Fit(points, terms);
    ASSERT_EQ(fit.terms, terms);
    EXPECT_EQ(fit.points, 600);
    const std::vector<double> reference = ReferenceFit(points, terms);
    for (int k = 1; k <= terms; ++k)
      EXPECT_NEAR(fit.coefficients[k], reference[k], 1e-12 * std::fabs(reference[k]))
          << terms << " terms, coefficient " << k;
    for (int k = terms + 1; k <= kZernikeTermCount; ++k) EXPECT_EQ(fit.coefficients[k], 0.0);
  }
  const FitResult fit = Fit(points, 36);
  ASSERT_EQ(fit.terms, 36);
  const std::vector<double> reference = ReferenceFit(points, 36);
  double largest = 0;
  for (int k = 1; k <= 36; ++k) largest = std::max(largest, std::fabs(reference[k]));
  for (int k = 1; k <= 36; ++k)
    EXPECT_NEAR(fit.coefficients[k], reference[k], 1e-9 * largest) << "coefficient " << k;
}

TEST_F(ZernikeFit, RecoversKnownCoefficientsOnAnObstructedPupil) {
  analysis_test::MakeCircularPupil(analysis_, 241, 221, kCx, kCy, kRadius, 30);
  const ZernikeVector truth = SomeCoefficients(11);
  const FitPoints points = RandomWavefrontPoints(3000, truth, 0.0, 5);
  const FitResult fit = Fit(points, 0);
  ASSERT_EQ(fit.terms, 36);
  EXPECT_EQ(fit.points, 3000);
  for (int k = 1; k <= 36; ++k) EXPECT_NEAR(fit.coefficients[k], truth[k], 1e-9) << k;
}

TEST_F(ZernikeFit, ChoosesTheTermCountFromThePointCount) {
  const ZernikeVector truth = SomeCoefficients(4);
  const struct {
    int points, terms;
  } cases[] = {{4, 2},   {5, 0},   {25, 8},  {26, 15}, {40, 15},
               {41, 24}, {70, 24}, {71, 36}, {400, 36}};
  for (const auto& c : cases) {
    const FitResult fit = Fit(RandomWavefrontPoints(c.points, truth, 0.01, c.points), 0);
    EXPECT_EQ(fit.terms, c.terms) << c.points << " points";
  }
}

TEST_F(ZernikeFit, CapsTheTermsOfAPolygonThatFillsLittleOfItsCircle) {
  // Enclosing circle of radius 100 px: round(pi * 100^2) = 31416 pixels; usable pupil
  // 30 % of that.
  auto bytes = analysis_.MaskBytes();
  std::fill(bytes.begin(), bytes.end(), clsAnalysis::kMaskOutside);
  int filled = 0;
  for (int y = 40; y < 221 && filled < 9425; ++y)
    for (int x = 60; x < 180 && filled < 9425; ++x, ++filled) bytes[y * 241 + x] = 1;
  analysis_.SetApertureShapeType(3);
  const FitPoints points = RandomWavefrontPoints(800, SomeCoefficients(2), 0.01);
  EXPECT_EQ(Fit(points, 36).terms, 15);
  EXPECT_EQ(Fit(points, 0).terms, 15);
  EXPECT_EQ(Fit(points, 8).terms, 8);
  analysis_.SetApertureShapeType(1);
  EXPECT_EQ(Fit(points, 36).terms, 36);
}

TEST_F(ZernikeFit, CountsOnlyPointsOnUsablePupil) {
  analysis_test::MakeCircularPupil(analysis_, 241, 221, kCx, kCy, kRadius, 20);
  FitPoints points = RandomWavefrontPoints(200, SomeCoefficients(6), 0.01);
  const FitResult clean = Fit(points, 8);
  points.Add(kCx, kCy, 50.0);             // obstruction
  points.Add(kCx + 10.4, kCy - 5, 50.0);  // obstruction
  points.Add(5, 5, 50.0);                 // outside the aperture, inside the image
  points.Add(-3, kCy, 50.0);              // left of the image
  points.Add(kCx, 221.4, 50.0);           // below the image
  const FitResult fit = Fit(points, 8);
  EXPECT_EQ(fit.points, 200);
  EXPECT_EQ(fit.coefficients, clean.coefficients);
}

TEST_F(ZernikeFit, SkipsCoordinatesThatAreNoPixel) {
  FitPoints points = RandomWavefrontPoints(100, SomeCoefficients(8), 0.01);
  const FitResult clean = Fit(points, 8);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  points.Add(1E+308, kCy, 1.0);
  points.Add(kCx, 1E+308, 1.0);
  points.Add(nan, kCy, 1.0);
  points.Add(kCx, -inf, 1.0);
  points.Add(kCx + 3, kCy + 3, nan);
  const FitResult fit = Fit(points, 8);
  EXPECT_EQ(fit.points, 100);
  EXPECT_EQ(fit.terms, 8);
  EXPECT_EQ(fit.coefficients, clean.coefficients);
}

TEST_F(ZernikeFit, PointsOnTheCentreRowCarryOnlyTheXSlope) {
  FitPoints points;
  for (int i = -40; i <= 40; i += 4) points.Add(kCx + i, kCy, 0.7 * PupilX(kCx + i) + 0.2);
  FitResult fit = Fit(points, 1);
  EXPECT_EQ(fit.terms, 1);
  EXPECT_NEAR(fit.coefficients[1], 0.7, 1e-12);
  for (int terms : {2, 8, 0}) {
    fit = Fit(points, terms);
    EXPECT_EQ(fit.terms, 0) << terms;
    EXPECT_EQ(fit.coefficients, ZernikeVector{}) << terms;
    EXPECT_EQ(fit.points, points.Count());
  }
}

TEST_F(ZernikeFit, PointsOnTheCentreColumnGiveNoFit) {
  FitPoints points;
  for (int i = -40; i <= 40; i += 4) points.Add(kCx, kCy + i, 0.5 * i);
  for (int terms : {1, 2, 0}) {
    const FitResult fit = Fit(points, terms);
    EXPECT_EQ(fit.terms, 0);
    EXPECT_EQ(fit.coefficients, ZernikeVector{});
  }
}

TEST_F(ZernikeFit, TooLittleDataGivesNoFitRatherThanNoise) {
  const ZernikeVector truth = SomeCoefficients(9);
  // Five to eight points cannot carry 8 terms and a constant.
  for (int n = 5; n <= 8; ++n) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
      const FitResult fit = Fit(RandomWavefrontPoints(n, truth, 0.01, seed * 100 + n), 0);
      EXPECT_EQ(fit.terms, 0) << n << " points, seed " << seed;
      EXPECT_EQ(fit.coefficients, ZernikeVector{});
      EXPECT_EQ(fit.points, n);
    }
  }
  // Nine points determine 8 terms and the constant exactly.
  const FitPoints nine = RandomWavefrontPoints(9, truth, 0.0, 3);
  EXPECT_EQ(Fit(nine, 8).terms, 8);
}

TEST_F(ZernikeFit, CollinearPointsGiveNoFitBeyondOneTerm) {
  // Points on a sloping line: y is an affine function of x, so every term past the
  // first depends on the ones before.
  FitPoints points;
  for (int i = 0; i < 300; ++i) {
    const double X = kCx - 70 + i * 0.47;
    const double Y = kCy - 20 + (X - kCx) * 0.3;
    points.Add(X, Y, std::sin(PupilX(X) * 3));
  }
  for (int terms : {2, 3, 8, 15, 24, 36, 0}) {
    const FitResult fit = Fit(points, terms);
    EXPECT_EQ(fit.terms, 0) << terms;
    EXPECT_EQ(fit.coefficients, ZernikeVector{}) << terms;
  }
  const FitResult slope = Fit(points, 1);
  EXPECT_EQ(slope.terms, 1);
  EXPECT_TRUE(std::isfinite(slope.coefficients[1]));
}

TEST_F(ZernikeFit, ThreeStraightFringesCarryNineTerms) {
  // A cubic vanishes on three lines, so with the constant the ten polynomials of degree
  // up to 3 (terms 1-7, 9 and 10) are dependent on such points: term 10 is the first
  // that the data cannot carry.
  FitPoints points;
  for (int line = 0; line < 3; ++line)
    for (int i = 0; i <= 1000; ++i) {
      const double x = -0.9 + 1.8 * i / 1000;
      const double y = -0.6 + 0.6 * line + 0.05 * x;
      points.Add(kCx + x * kRadius, kCy + y * kRadius, line + 0.3 * x * x);
    }
  for (int terms : {1, 5, 8, 9}) EXPECT_EQ(Fit(points, terms).terms, terms);
  for (int terms : {10, 15, 36}) {
    const FitResult fit = Fit(points, terms);
    EXPECT_EQ(fit.terms, 0) << terms;
    EXPECT_EQ(fit.coefficients, ZernikeVector{}) << terms;
  }
}

TEST_F(ZernikeFit, NothingToFitReportsNoTerms) {
  FitPoints three;
  three.Add(kCx, kCy, 1);
  three.Add(kCx + 10, kCy, 2);
  three.Add(kCx, kCy + 10, 3);
  FitResult fit = Fit(three, 8);
  EXPECT_EQ(fit.terms, 0);
  EXPECT_EQ(fit.points, 3);
  EXPECT_EQ(fit.coefficients, ZernikeVector{});

  // Points that all miss the pupil.
  FitPoints outside;
  for (int i = 0; i < 30; ++i) outside.Add(2 + i % 5, 3, i);
  fit = Fit(outside, 8);
  EXPECT_EQ(fit.terms, 0);
  EXPECT_EQ(fit.points, 0);

  const FitPoints points = RandomWavefrontPoints(50, SomeCoefficients(1), 0.01);
  clsAnalysis noMask;
  std::int32_t n = points.Count(), terms = 8;
  ZernikeVector coefficients;
  coefficients.fill(5.0);
  noMask.FitFringeCenters(n, points.X, points.Y, points.z, terms, coefficients);
  EXPECT_EQ(terms, 0);
  EXPECT_EQ(n, 50);
  EXPECT_EQ(coefficients, ZernikeVector{});

  ASSERT_TRUE(noMask.CreateMask(1, 400));  // one pixel wide: degenerate
  n = points.Count();
  terms = 8;
  noMask.FitFringeCenters(n, points.X, points.Y, points.z, terms, coefficients);
  EXPECT_EQ(terms, 0);
}

TEST_F(ZernikeFit, BothAccumulationKernelsGiveIdenticalFits) {
  const FitPoints points = RandomWavefrontPoints(1000, SomeCoefficients(12), 0.02);
  UseGenericKernels(true);
  const FitResult generic = Fit(points, 36);
  UseGenericKernels(false);
  const FitResult wide = Fit(points, 36);
  EXPECT_EQ(generic.terms, 36);
  EXPECT_EQ(generic.coefficients, wide.coefficients);
}

}  // namespace
}  // namespace orvale
