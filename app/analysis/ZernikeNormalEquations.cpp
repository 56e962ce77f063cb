#include "app/analysis/ZernikeNormalEquations.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/analysis/VectorKernels.h"

namespace orvale {

namespace {

using BlockRows = double (*)[ZernikeNormalEquations::kRowWidth];
using SumRows = double (*)[ZernikeNormalEquations::kRowWidth];
constexpr int kTileColumns = 8;
constexpr int kZIndex = kZernikeTermCount;        // z in a block row
constexpr int kOneIndex = kZernikeTermCount + 1;  // the constant 1 in a block row
constexpr int kUsedRows = kZernikeTermCount + 2;  // terms, z and the constant
static_assert(ZernikeNormalEquations::kRowWidth % kTileColumns == 0 &&
              ZernikeNormalEquations::kRowWidth >= kUsedRows);

// The points of one block.
struct BlockPoints {
  const double* x;
  const double* y;
  const double* z;
  int count;
};

// Every kernel forms each sum of products over the block's points in point order and
// then adds it to the total, and computes the term values with the same elementwise
// operations: vector width and tile shape never change a result bit.

#ifdef ORVALE_VECTOR_EXTENSIONS

// Term values, z and the constant 1 of every point into its block row, a vector of
// points at a time (rows past the count are scratch).
template <class Vec>
[[gnu::always_inline]] inline void FillRows(const BlockPoints& points, BlockRows rows) {
  constexpr int kLanes = sizeof(Vec) / sizeof(double);
  static_assert(ZernikeNormalEquations::kBlockPoints % kLanes == 0);
  for (int p0 = 0; p0 < points.count; p0 += kLanes) {
    Vec x, y;
    __builtin_memcpy(&x, points.x + p0, sizeof(Vec));
    __builtin_memcpy(&y, points.y + p0, sizeof(Vec));
    ForEachZernikeTerm(x, y, [rows, p0](int k, const Vec& value) {
      for (int lane = 0; lane < kLanes; ++lane) rows[p0 + lane][k - 1] = value[lane];
    });
    for (int lane = 0; lane < kLanes; ++lane) {
      rows[p0 + lane][kZIndex] = points.z[p0 + lane];
      rows[p0 + lane][kOneIndex] = 1.0;
    }
  }
}

// Sums of products of rows a0..a0+Rows-1 with columns b0..b0+7 over n points, added to
// the totals; vectors run across the columns, and the tile's partial sums stay in
// registers.
template <class Vec, int Rows>
[[gnu::always_inline]] inline void AccumulateTile(BlockRows block, int n, int a0, int b0,
                                                  SumRows sums) {
  constexpr int kLanes = sizeof(Vec) / sizeof(double);
  constexpr int kVectors = kTileColumns / kLanes;
  Vec acc[Rows][kVectors];
#pragma GCC unroll 4
  for (int i = 0; i < Rows; ++i)
#pragma GCC unroll 4
    for (int v = 0; v < kVectors; ++v) acc[i][v] = Vec{};
  for (int p = 0; p < n; ++p) {
    const double* t = block[p];
    Vec y[kVectors];
#pragma GCC unroll 4
    for (int v = 0; v < kVectors; ++v) __builtin_memcpy(&y[v], t + b0 + v * kLanes, sizeof(Vec));
#pragma GCC unroll 4
    for (int i = 0; i < Rows; ++i) {
      const double x = t[a0 + i];
#pragma GCC unroll 4
      for (int v = 0; v < kVectors; ++v) acc[i][v] += x * y[v];
    }
  }
#pragma GCC unroll 4
  for (int i = 0; i < Rows; ++i) {
#pragma GCC unroll 4
    for (int v = 0; v < kVectors; ++v) {
      double* total = sums[a0 + i] + b0 + v * kLanes;
      Vec sum;
      __builtin_memcpy(&sum, total, sizeof(Vec));
      sum += acc[i][v];
      __builtin_memcpy(total, &sum, sizeof(Vec));
    }
  }
}

// The upper triangle of the products, tile by tile. Tiles straddling the diagonal also
// add a few lower-triangle products, which nobody reads.
template <class Vec, int Rows>
[[gnu::always_inline]] inline void AccumulateBlockWith(const BlockPoints& points, BlockRows rows,
                                                       SumRows sums) {
  FillRows<Vec>(points, rows);
  for (int a0 = 0; a0 < kUsedRows; a0 += Rows)
    for (int b0 = a0 / kTileColumns * kTileColumns; b0 < ZernikeNormalEquations::kRowWidth;
         b0 += kTileColumns)
      AccumulateTile<Vec, Rows>(rows, points.count, a0, b0, sums);
}

// Two-lane vectors and two rows a tile: the sixteen registers of baseline x86-64.
void AccumulateBlockGeneric(const BlockPoints& points, BlockRows rows, SumRows sums) {
  AccumulateBlockWith<Vector2, 2>(points, rows, sums);
}

#ifdef ORVALE_WIDE_KERNELS
// Four-lane vectors and four rows a tile where the processor has AVX2.
ORVALE_WIDE_TARGET void AccumulateBlockWide(const BlockPoints& points, BlockRows rows,
                                            SumRows sums) {
  AccumulateBlockWith<Vector4, 4>(points, rows, sums);
}
#endif

#else  // no vector extensions: the same sums, one at a time
void AccumulateBlockGeneric(const BlockPoints& points, BlockRows rows, SumRows sums) {
  for (int p = 0; p < points.count; ++p) {
    double* row = rows[p];
    ForEachZernikeTerm(points.x[p], points.y[p],
                       [row](int k, double value) { row[k - 1] = value; });
    row[kZIndex] = points.z[p];
    row[kOneIndex] = 1.0;
  }
  for (int a = 0; a < kUsedRows; ++a)
    for (int b = a; b < kUsedRows; ++b) {
      double acc = 0.0;
      for (int p = 0; p < points.count; ++p) acc += rows[p][a] * rows[p][b];
      sums[a][b] += acc;
    }
}
#endif

void AccumulateBlock(const BlockPoints& points, BlockRows rows, SumRows sums) {
#ifdef ORVALE_WIDE_KERNELS
  if (UseWideKernels()) {
    AccumulateBlockWide(points, rows, sums);
    return;
  }
#endif
  AccumulateBlockGeneric(points, rows, sums);
}

}  // namespace

ZernikeNormalEquations::ZernikeNormalEquations() { Clear(); }

void ZernikeNormalEquations::Clear() {
  std::fill(std::begin(pointX_), std::end(pointX_), 0.0);
  std::fill(std::begin(pointY_), std::end(pointY_), 0.0);
  std::fill(std::begin(pointZ_), std::end(pointZ_), 0.0);
  for (auto& row : block_) std::fill(std::begin(row), std::end(row), 0.0);
  for (auto& row : sums_) std::fill(std::begin(row), std::end(row), 0.0);
  blockCount_ = 0;
  count_ = 0;
  variables_ = 0;
}

void ZernikeNormalEquations::Add(double x, double y, double z) {
  pointX_[blockCount_] = x;
  pointY_[blockCount_] = y;
  pointZ_[blockCount_] = z;
  ++count_;
  if (++blockCount_ == kBlockPoints) FlushBlock();
}

void ZernikeNormalEquations::FlushBlock() {
  if (blockCount_ == 0) return;
  AccumulateBlock({pointX_, pointY_, pointZ_, blockCount_}, block_, sums_);
  blockCount_ = 0;
}

bool ZernikeNormalEquations::IsZeroPivot(int variable) const {
  return pivot_[variable] <=
         std::max(kZeroPivotRatio * meanSquare_[variable], pivotNoise_[variable]);
}

double ZernikeNormalEquations::PivotNoise(int k) const {
  // g solves L^T g = row k of L, scaled by the pivots: variable k ~ sum g_i variable i.
  double g[kVariables + 1];
  double spread = std::sqrt(meanSquare_[k]);
  for (int i = k - 1; i >= 1; --i) {
    double b = work_[k][i];
    for (int j = i + 1; j < k; ++j) b -= work_[j][i] * g[j];
    g[i] = b / pivot_[i];
    spread += std::fabs(g[i]) * std::sqrt(meanSquare_[i]);
  }
  return kRoundingNoiseFactor * std::numeric_limits<double>::epsilon() * spread * spread;
}

int ZernikeNormalEquations::Solve() {
  FlushBlock();
  variables_ = 0;
  if (count_ < 1) return 0;

  // Variable v (1..37) sits in block column v - 1: the terms, then z.
  const double n = count_;
  double mean[kVariables + 1];
  for (int v = 1; v <= kVariables; ++v) mean[v] = sums_[v - 1][kOneIndex] / n;
  for (int a = 1; a <= kVariables; ++a) {
    for (int b = a; b <= kVariables; ++b) work_[a][b] = sums_[a - 1][b - 1] / n - mean[a] * mean[b];
    meanSquare_[a] = sums_[a - 1][a - 1] / n;
  }

  pivot_[1] = work_[1][1];
  pivotNoise_[1] = PivotNoise(1);
  if (IsZeroPivot(1)) return 0;

  int m = kVariables;
  for (int k = 2; k <= m; ++k) {
    if (k >= 3 && IsZeroPivot(k - 1)) {
      // Variables p..m-1 depend on the ones before: drop them and move z down to p.
      const int p = k - 1;
      for (int i = 1; i < p; ++i) work_[i][p] = work_[i][m];
      work_[p][p] = work_[m][m];
      m = p;
      k = 1;  // start again on the reduced system
      continue;
    }
    double d = work_[k][k];
    for (int i = 1; i < k; ++i) {
      double l = work_[i][k];
      for (int j = 1; j < i; ++j) l -= work_[i][j] * work_[k][j] / pivot_[j];
      work_[k][i] = l;
      d -= l * l / pivot_[i];
    }
    pivot_[k] = d;
    if (k < m) pivotNoise_[k] = PivotNoise(k);  // z's pivot is never tested
  }
  variables_ = m;
  return m - 1;
}

bool ZernikeNormalEquations::Coefficients(int termCount, ZernikeVector& coefficients) const {
  coefficients.fill(0.0);
  const int m = variables_;
  if (termCount < 1 || termCount >= m || termCount > kZernikeTermCount) return false;
  // Row m of L holds the products of z with the eliminated terms.
  for (int i = termCount; i >= 1; --i) {
    double b = work_[m][i];
    for (int j = i + 1; j <= termCount; ++j) b -= work_[j][i] * coefficients[j];
    coefficients[i] = b / pivot_[i];
  }
  return true;
}

}  // namespace orvale
