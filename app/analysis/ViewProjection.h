#pragma once
// Projection of the surface chart's 3-D points onto the screen plane for a view point
// at distance R in the direction (theta, phi) given in degrees.
#include <cstdint>
#include <span>

#include "app/analysis/Points.h"

namespace orvale {

// Projects one point. R <= 0: parallel projection. R > 0: perspective from an eye at
// R * (sin phi cos theta, sin phi sin theta, cos phi) onto the plane through the origin
// facing the eye; a point level with the eye gives the marker (1E+308, 1E+308).
void MakeViewMatrix(const Point3D& p, double r, double theta, double phi, PointD& q);

// Projects p[first .. first + n - 1] into the same subscripts of q. Subscripts that
// fall outside either array are left alone.
void RotatePoints3D(std::span<const Point3D> p, std::int32_t n, double r, double theta,
                    double phi, std::span<PointD> q, std::int32_t first);

}  // namespace orvale
