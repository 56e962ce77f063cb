#pragma once
// Angles of lines between image points, in radians. "On screen" angles run
// counter-clockwise as seen on the screen, so the image y difference enters reversed.
#include "app/analysis/Points.h"

namespace orvale {

// arctan(y / x) moved into (-pi, pi) by the signs; meant for x != 0 and y != 0.
double ArcTan2(double x, double y);

// On-screen angle of the line through p1 and p2, folded into [-pi/2, pi/2]:
// 0 for a horizontal line, +-pi/2 for a vertical one.
double LineAngle(const PointD& p1, const PointD& p2);
double LineAngleL(const PointL& p1, const PointL& p2);

// On-screen direction of the vector from p2 to p1, in (-pi, pi]; 0 when they coincide.
double LineAngleQuadrant(const PointD& p1, const PointD& p2);

// Direction of p1 - v minus direction of p2 - v, in (-2 pi, 2 pi); the not-given
// marker 1E+308 when p1 or p2 coincides with v (no angle there).
double VertexAngle(const PointD& p1, const PointD& p2, const PointD& v);

}  // namespace orvale
