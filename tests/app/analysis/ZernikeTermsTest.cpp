#include <gtest/gtest.h>

#include <random>

#include "ZernikeTestSupport.h"
#include "app/analysis/ZernikeTerms.h"

namespace orvale {
namespace {

TEST(ZernikeTerms, ValuesAtThePupilCentre) {
  ZernikeVector terms;
  ZernikeTerms(0.0, 0.0, terms);
  ZernikeVector expected{};
  expected[3] = -1;
  expected[8] = 1;
  expected[15] = -1;
  expected[24] = 1;
  expected[35] = -1;
  expected[36] = 1;
  for (int k = 1; k <= kZernikeTermCount; ++k) EXPECT_EQ(terms[k], expected[k]) << "term " << k;
}

TEST(ZernikeTerms, YGrowsDownwardsWithTheImageRows) {
  // Pupil y is (row - yCenter) * yScale: a point below the centre has y > 0.
  ZernikeVector terms;
  ZernikeTerms(0.0, (120.0 - 100.0) / 50.0, terms);
  EXPECT_GT(terms[2], 0.0);
  EXPECT_EQ(terms[1], 0.0);
}

TEST(ZernikeTerms, EveryTermMatchesThePolarTable) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-1.0, 1.0);
  std::vector<std::pair<double, double>> points = {{1, 0}, {0, -1}, {0.6, 0.8}, {-0.3, 0.2}};
  for (int i = 0; i < 20; ++i) points.emplace_back(coordinate(random), coordinate(random));
  for (auto [x, y] : points) {
    ZernikeVector terms;
    ZernikeTerms(x, y, terms);
    for (int k = 1; k <= kZernikeTermCount; ++k)
      EXPECT_NEAR(terms[k], analysis_test::DirectZernikeTerm(k, x, y), 1e-11)
          << "term " << k << " at (" << x << ", " << y << ")";
  }
}

TEST(ZernikeTerms, DotSumsTermsTimesCoefficients) {
  ZernikeVector terms, coefficients;
  for (int k = 0; k <= kZernikeTermCount; ++k) {
    terms[k] = k;
    coefficients[k] = k == 0 ? 1000.0 : 0.5;  // element 0 is not a term
  }
  EXPECT_EQ(DotZernike(terms, coefficients), 0.5 * 36 * 37 / 2);
}

}  // namespace
}  // namespace orvale
