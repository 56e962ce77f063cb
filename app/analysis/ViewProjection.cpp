#include "app/analysis/ViewProjection.h"

#include <algorithm>
#include <cmath>

#include "app/analysis/MathConstants.h"
#include "platform/runtime/Markers.h"

namespace orvale {

namespace {

// The smallest single-precision value: below it the eye lies in the point's plane.
constexpr double kLevelWithEye = 1.401298464324817E-45;

class ViewProjector {
 public:
  ViewProjector(double r, double theta, double phi) : r_(r) {
    const double t = theta * kDegreesToRadians;
    const double f = phi * kDegreesToRadians;
    sinT_ = std::sin(t);
    cosT_ = std::cos(t);
    sinF_ = std::sin(f);
    cosF_ = std::cos(f);
    ux_ = sinF_ * cosT_;
    uy_ = sinF_ * sinT_;
    uz_ = cosF_;
  }

  PointD Project(const Point3D& p) const {
    if (r_ <= 0) return Screen(p);
    const double dx = r_ * ux_ - p.x;
    const double dy = r_ * uy_ - p.y;
    const double dz = r_ * uz_ - p.z;
    const double den = ux_ * dx + uy_ * dy + uz_ * dz;
    if (std::fabs(den) < kLevelWithEye) return {kNotGivenDouble, kNotGivenDouble};
    const double t = -(ux_ * p.x + uy_ * p.y + uz_ * p.z) / den;
    return Screen({p.x + t * dx, p.y + t * dy, p.z + t * dz});
  }

 private:
  PointD Screen(const Point3D& p) const {
    return {cosT_ * p.y - sinT_ * p.x, cosT_ * cosF_ * p.x + sinT_ * cosF_ * p.y - sinF_ * p.z};
  }

  double r_;
  double sinT_, cosT_, sinF_, cosF_;
  double ux_, uy_, uz_;  // unit vector towards the eye
};

}  // namespace

void MakeViewMatrix(const Point3D& p, double r, double theta, double phi, PointD& q) {
  q = ViewProjector(r, theta, phi).Project(p);
}

void RotatePoints3D(std::span<const Point3D> p, std::int32_t n, double r, double theta,
                    double phi, std::span<PointD> q, std::int32_t first) {
  if (n <= 0) return;
  const ViewProjector projector(r, theta, phi);
  const std::int64_t size = static_cast<std::int64_t>(std::min(p.size(), q.size()));
  const std::int64_t begin = std::max<std::int64_t>(first, 0);
  const std::int64_t end = std::min<std::int64_t>(static_cast<std::int64_t>(first) + n, size);
  for (std::int64_t i = begin; i < end; ++i) q[i] = projector.Project(p[i]);
}

}  // namespace orvale
