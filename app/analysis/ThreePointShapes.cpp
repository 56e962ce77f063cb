#include "app/analysis/ThreePointShapes.h"

#include <cmath>
#include <initializer_list>

#include "app/analysis/MathConstants.h"

namespace orvale {

namespace {

struct Bisector {
  double slope;
  double intercept;
};

// Perpendicular bisector y = slope * x + intercept of a chord whose ends differ in y.
Bisector ChordBisector(double xa, double ya, double xb, double yb) {
  const double mx = (xa + xb) / 2;
  const double my = (ya + yb) / 2;
  const double slope = -(xb - xa) / (yb - ya);
  return {slope, my - slope * mx};
}

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// The straight-down angle of the vertical major axis (full double precision here).
constexpr double kVerticalAxisAngle = 1.5707963267948966;

}  // namespace

bool CircleFrom3Points(double x1, double y1, double x2, double y2, double x3, double y3,
                       double& cx, double& cy, double& r) {
  if ((y1 == y2 && y2 == y3) || (x1 == x2 && x2 == x3)) return false;
  Bisector b1, b2;
  if (y1 == y2) {
    b1 = ChordBisector(x1, y1, x3, y3);
    b2 = ChordBisector(x2, y2, x3, y3);
  } else if (y2 != y3) {
    b1 = ChordBisector(x1, y1, x2, y2);
    b2 = ChordBisector(x2, y2, x3, y3);
  } else {
    b1 = ChordBisector(x1, y1, x3, y3);
    b2 = ChordBisector(x1, y1, x2, y2);
  }
  const double x = (b2.intercept - b1.intercept) / (b1.slope - b2.slope);
  const double y = b1.slope * x + b1.intercept;
  const double dx = x2 - x;
  const double dy = y2 - y;
  const double radius = std::sqrt(dx * dx + dy * dy);
  // Collinear slanted points give parallel bisectors and no finite centre.
  if (!AllFinite({x, y, radius})) return false;
  cx = x;
  cy = y;
  r = radius;
  return true;
}

bool EllipseFrom3Points(double x1, double y1, double x2, double y2, double x3, double y3,
                        double& cx, double& cy, double& r1, double& r2, double& angle) {
  if ((y1 == y2 && y2 == y3) || (x1 == x2 && x2 == x3)) return false;
  const auto squared = [](double xa, double ya, double xb, double yb) {
    return (xb - xa) * (xb - xa) + (yb - ya) * (yb - ya);
  };
  const double d12 = squared(x1, y1, x2, y2);
  const double d13 = squared(x1, y1, x3, y3);
  const double d23 = squared(x2, y2, x3, y3);

  // Ends A, B of the major axis and the third point C.
  double xa, ya, xb, yb, xc, yc, axisSquared;
  if (d12 <= d13 && d13 > d23) {
    xa = x1, ya = y1, xb = x3, yb = y3, xc = x2, yc = y2, axisSquared = d13;
  } else if (d12 > d13 && d12 > d23) {
    xa = x1, ya = y1, xb = x2, yb = y2, xc = x3, yc = y3, axisSquared = d12;
  } else {
    xa = x2, ya = y2, xb = x3, yb = y3, xc = x1, yc = y1, axisSquared = d23;
  }

  const double halfMajor = std::sqrt(axisSquared) / 2;
  const double mx = (xa + xb) / 2;
  const double my = (ya + yb) / 2;
  const double rho2 = squared(mx, my, xc, yc);
  double halfMinor = 0;
  double axisAngle = 0;
  double phi = 0;  // angle between the major axis and the line from the centre to C

  if (xa != xb) {
    const double s = (yb - ya) / (xb - xa);
    axisAngle = -std::atan(s);
    if (xc != mx) {
      const double m = (yc - my) / (xc - mx);
      if (m * s == -1)
        halfMinor = std::sqrt(rho2);
      else
        phi = std::atan((s - m) / (1 + m * s));
    } else {
      phi = kHalfPi - axisAngle;
    }
  } else {
    axisAngle = yb <= ya ? kVerticalAxisAngle : -kVerticalAxisAngle;
    phi = kHalfPi - std::atan((yc - my) / (xc - mx));
  }

  if (halfMinor == 0) {
    const double r1Squared = halfMajor * halfMajor;
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    halfMinor = std::sqrt(rho2 * r1Squared * (sinPhi * sinPhi) /
                          (r1Squared - rho2 * (cosPhi * cosPhi)));
  }
  // A third point on the axis line or beyond its ends gives no ellipse (zero, infinite
  // or not-a-number radius).
  if (!AllFinite({mx, my, halfMajor, halfMinor, axisAngle})) return false;
  if (!(halfMajor > 0) || !(halfMinor > 0)) return false;
  cx = mx;
  cy = my;
  r1 = halfMajor;
  r2 = halfMinor;
  angle = axisAngle;
  return true;
}

}  // namespace orvale
