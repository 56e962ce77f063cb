#include "app/imageview/ToolboxShapes.h"

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "app/analysis/MathConstants.h"
#include "app/analysis/clsShape.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

std::string Key(std::string_view name, std::string_view field) {
  std::string key(name);
  key += ' ';
  key += field;
  return key;
}

std::string VertexKey(std::string_view name, std::string_view field, std::int32_t n) {
  return Key(name, field) + " " + FormatLong(n);
}

// The stored number as it is (0 when missing); false when it lies beyond the double
// range (the reader gives those as the largest double).
bool ReadUnclamped(const std::string& key, double& value) {
  value = GetSettingDouble(kToolboxSection, key, 0.0, kNotGivenDouble, 0.0);
  return std::isfinite(value) && std::fabs(value) < std::numeric_limits<double>::max();
}

}  // namespace

void SaveToolboxShape(const clsShape& shape, std::string_view name) {
  const std::int32_t type = shape.GetShapeType();
  double rx = 0;
  double ry = 0;
  double cx = 0;
  double cy = 0;
  shape.GetRadii(rx, ry);
  shape.GetCenter(cx, cy);
  const std::int32_t vertices = shape.GetVertices();
  SaveSettingDouble(kToolboxSection, Key(name, "RadiusX"), rx);
  SaveSettingDouble(kToolboxSection, Key(name, "RadiusY"), ry);
  SaveSettingDouble(kToolboxSection, Key(name, "CenterX"), cx);
  SaveSettingDouble(kToolboxSection, Key(name, "CenterY"), cy);
  SaveSettingDouble(kToolboxSection, Key(name, "Angle"), shape.GetAngle());
  SaveSettingLong(kToolboxSection, Key(name, "Vertices"), vertices);
  SaveSettingLong(kToolboxSection, Key(name, "Save Type"), type);
  if (type != clsShape::kPolygon) return;
  for (std::int32_t i = 1; i <= vertices; ++i) {
    double x = 0;
    double y = 0;
    shape.GetVertex(x, y, i);
    SaveSettingDouble(kToolboxSection, VertexKey(name, "VertexX", i), x);
    SaveSettingDouble(kToolboxSection, VertexKey(name, "VertexY", i), y);
  }
}

bool LoadToolboxShape(clsShape& shape, std::string_view name) {
  const std::int32_t type = GetSettingLong(kToolboxSection, Key(name, "Save Type"), 0, 3, 0);
  if (type == clsShape::kCircle || type == clsShape::kEllipse) {
    double rx = 0;
    double ry = 0;
    double cx = 0;
    double cy = 0;
    if (!ReadUnclamped(Key(name, "RadiusX"), rx) || !ReadUnclamped(Key(name, "RadiusY"), ry) ||
        !ReadUnclamped(Key(name, "CenterX"), cx) || !ReadUnclamped(Key(name, "CenterY"), cy)) {
      return false;
    }
    const double angle = GetSettingDouble(kToolboxSection, Key(name, "Angle"), -kHalfPi, kHalfPi, 0.0);
    if (type == clsShape::kEllipse && !std::isfinite(angle)) return false;
    shape.SetShapeType(type);
    shape.SetCenter(cx, cy);
    shape.SetRadii(rx, ry);
    if (type == clsShape::kEllipse) shape.SetAngle(angle);
    return true;
  }
  if (type != clsShape::kPolygon) return false;
  const std::int32_t n =
      GetSettingLong(kToolboxSection, Key(name, "Vertices"), 0, clsShape::kMaxVertices, 0);
  std::array<double, clsShape::kMaxVertices + 1> xs{};  // 1..50, element 0 unused
  std::array<double, clsShape::kMaxVertices + 1> ys{};
  for (std::int32_t i = 1; i <= n; ++i) {
    if (!ReadUnclamped(VertexKey(name, "VertexX", i), xs[static_cast<std::size_t>(i)]) ||
        !ReadUnclamped(VertexKey(name, "VertexY", i), ys[static_cast<std::size_t>(i)])) {
      return false;
    }
  }
  // Made on a copy: a polygon the shape refuses must not wipe the outline there is.
  clsShape polygon = shape;
  if (polygon.Save(clsShape::kPolygon, n, xs, ys) != ShapeSaveResult::Saved) return false;
  shape = polygon;
  return true;
}

}  // namespace orvale
