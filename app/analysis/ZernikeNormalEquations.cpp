#include "app/analysis/ZernikeNormalEquations.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace orvale {

namespace {

using BlockRows = const double (*)[ZernikeNormalEquations::kRowWidth];
using SumRows = double (*)[ZernikeNormalEquations::kRowWidth];
constexpr int kTileColumns = 8;
constexpr int kUsedRows = kZernikeTermCount + 2;  // terms, z and the constant

// Sums of products of the block rows a0..a0+Rows-1 with b0..b0+7 over n points. Each
// sum runs over the points in order, whatever the vector width, so every kernel gives
// bit-identical results; the tile only keeps the partial sums in registers.
template <int Rows>
[[gnu::always_inline]] inline void AccumulateTile(BlockRows block, int n, int a0, int b0,
                                                  SumRows sums) {
  double acc[Rows][kTileColumns] = {};
  for (int p = 0; p < n; ++p) {
    const double* t = block[p];
#pragma GCC unroll 8
    for (int i = 0; i < Rows; ++i) {
      const double ta = t[a0 + i];
#pragma GCC unroll 8
      for (int j = 0; j < kTileColumns; ++j) acc[i][j] += ta * t[b0 + j];
    }
  }
#pragma GCC unroll 8
  for (int i = 0; i < Rows; ++i) {
#pragma GCC unroll 8
    for (int j = 0; j < kTileColumns; ++j) sums[a0 + i][b0 + j] += acc[i][j];
  }
}

// The upper triangle of the products, tile by tile. Tiles straddling the diagonal also
// add a few lower-triangle products, which nobody reads.
template <int Rows>
[[gnu::always_inline]] inline void AccumulateTiles(BlockRows block, int n, SumRows sums) {
  static_assert(ZernikeNormalEquations::kRowWidth % kTileColumns == 0);
  for (int a0 = 0; a0 < kUsedRows; a0 += Rows)
    for (int b0 = a0 / kTileColumns * kTileColumns; b0 < ZernikeNormalEquations::kRowWidth;
         b0 += kTileColumns)
      AccumulateTile<Rows>(block, n, a0, b0, sums);
}

// Two rows per tile fit the sixteen registers of the baseline vector unit.
void AccumulateBlockGeneric(BlockRows block, int n, SumRows sums) {
  AccumulateTiles<2>(block, n, sums);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define ORVALE_FIT_WIDE_KERNEL 1
// Four rows per tile on 256-bit vectors. Same arithmetic, no fused multiply-add.
[[gnu::target("avx2")]] void AccumulateBlockWide(BlockRows block, int n, SumRows sums) {
  AccumulateTiles<4>(block, n, sums);
}
#endif

std::atomic<bool> forceGenericKernel{false};

void AccumulateBlock(BlockRows block, int n, SumRows sums) {
#ifdef ORVALE_FIT_WIDE_KERNEL
  static const bool hasWideVectors = __builtin_cpu_supports("avx2");
  if (hasWideVectors && !forceGenericKernel.load(std::memory_order_relaxed)) {
    AccumulateBlockWide(block, n, sums);
    return;
  }
#endif
  AccumulateBlockGeneric(block, n, sums);
}

}  // namespace

void UseGenericFitKernel(bool generic) { forceGenericKernel.store(generic); }

ZernikeNormalEquations::ZernikeNormalEquations() { Clear(); }

void ZernikeNormalEquations::Clear() {
  for (auto& row : block_) std::fill(std::begin(row), std::end(row), 0.0);
  for (auto& row : sums_) std::fill(std::begin(row), std::end(row), 0.0);
  blockCount_ = 0;
  count_ = 0;
  variables_ = 0;
}

void ZernikeNormalEquations::Add(double x, double y, double z) {
  double* row = block_[blockCount_];
  ForEachZernikeTerm(x, y, [row](int k, double value) { row[k - 1] = value; });
  row[kZIndex] = z;
  row[kOneIndex] = 1.0;
  ++count_;
  if (++blockCount_ == kBlockPoints) FlushBlock();
}

void ZernikeNormalEquations::FlushBlock() {
  if (blockCount_ == 0) return;
  AccumulateBlock(block_, blockCount_, sums_);
  blockCount_ = 0;
}

bool ZernikeNormalEquations::IsZeroPivot(int variable) const {
  return pivot_[variable] <= std::max(kZeroPivotRatio * meanSquare_[variable], pivotNoise_[variable]);
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
    for (int b = a; b <= kVariables; ++b)
      work_[a][b] = sums_[a - 1][b - 1] / n - mean[a] * mean[b];
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
