#include "app/analysis/Angles.h"

#include <cmath>

#include "app/analysis/MathConstants.h"
#include "platform/runtime/Markers.h"

namespace orvale {

namespace {

double FoldedAngle(double dx, double dy) {
  if (dy == 0) return 0;
  if (dx == 0) return dy > 0 ? kHalfPi : -kHalfPi;
  return std::atan(dy / dx);
}

double Direction(double dx, double dy) {
  if (dx == 0) {
    if (dy == 0) return 0;
    return dy > 0 ? kHalfPi : -kHalfPi;
  }
  if (dy == 0) return dx < 0 ? kPi : 0;
  double a = std::atan(dy / dx);
  if (dx < 0) a += dy >= 0 ? kPi : -kPi;
  return a;
}

}  // namespace

double ArcTan2(double x, double y) {
  double a = std::atan(y / x);
  if (y > 0) {
    if (x <= 0) a += kPi;
  } else if (x <= 0) {
    a -= kPi;
  }
  return a;
}

double LineAngle(const PointD& p1, const PointD& p2) {
  return FoldedAngle(p1.x - p2.x, p2.y - p1.y);
}

double LineAngleL(const PointL& p1, const PointL& p2) {
  // Differences in double: they cannot overflow there.
  return FoldedAngle(static_cast<double>(p1.x) - p2.x, static_cast<double>(p2.y) - p1.y);
}

double LineAngleQuadrant(const PointD& p1, const PointD& p2) {
  return Direction(p1.x - p2.x, p2.y - p1.y);
}

double VertexAngle(const PointD& p1, const PointD& p2, const PointD& v) {
  const bool p1OnVertex = p1.x == v.x && p1.y == v.y;
  const bool p2OnVertex = p2.x == v.x && p2.y == v.y;
  if (p1OnVertex || p2OnVertex) return kNotGivenDouble;
  return LineAngleQuadrant(p1, v) - LineAngleQuadrant(p2, v);
}

}  // namespace orvale
