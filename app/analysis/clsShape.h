#pragma once
// The outline of an interferogram's aperture or central obstruction: an axis-aligned
// ellipse ("circle"), a rotated ellipse or a polygon of up to 50 vertices, in image
// pixels (x to the right, y downwards). Angles are mathematical (counter-clockwise on
// the screen), so the screen y of a turned point takes a minus sign.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "app/analysis/Points.h"

namespace orvale {

class clsParser;
namespace gdi {
class DeviceContext;
}
class LineSource;
class TextOutput;

// What Save made of the clicked points.
enum class ShapeSaveResult {
  Saved,            // the shape is defined
  Degenerate,       // the points define no shape: shape type 0, zero geometry
  TooManyVertices,  // more than kMaxShapeVertices polygon points: refused, shape unchanged
  MissingPoints,    // the buffers hold fewer points than asked for: refused, shape unchanged
  UnknownType,      // drawing type outside 0..3: refused, shape unchanged
};

class clsShape {
 public:
  // Kinds (decide the section keyword).
  static constexpr std::int32_t kAperture = 1;
  static constexpr std::int32_t kObstruction = 2;
  // Shape types.
  static constexpr std::int32_t kNone = 0;
  static constexpr std::int32_t kCircle = 1;
  static constexpr std::int32_t kEllipse = 2;
  static constexpr std::int32_t kPolygon = 3;
  // Result codes of Find besides the shape types 1 and 2.
  static constexpr std::int32_t kFoundEdge = 3;
  static constexpr std::int32_t kFoundVertex = 4;

  static constexpr std::int32_t kMaxVertices = 50;

  void Init(std::int32_t DrawingObject);
  // Takes the source's outline; the kind stays.
  void Copy(const clsShape& srcShape);

  // Writes the section "Aperture" or "Obstruction" ... "EndShape" (nothing for any
  // other kind). False when the user aborted after a write failure.
  bool SaveToFile(TextOutput& file) const;
  // Reads the section after its "Aperture" / "Obstruction" line, up to "EndShape" or
  // the end of the file. A section with an unknown shape type or a number out of the
  // double range is refused: false, `problem` says why, and the shape is unchanged.
  bool LoadFromFile(LineSource& file, clsParser& Parser, std::string* problem = nullptr);

  // Draws the outline with the white pen, XOR or copy; screen = (image - offset) x scale.
  void Draw(gdi::DeviceContext& hDC, double ScaleFactor, double offsetx, double offsety,
            bool XORPen) const;

  // Makes the shape from clicked points; the buffers are read at indices 1..npts
  // (element 0 unused). Circle: bounding box of the points; ellipse: points 1-3 (major
  // axis ends and a point on the outline); polygon: the points as vertices.
  ShapeSaveResult Save(std::int32_t DrawingType, std::int32_t npts,
                       std::span<const double> xBuffer, std::span<const double> yBuffer);

  void Delete() { ShapeType_ = kNone; }
  std::int32_t GetShapeType() const { return ShapeType_; }
  std::int32_t GetVertices() const { return ShapeType_ == kPolygon ? NumVertices_ : 0; }
  std::int32_t GetKind() const { return Kind_; }

  // Hit test with a tolerance of 3 pixels. ShapeTypeFound: 0 nothing, 1 circle outline,
  // 2 ellipse outline, 3 polygon edge, 4 polygon vertex; ShapeData the edge or vertex
  // number, else 2147483647.
  void Find(double X, double Y, std::int32_t& ShapeTypeFound, std::int32_t& ShapeData) const;

  void GetCenter(double& X, double& Y) const;
  void GetRadii(double& r1, double& r2) const;
  double GetAngle() const { return Angle_; }
  // Vertex Index (1-based) of a polygon; both 1E+308 when there is none.
  void GetVertex(double& X, double& Y, std::int32_t Index) const;

  void SetShapeType(std::int32_t i);
  void SetRadii(double RX, double RY);
  void SetCenter(double X, double Y);
  void SetVertex(double X, double Y, std::int32_t Index);
  void SetAngle(double a) { Angle_ = a; }

  // Circle and ellipse: new radii, 1E+308 keeps one. Polygon: scales about the centre
  // so that vertex Index lies at distance r1.
  void Resize(double r1, double r2, std::int32_t Index);
  // Turns an ellipse or a polygon about its centre by da radians.
  void Rotate(double da);

 private:
  bool AllValuesFinite() const;
  // The polygon's centre: the centroid of its vertices, or their mean when the polygon
  // has no area.
  PointD CenterOfVertices() const;
  void ZeroGeometry();

  std::int32_t Kind_ = 0;
  std::int32_t ShapeType_ = kNone;
  double CenterX_ = 0;
  double CenterY_ = 0;
  double RadiusX_ = 0;
  double RadiusY_ = 0;
  double Angle_ = 0;
  std::int32_t NumVertices_ = 0;
  std::array<PointD, kMaxVertices + 1> Vertex_{};  // 1..50, element 0 unused
};

}  // namespace orvale
