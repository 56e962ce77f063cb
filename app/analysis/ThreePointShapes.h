#pragma once
// The circle and the ellipse a user defines by clicking three image points.

namespace orvale {

// The circle through three points. False when the points share one row or one column,
// or lie on one slanted line (no finite centre); the outputs are then left unchanged.
bool CircleFrom3Points(double x1, double y1, double x2, double y2, double x3, double y3,
                       double& cx, double& cy, double& r);

// The ellipse whose major axis joins the two points farthest apart and which passes
// through the third. angle is the on-screen angle of the major axis (radians), r1 the
// half major axis. False when the points share one row or one column, or when no finite
// ellipse with positive radii results (the third point on the axis line or beyond its
// ends); the outputs are then left unchanged.
bool EllipseFrom3Points(double x1, double y1, double x2, double y2, double x3, double y3,
                        double& cx, double& cy, double& r1, double& r2, double& angle);

}  // namespace orvale
