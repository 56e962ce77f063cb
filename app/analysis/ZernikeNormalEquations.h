#pragma once
// The least-squares problem of the Zernike fit: z on the 36 terms and a constant.
// Points are accumulated in one pass into sums of products (fixed storage, cost per
// point independent of the number of points); the solve works on the means and
// covariances with a square-root-free LDL^T elimination that stops at the first
// zero pivot, so that exactly dependent data shorten the fit instead of producing
// coefficients made of rounding noise.
#include <cstdint>

#include "app/analysis/ZernikeTerms.h"

namespace orvale {

class ZernikeNormalEquations {
 public:
  ZernikeNormalEquations();

  // Forgets every point and every solve.
  void Clear();

  // Adds the value z at the pupil point (x, y).
  void Add(double x, double y, double z);

  std::int32_t PointCount() const { return count_; }

  // Eliminates the accumulated system. Returns how many leading terms it can carry:
  // all terms before the first one that depends on the terms before it (and on the
  // constant), 0 when there are no points or term 1 has no variation.
  int Solve();

  // Back-substitutes the fit of z on terms 1..termCount and a constant into
  // coefficients(1..termCount); every other element becomes 0. The result equals a
  // fit with exactly termCount terms. False, with all coefficients 0, when termCount
  // is below 1 or more than Solve() returned.
  bool Coefficients(int termCount, ZernikeVector& coefficients) const;

  // A pivot counts as zero when it is at most kZeroPivotRatio of its variable's mean
  // square, or when it is within the rounding noise of its own elimination:
  // kRoundingNoiseFactor * epsilon * (s_k + sum |g_i| s_i)^2, where s_i is the root
  // mean square of variable i and g the coefficients that express variable k through
  // the variables before it. A variable that is exactly dependent leaves a pivot of
  // about that size (it grows with g, that is with how ill-conditioned the earlier
  // variables are), so a fixed ratio alone cannot tell it from a genuine one.
  static constexpr double kZeroPivotRatio = 1e-12;
  static constexpr double kRoundingNoiseFactor = 64.0;

  // Points per block of the accumulation (the block's sums of products are formed
  // first and then added to the totals, which also keeps rounding small).
  static constexpr int kBlockPoints = 64;
  // Values per point in a block: 36 terms, z, the constant 1, two zero pads.
  static constexpr int kRowWidth = 40;

 private:
  static constexpr int kVariables = kZernikeTermCount + 1;  // the terms and z

  void FlushBlock();
  bool IsZeroPivot(int variable) const;
  // The rounding-noise level of pivot k once row k of L is known.
  double PivotNoise(int k) const;

  // The points of the current block, and their term values once the block is full.
  alignas(64) double pointX_[kBlockPoints];
  alignas(64) double pointY_[kBlockPoints];
  alignas(64) double pointZ_[kBlockPoints];
  alignas(64) double block_[kBlockPoints][kRowWidth];
  alignas(64) double sums_[kRowWidth][kRowWidth];  // sums of products, upper triangle used
  int blockCount_ = 0;
  std::int32_t count_ = 0;

  // Elimination state, 1-based as in the algorithm: variables 1..36 are the terms and
  // variable 37 is z until a zero pivot moves z down. work_ holds the covariances in
  // its upper triangle and the factors L in its lower triangle.
  double work_[kVariables + 1][kVariables + 1];
  double pivot_[kVariables + 1];
  double meanSquare_[kVariables + 1];
  double pivotNoise_[kVariables + 1];
  int variables_ = 0;  // m: surviving variables including z, 0 when nothing can be fitted
};

}  // namespace orvale
