#include "app/analysis/ZernikeTerms.h"

#include "app/analysis/VectorKernels.h"

namespace orvale {

void ZernikeTerms(double x, double y, ZernikeVector& terms) {
  ForEachZernikeTerm(x, y, [&terms](int k, double value) { terms[k] = value; });
}

double DotZernike(const ZernikeVector& terms, const ZernikeVector& coefficients) {
  double sum = 0.0;
  for (int k = 1; k <= kZernikeTermCount; ++k) sum += terms[k] * coefficients[k];
  return sum;
}

double EvalZernikeAt(double x, double y, const ZernikeVector& coefficients) {
  double sum = 0.0;
  ForEachZernikeTerm(x, y, [&](int k, double value) { sum += value * coefficients[k]; });
  return sum;
}

namespace {

// Each lane sums its terms times the coefficients in term order, as EvalZernikeAt does.
template <class Vec>
[[gnu::always_inline]] inline void EvalBatchWith(const double* u, const double* v, int n,
                                                 const ZernikeVector& coefficients, double* w) {
#ifdef ORVALE_VECTOR_EXTENSIONS
  constexpr int kLanes = sizeof(Vec) / sizeof(double);
  int i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    Vec x, y;
    __builtin_memcpy(&x, u + i, sizeof(Vec));
    __builtin_memcpy(&y, v + i, sizeof(Vec));
    Vec sum{};
    ForEachZernikeTerm(x, y, [&](int k, const Vec& value) { sum += value * coefficients[k]; });
    __builtin_memcpy(w + i, &sum, sizeof(Vec));
  }
  for (; i < n; ++i) w[i] = EvalZernikeAt(u[i], v[i], coefficients);
#else
  for (int i = 0; i < n; ++i) w[i] = EvalZernikeAt(u[i], v[i], coefficients);
#endif
}

#ifdef ORVALE_WIDE_KERNELS
ORVALE_WIDE_TARGET void EvalBatchWide(const double* u, const double* v, int n,
                                      const ZernikeVector& coefficients, double* w) {
  EvalBatchWith<Vector4>(u, v, n, coefficients, w);
}
#endif

}  // namespace

void EvalZernikeBatch(const double* u, const double* v, int n, const ZernikeVector& coefficients,
                      double* w) {
#ifdef ORVALE_WIDE_KERNELS
  if (UseWideKernels()) {
    EvalBatchWide(u, v, n, coefficients, w);
    return;
  }
#endif
#ifdef ORVALE_VECTOR_EXTENSIONS
  EvalBatchWith<Vector2>(u, v, n, coefficients, w);
#else
  EvalBatchWith<double>(u, v, n, coefficients, w);
#endif
}

}  // namespace orvale
