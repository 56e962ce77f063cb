#pragma once
// Helpers of the mask suites: aperture shapes made the way the user makes them, and
// pixel counts of a mask.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/analysis/Points.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsShape.h"

namespace orvale::analysis_test {

inline clsShape CircleShape(double cx, double cy, double r) {
  clsShape shape;
  shape.Init(clsShape::kAperture);
  shape.SetShapeType(clsShape::kCircle);
  shape.SetCenter(cx, cy);
  shape.SetRadii(r, r);
  return shape;
}

// r1 along the angle (radians, counter-clockwise on the screen), r2 across it.
inline clsShape EllipseShape(double cx, double cy, double r1, double r2, double angle) {
  clsShape shape;
  shape.Init(clsShape::kAperture);
  shape.SetShapeType(clsShape::kEllipse);
  shape.SetCenter(cx, cy);
  shape.SetRadii(r1, r2);
  shape.SetAngle(angle);
  return shape;
}

// A polygon from clicked vertices, as the polygon tool saves it.
inline clsShape PolygonShape(const std::vector<PointD>& vertices) {
  std::vector<double> xs{0}, ys{0};  // element 0 unused
  for (const PointD& p : vertices) {
    xs.push_back(p.x);
    ys.push_back(p.y);
  }
  clsShape shape;
  shape.Init(clsShape::kAperture);
  EXPECT_EQ(shape.Save(clsShape::kPolygon, static_cast<std::int32_t>(vertices.size()), xs, ys),
            ShapeSaveResult::Saved);
  return shape;
}

inline std::int64_t CountMask(const clsAnalysis& analysis, std::uint8_t value) {
  const auto bytes = analysis.MaskBytes();
  return std::count(bytes.begin(), bytes.end(), value);
}

}  // namespace orvale::analysis_test
