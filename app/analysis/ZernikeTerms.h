#pragma once
// The 36-term Fringe Zernike set (University of Arizona order, piston omitted), not
// normalised. Pupil coordinates: x to the right, y downwards with the image rows, so
// the angle turns from +x towards the image's downward y.
#include <array>

namespace orvale {

inline constexpr int kZernikeTermCount = 36;

// Coefficients or term values of the 36 terms, indexed 1..36; element 0 is unused.
using ZernikeVector = std::array<double, kZernikeTermCount + 1>;

// Primary aberrations, indexed 1..8 (element 0 unused): tilt, tilt angle, defocus,
// astigmatism, astigmatism angle, coma, coma angle, spherical. Angles in degrees.
using AberrationVector = std::array<double, 9>;

// Calls store(k, value) for k = 1..36 in order with the value of term k at the pupil
// point (x, y). Everything is built from rho^2 and the angular products
// c2 = rho^2 cos 2t, s2 = rho^2 sin 2t, c3, s3 (and their products for orders 4 and 5):
// no powers, no trigonometry. Real may also be a vector of doubles (one point a lane):
// every operation is elementwise, so each lane gets the bit-identical scalar value.
// Always inlined, so that a vector caller compiled for a wider instruction set never
// calls it across an ABI boundary.
template <class Real, class Store>
[[gnu::always_inline]] inline void ForEachZernikeTerm(const Real& x, const Real& y, Store&& store) {
  const Real xx = x * x;
  const Real yy = y * y;
  const Real r2 = xx + yy;
  const Real c2 = xx - yy;
  const Real s2 = 2.0 * x * y;
  const Real c3 = c2 * x - s2 * y;
  const Real s3 = s2 * x + c2 * y;
  const Real c4 = c2 * c2 - s2 * s2;
  const Real s4 = 2.0 * s2 * c2;
  const Real c5 = c3 * c2 - s3 * s2;
  const Real s5 = s3 * c2 + c3 * s2;

  // Radial factors as polynomials in rho^2 (Horner form), named by the terms that use them.
  const Real r6 = 3.0 * r2 - 2.0;
  const Real r11 = 4.0 * r2 - 3.0;
  const Real r13 = (10.0 * r2 - 12.0) * r2 + 3.0;
  const Real r18 = 5.0 * r2 - 4.0;
  const Real r20 = (15.0 * r2 - 20.0) * r2 + 6.0;
  const Real r22 = ((35.0 * r2 - 60.0) * r2 + 30.0) * r2 - 4.0;
  const Real r27 = 6.0 * r2 - 5.0;
  const Real r29 = (21.0 * r2 - 30.0) * r2 + 10.0;
  const Real r31 = ((56.0 * r2 - 105.0) * r2 + 60.0) * r2 - 10.0;
  const Real r33 = (((126.0 * r2 - 280.0) * r2 + 210.0) * r2 - 60.0) * r2 + 5.0;

  store(1, x);
  store(2, y);
  store(3, 2.0 * r2 - 1.0);
  store(4, c2);
  store(5, s2);
  store(6, r6 * x);
  store(7, r6 * y);
  store(8, (6.0 * r2 - 6.0) * r2 + 1.0);
  store(9, c3);
  store(10, s3);
  store(11, r11 * c2);
  store(12, r11 * s2);
  store(13, r13 * x);
  store(14, r13 * y);
  store(15, ((20.0 * r2 - 30.0) * r2 + 12.0) * r2 - 1.0);
  store(16, c4);
  store(17, s4);
  store(18, r18 * c3);
  store(19, r18 * s3);
  store(20, r20 * c2);
  store(21, r20 * s2);
  store(22, r22 * x);
  store(23, r22 * y);
  store(24, (((70.0 * r2 - 140.0) * r2 + 90.0) * r2 - 20.0) * r2 + 1.0);
  store(25, c5);
  store(26, s5);
  store(27, r27 * c4);
  store(28, r27 * s4);
  store(29, r29 * c3);
  store(30, r29 * s3);
  store(31, r31 * c2);
  store(32, r31 * s2);
  store(33, r33 * x);
  store(34, r33 * y);
  store(35, ((((252.0 * r2 - 630.0) * r2 + 560.0) * r2 - 210.0) * r2 + 30.0) * r2 - 1.0);
  store(36,
        (((((924.0 * r2 - 2772.0) * r2 + 3150.0) * r2 - 1680.0) * r2 + 420.0) * r2 - 42.0) * r2 +
            1.0);
}

// Fills terms(1..36) with the term values at the pupil point (x, y).
void ZernikeTerms(double x, double y, ZernikeVector& terms);

// Sum of terms(k) * coefficients(k) for k = 1..36, in that order.
double DotZernike(const ZernikeVector& terms, const ZernikeVector& coefficients);

// The wavefront sum of the coefficients at the pupil point (x, y): bit-identical to
// DotZernike of the term values there.
double EvalZernikeAt(double x, double y, const ZernikeVector& coefficients);

// EvalZernikeAt at the n points (u[i], v[i]) into w[i], several points at a time.
void EvalZernikeBatch(const double* u, const double* v, int n, const ZernikeVector& coefficients,
                      double* w);

}  // namespace orvale
