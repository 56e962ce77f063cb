#pragma once
// Interferograms synthesised from known Zernike coefficients, and views of a traced
// fringe store, for the tracing suites.
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "ZernikeTestSupport.h"
#include "app/analysis/Points.h"
#include "app/analysis/ZernikeTerms.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"

namespace orvale::analysis_test {

// An 8-bit image of the fringes of the wavefront `waves` (coefficients in waves) over a
// pupil of `radius` pixels about (cx, cy): 128 + 100 cos(2 pi W), so the dark fringes lie
// at W = k + 1/2. The wavefront is continued beyond the pupil.
inline std::vector<std::uint8_t> Interferogram(int width, int height, double cx, double cy,
                                               double radius, const ZernikeVector& waves) {
  std::vector<std::uint8_t> image(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double u = (x - cx) / radius;
      const double v = (y - cy) / radius;
      double w = 0;
      for (int k = 1; k <= kZernikeTermCount; ++k)
        if (waves[k] != 0) w += waves[k] * DirectZernikeTerm(k, u, v);
      image[static_cast<std::size_t>(y) * width + x] =
          static_cast<std::uint8_t>(std::lround(128 + 100 * std::cos(2 * M_PI * w)));
    }
  return image;
}

// The wavefront of the traced test interferograms: `tilt` waves across the pupil with
// some defocus, astigmatism and coma, so the dark fringes cross it from top to bottom
// and crowd towards its right edge.
inline ZernikeVector TracedWavefront(double tilt) {
  ZernikeVector truth{};
  truth[1] = tilt;
  truth[2] = 1.0;
  truth[3] = 1.5;
  truth[4] = 0.5;
  truth[6] = 0.3;
  return truth;
}

// The points of the store's record `index`.
inline std::vector<PointD> FringePoints(const clsFringes& store, std::int32_t index) {
  const auto points = store.RecordPoints(index);
  return {points.begin(), points.end()};
}

// The fit of the first 8 terms to the store's centres, with each fringe's order as the
// wavefront at its points (the mask must have the image's size).
inline ZernikeVector FitCentresByOrder(const clsAnalysis& analysis, const clsFringes& store) {
  std::vector<double> X, Y, z;
  for (std::int32_t i = 1; i <= store.NumFringes(); ++i)
    for (const PointD& p : store.RecordPoints(i)) {
      X.push_back(p.x);
      Y.push_back(p.y);
      z.push_back(store.GetFringeOrder(i));
    }
  std::int32_t points = static_cast<std::int32_t>(X.size());
  std::int32_t terms = 8;
  ZernikeVector fit{};
  analysis.FitFringeCenters(points, X, Y, z, terms, fit);
  EXPECT_EQ(terms, 8);
  return fit;
}

// Every fringe of the store as its order and its points (x, y), in record order.
struct TracedFringe {
  std::int32_t order;
  std::vector<std::pair<double, double>> points;
  bool operator==(const TracedFringe&) const = default;
};
inline std::vector<TracedFringe> AllFringes(const clsFringes& store) {
  std::vector<TracedFringe> fringes;
  for (std::int32_t i = 1; i <= store.NumFringes(); ++i) {
    TracedFringe fringe{store.GetFringeOrder(i), {}};
    for (const PointD& p : FringePoints(store, i)) fringe.points.emplace_back(p.x, p.y);
    fringes.push_back(fringe);
  }
  return fringes;
}

// A byte image swapped in x and y.
inline std::vector<std::uint8_t> Transposed(const std::vector<std::uint8_t>& image, int width,
                                            int height) {
  std::vector<std::uint8_t> out(image.size());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out[static_cast<std::size_t>(x) * height + y] =
          image[static_cast<std::size_t>(y) * width + x];
  return out;
}

}  // namespace orvale::analysis_test
