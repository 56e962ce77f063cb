#pragma once
// Helpers shared by the analysis suites: the term table written out in polar form, a
// Householder least-squares solver, and circular pupil masks.
#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "app/analysis/clsAnalysis.h"

namespace orvale::analysis_test {

// Term k of the Fringe Zernike table at pupil (x, y), straight from rho and theta.
inline double DirectZernikeTerm(int k, double x, double y) {
  const double r = std::hypot(x, y);
  const double t = std::atan2(y, x);
  auto p = [r](int e) { return std::pow(r, e); };
  switch (k) {
    case 1: return r * std::cos(t);
    case 2: return r * std::sin(t);
    case 3: return 2 * p(2) - 1;
    case 4: return p(2) * std::cos(2 * t);
    case 5: return p(2) * std::sin(2 * t);
    case 6: return (3 * p(2) - 2) * r * std::cos(t);
    case 7: return (3 * p(2) - 2) * r * std::sin(t);
    case 8: return 6 * p(4) - 6 * p(2) + 1;
    case 9: return p(3) * std::cos(3 * t);
    case 10: return p(3) * std::sin(3 * t);
    case 11: return (4 * p(2) - 3) * p(2) * std::cos(2 * t);
    case 12: return (4 * p(2) - 3) * p(2) * std::sin(2 * t);
    case 13: return (10 * p(4) - 12 * p(2) + 3) * r * std::cos(t);
    case 14: return (10 * p(4) - 12 * p(2) + 3) * r * std::sin(t);
    case 15: return 20 * p(6) - 30 * p(4) + 12 * p(2) - 1;
    case 16: return p(4) * std::cos(4 * t);
    case 17: return p(4) * std::sin(4 * t);
    case 18: return (5 * p(2) - 4) * p(3) * std::cos(3 * t);
    case 19: return (5 * p(2) - 4) * p(3) * std::sin(3 * t);
    case 20: return (15 * p(4) - 20 * p(2) + 6) * p(2) * std::cos(2 * t);
    case 21: return (15 * p(4) - 20 * p(2) + 6) * p(2) * std::sin(2 * t);
    case 22: return (35 * p(6) - 60 * p(4) + 30 * p(2) - 4) * r * std::cos(t);
    case 23: return (35 * p(6) - 60 * p(4) + 30 * p(2) - 4) * r * std::sin(t);
    case 24: return 70 * p(8) - 140 * p(6) + 90 * p(4) - 20 * p(2) + 1;
    case 25: return p(5) * std::cos(5 * t);
    case 26: return p(5) * std::sin(5 * t);
    case 27: return (6 * p(2) - 5) * p(4) * std::cos(4 * t);
    case 28: return (6 * p(2) - 5) * p(4) * std::sin(4 * t);
    case 29: return (21 * p(4) - 30 * p(2) + 10) * p(3) * std::cos(3 * t);
    case 30: return (21 * p(4) - 30 * p(2) + 10) * p(3) * std::sin(3 * t);
    case 31: return (56 * p(6) - 105 * p(4) + 60 * p(2) - 10) * p(2) * std::cos(2 * t);
    case 32: return (56 * p(6) - 105 * p(4) + 60 * p(2) - 10) * p(2) * std::sin(2 * t);
    case 33: return (126 * p(8) - 280 * p(6) + 210 * p(4) - 60 * p(2) + 5) * r * std::cos(t);
    case 34: return (126 * p(8) - 280 * p(6) + 210 * p(4) - 60 * p(2) + 5) * r * std::sin(t);
    case 35: return 252 * p(10) - 630 * p(8) + 560 * p(6) - 210 * p(4) + 30 * p(2) - 1;
    case 36:
      return 924 * p(12) - 2772 * p(10) + 3150 * p(8) - 1680 * p(6) + 420 * p(4) - 42 * p(2) + 1;
  }
  return 0;
}

// Least-squares solution of A c = b by Householder QR; A has `rows` rows of `cols`
// values each (row-major).
inline std::vector<double> LeastSquaresQR(std::vector<double> a, std::vector<double> b, int rows,
                                          int cols) {
  auto at = [&a, cols](int i, int j) -> double& { return a[static_cast<size_t>(i) * cols + j]; };
  for (int k = 0; k < cols; ++k) {
    double norm = 0;
    for (int i = k; i < rows; ++i) norm += at(i, k) * at(i, k);
    norm = std::sqrt(norm);
    const double alpha = at(k, k) > 0 ? -norm : norm;
    std::vector<double> v(rows, 0.0);
    for (int i = k; i < rows; ++i) v[i] = at(i, k);
    v[k] -= alpha;
    double vv = 0;
    for (int i = k; i < rows; ++i) vv += v[i] * v[i];
    if (vv == 0) continue;
    for (int j = k; j < cols; ++j) {
      double s = 0;
      for (int i = k; i < rows; ++i) s += v[i] * at(i, j);
      s = 2 * s / vv;
      for (int i = k; i < rows; ++i) at(i, j) -= s * v[i];
    }
    double s = 0;
    for (int i = k; i < rows; ++i) s += v[i] * b[i];
    s = 2 * s / vv;
    for (int i = k; i < rows; ++i) b[i] -= s * v[i];
  }
  std::vector<double> c(cols);
  for (int k = cols - 1; k >= 0; --k) {
    double s = b[k];
    for (int j = k + 1; j < cols; ++j) s -= at(k, j) * c[j];
    c[k] = s / at(k, k);
  }
  return c;
}

// A width x height mask with a usable disc of radius `radius` about (cx, cy) and an
// obstruction disc of radius `obstruction` (0 for none); the scale maps `radius`
// pixels onto the unit pupil.
inline void MakeCircularPupil(clsAnalysis& analysis, int width, int height, double cx, double cy,
                              double radius, double obstruction = 0) {
  ASSERT_TRUE(analysis.CreateMask(width, height));
  auto bytes = analysis.MaskBytes();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double d = std::hypot(x - cx, y - cy);
      std::uint8_t value = clsAnalysis::kMaskOutside;
      if (d <= radius) value = clsAnalysis::kMaskPupil;
      if (d < obstruction) value = clsAnalysis::kMaskObstruction;
      bytes[static_cast<size_t>(y) * width + x] = value;
    }
  analysis.xCenter = cx;
  analysis.yCenter = cy;
  analysis.xScale = 1.0 / radius;
  analysis.yScale = 1.0 / radius;
  analysis.SetApertureShapeType(1);
  analysis.MaskValid = true;
}

}  // namespace orvale::analysis_test
