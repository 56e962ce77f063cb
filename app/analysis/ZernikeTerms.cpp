#include "app/analysis/ZernikeTerms.h"

namespace orvale {

void ZernikeTerms(double x, double y, ZernikeVector& terms) {
  ForEachZernikeTerm(x, y, [&terms](int k, double value) { terms[k] = value; });
}

double DotZernike(const ZernikeVector& terms, const ZernikeVector& coefficients) {
  double sum = 0.0;
  for (int k = 1; k <= kZernikeTermCount; ++k) sum += terms[k] * coefficients[k];
  return sum;
}

}  // namespace orvale
