#include "app/analysis/clsShape.h"

#include <algorithm>
#include <cmath>

#include "app/analysis/LineParser.h"
#include "app/analysis/ModMathLib.h"
#include "app/analysis/OutlineDrawing.h"
#include "app/analysis/KeywordSection.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr double kHitTolerance = 3.0;

// Segments of a drawn ellipse: more for larger ellipses and zooms, within these limits.
constexpr std::int32_t kMinEllipseSegments = 20;
constexpr std::int32_t kMaxEllipseSegments = 200;
constexpr double kTwoPi = 6.28318530717958;

bool IsShapeType(std::int32_t type) {
  return type >= clsShape::kNone && type <= clsShape::kPolygon;
}

std::string PointField(double x, double y) {
  return FormatDecimalField(x) + "," + FormatDecimalField(y);
}

}  // namespace

void clsShape::Init(std::int32_t DrawingObject) { Kind_ = DrawingObject; }

void clsShape::Copy(const clsShape& srcShape) {
  ShapeType_ = srcShape.ShapeType_;
  if (ShapeType_ == kPolygon) {
    NumVertices_ = srcShape.NumVertices_;
    Vertex_ = srcShape.Vertex_;
  } else {
    RadiusX_ = srcShape.RadiusX_;
    RadiusY_ = srcShape.RadiusY_;
    Angle_ = srcShape.Angle_;
  }
  CenterX_ = srcShape.CenterX_;
  CenterY_ = srcShape.CenterY_;
}

void clsShape::ZeroGeometry() {
  CenterX_ = CenterY_ = 0;
  RadiusX_ = RadiusY_ = 0;
  Angle_ = 0;
  NumVertices_ = 0;
}

bool clsShape::AllValuesFinite() const {
  const bool scalars = std::isfinite(CenterX_) && std::isfinite(CenterY_) &&
                       std::isfinite(RadiusX_) && std::isfinite(RadiusY_) &&
                       std::isfinite(Angle_);
  return scalars && std::all_of(Vertex_.begin(), Vertex_.end(), [](const PointD& p) {
           return std::isfinite(p.x) && std::isfinite(p.y);
         });
}

PointD clsShape::CenterOfVertices() const {
  PointD center;
  PolygonCenter(center, Vertex_, NumVertices_);
  if (center.x != kNotGivenDouble || NumVertices_ < 1) return center;
  // A polygon without area (all vertices on one line) has no centroid; the marker as
  // its centre would throw the vertices far away on the next move or turn.
  center = {};
  for (std::int32_t k = 1; k <= NumVertices_; ++k) {
    center.x += Vertex_[k].x;
    center.y += Vertex_[k].y;
  }
  center.x /= NumVertices_;
  center.y /= NumVertices_;
  return center;
}

// ---------------------------------------------------------------------------------
// Keyword section

bool clsShape::SaveToFile(TextOutput& file) const {
  const char* keyword = Kind_ == kAperture ? "Aperture" : Kind_ == kObstruction ? "Obstruction"
                                                                                 : nullptr;
  if (!keyword) return true;
  SectionWriter out(file);
  out.Line(keyword);
  out.Line("ShapeType," + FormatWholeField(ShapeType_));
  out.Line("Center," + PointField(CenterX_, CenterY_));
  out.Line("RadiusX," + FormatDecimalField(RadiusX_));
  out.Line("RadiusY," + FormatDecimalField(RadiusY_));
  out.Line("Angle," + FormatDecimalField(Angle_));
  out.Line("NumVertices," + FormatWholeField(NumVertices_));
  for (std::int32_t k = 1; k <= NumVertices_ && k <= kMaxVertices; ++k)
    out.Line("Vertex," + PointField(Vertex_[k].x, Vertex_[k].y));
  out.Line("EndShape");
  return !out.Aborted();
}

bool clsShape::LoadFromFile(LineSource& file, clsParser& Parser, std::string* problem) {
  // Read into a copy so that a refused section leaves this shape as it was.
  clsShape read = *this;
  std::int32_t vertexCount = 0;
  bool ended = false;
  while (!ended && Parser.Readline(file)) {
    // Keys follow one another on a line until an unknown key or the end of the line.
    for (std::string key = LowerKey(Parser.GetToken()); !key.empty();
         key = LowerKey(Parser.GetToken())) {
      if (key == "shapetype") {
        read.ShapeType_ = TokenAsWhole(Parser.GetToken());
      } else if (key == "center") {
        read.CenterX_ = TokenAsReal(Parser.GetToken());
        read.CenterY_ = TokenAsReal(Parser.GetToken());
      } else if (key == "radiusx") {
        read.RadiusX_ = TokenAsReal(Parser.GetToken());
      } else if (key == "radiusy") {
        read.RadiusY_ = TokenAsReal(Parser.GetToken());
      } else if (key == "angle") {
        read.Angle_ = TokenAsReal(Parser.GetToken());
      } else if (key == "numvertices") {
        read.NumVertices_ = std::clamp(TokenAsWhole(Parser.GetToken()), 0, kMaxVertices);
      } else if (key == "vertex" && ++vertexCount <= kMaxVertices) {
        read.Vertex_[vertexCount].x = TokenAsReal(Parser.GetToken());
        read.Vertex_[vertexCount].y = TokenAsReal(Parser.GetToken());
      } else {
        // Vertices beyond the 50th are skipped like unknown keys.
        ended = key == "endshape";
        break;
      }
    }
  }

  std::string why;
  if (!IsShapeType(read.ShapeType_))
    why = "Unknown shape type " + FormatLong(read.ShapeType_) + " in the shape section.";
  else if (!read.AllValuesFinite())
    why = "A number in the shape section is out of range.";
  if (!why.empty()) {
    if (problem) *problem = why;
    return false;
  }
  *this = read;
  return true;
}

// ---------------------------------------------------------------------------------
// Making and editing

ShapeSaveResult clsShape::Save(std::int32_t DrawingType, std::int32_t npts,
                               std::span<const double> xBuffer,
                               std::span<const double> yBuffer) {
  if (!IsShapeType(DrawingType)) return ShapeSaveResult::UnknownType;
  std::int32_t needed = 0;  // highest buffer index read
  if (DrawingType == kCircle) needed = std::max(npts, 0);
  if (DrawingType == kEllipse) needed = 3;
  if (DrawingType == kPolygon) {
    if (npts > kMaxVertices) return ShapeSaveResult::TooManyVertices;
    if (npts >= 3) needed = npts;
  }
  const auto given = static_cast<std::size_t>(needed) + 1;  // element 0 unused
  if (needed > 0 && (xBuffer.size() < given || yBuffer.size() < given))
    return ShapeSaveResult::MissingPoints;

  ZeroGeometry();
  ShapeType_ = DrawingType;
  for (std::int32_t k = 1; k <= needed; ++k) {
    if (!std::isfinite(xBuffer[k]) || !std::isfinite(yBuffer[k])) {
      ShapeType_ = kNone;
      return ShapeSaveResult::Degenerate;
    }
  }

  switch (DrawingType) {
    case kCircle: {
      double minX = kNotGivenDouble, minY = kNotGivenDouble;
      // The maxima start at the lowest value, so that points left of or above the image
      // still give their true box.
      double maxX = -kNotGivenDouble, maxY = -kNotGivenDouble;
      for (std::int32_t k = 1; k <= npts; ++k) {
        minX = std::min(minX, xBuffer[k]);
        maxX = std::max(maxX, xBuffer[k]);
        minY = std::min(minY, yBuffer[k]);
        maxY = std::max(maxY, yBuffer[k]);
      }
      if (maxX > minX && maxY > minY) {
        CenterX_ = (minX + maxX) / 2;
        CenterY_ = (minY + maxY) / 2;
        RadiusX_ = (maxX - minX) / 2;
        RadiusY_ = (maxY - minY) / 2;
      } else {
        ShapeType_ = kNone;
      }
      break;
    }
    case kEllipse: {
      double cx = 0, cy = 0, r1 = 0, r2 = 0, angle = 0;
      if (EllipseFrom3Points(xBuffer[1], yBuffer[1], xBuffer[2], yBuffer[2], xBuffer[3],
                             yBuffer[3], cx, cy, r1, r2, angle)) {
        CenterX_ = cx;
        CenterY_ = cy;
        RadiusX_ = r1;
        RadiusY_ = r2;
        Angle_ = angle;
      } else {
        ShapeType_ = kNone;
      }
      break;
    }
    case kPolygon:
      if (npts >= 3) {
        NumVertices_ = npts;
        for (std::int32_t k = 1; k <= npts; ++k) Vertex_[k] = {xBuffer[k], yBuffer[k]};
        const PointD center = CenterOfVertices();
        CenterX_ = center.x;
        CenterY_ = center.y;
      } else {
        ShapeType_ = kNone;
      }
      break;
    default:
      break;
  }
  return ShapeType_ == DrawingType ? ShapeSaveResult::Saved : ShapeSaveResult::Degenerate;
}

void clsShape::GetCenter(double& X, double& Y) const {
  X = CenterX_;
  Y = CenterY_;
}

void clsShape::GetRadii(double& r1, double& r2) const {
  r1 = RadiusX_;
  r2 = RadiusY_;
}

void clsShape::GetVertex(double& X, double& Y, std::int32_t Index) const {
  if (ShapeType_ == kPolygon && Index >= 1 && Index <= NumVertices_) {
    X = Vertex_[Index].x;
    Y = Vertex_[Index].y;
  } else {
    X = kNotGivenDouble;
    Y = kNotGivenDouble;
  }
}

void clsShape::SetShapeType(std::int32_t i) {
  if (!IsShapeType(i)) return;
  ZeroGeometry();
  ShapeType_ = i;
}

void clsShape::SetRadii(double RX, double RY) {
  RadiusX_ = RX;
  RadiusY_ = RY;
}

void clsShape::SetCenter(double X, double Y) {
  if (ShapeType_ == kPolygon) {
    const double dx = X - CenterX_;
    const double dy = Y - CenterY_;
    for (std::int32_t k = 1; k <= NumVertices_; ++k) {
      Vertex_[k].x += dx;
      Vertex_[k].y += dy;
    }
  }
  CenterX_ = X;
  CenterY_ = Y;
}

void clsShape::SetVertex(double X, double Y, std::int32_t Index) {
  if (ShapeType_ != kPolygon || Index < 1 || Index > NumVertices_) return;
  Vertex_[Index] = {X, Y};
  const PointD center = CenterOfVertices();
  CenterX_ = center.x;
  CenterY_ = center.y;
}

void clsShape::Resize(double r1, double r2, std::int32_t Index) {
  // A radius that is not a finite number counts as not given.
  const bool giveR1 = r1 != kNotGivenDouble && std::isfinite(r1);
  const bool giveR2 = r2 != kNotGivenDouble && std::isfinite(r2);
  if (ShapeType_ == kCircle || ShapeType_ == kEllipse) {
    if (giveR1) RadiusX_ = r1;
    if (giveR2) RadiusY_ = r2;
    return;
  }
  if (ShapeType_ != kPolygon || !giveR1 || Index < 1 || Index > NumVertices_) return;
  const PointD center{CenterX_, CenterY_};
  const double d0 = Distance(Vertex_[Index], center);
  if (d0 == 0) return;
  auto placeAt = [&](PointD& vertex, double distance) {
    const double a = LineAngleQuadrant(vertex, center);
    vertex = {CenterX_ + distance * std::cos(a), CenterY_ - distance * std::sin(a)};
  };
  placeAt(Vertex_[Index], r1);
  const double k = Distance(Vertex_[Index], center) / d0;
  for (std::int32_t j = 1; j <= NumVertices_; ++j)
    if (j != Index) placeAt(Vertex_[j], k * Distance(Vertex_[j], center));
}

void clsShape::Rotate(double da) {
  if (!std::isfinite(da)) return;
  if (ShapeType_ == kEllipse) {
    double angle = Angle_ + da;
    // Fold by whole half turns into -pi/2..pi/2 in one step, whatever the turn; an
    // ellipse turned by pi is the same ellipse.
    if (std::fabs(angle) > kHalfPi) angle = std::remainder(angle, kPi);
    Angle_ = angle;
  } else if (ShapeType_ == kPolygon) {
    const double c = std::cos(da);
    const double s = std::sin(da);
    for (std::int32_t k = 1; k <= NumVertices_; ++k) {
      const double dx = Vertex_[k].x - CenterX_;
      const double dy = Vertex_[k].y - CenterY_;
      Vertex_[k] = {CenterX_ + dx * c + dy * s, CenterY_ - dx * s + dy * c};
    }
  }
}

// ---------------------------------------------------------------------------------
// Drawing

void clsShape::Draw(gdi::DeviceContext& hDC, double ScaleFactor, double offsetx,
                    double offsety, bool XORPen) const {
  const ScreenMapping screen{ScaleFactor, offsetx, offsety};
  ScopedOutlinePen pen(hDC, XORPen);
  if (!screen.IsUsable() || !AllValuesFinite()) return;

  if (ShapeType_ == kCircle) {
    if (RadiusX_ == 0 || RadiusY_ == 0) return;
    hDC.Ellipse(RoundToInt32((CenterX_ - offsetx - RadiusX_) * ScaleFactor),
                RoundToInt32((CenterY_ - offsety - RadiusY_) * ScaleFactor),
                RoundToInt32((CenterX_ - offsetx + RadiusX_) * ScaleFactor + 1),
                RoundToInt32((CenterY_ - offsety + RadiusY_) * ScaleFactor + 1));
  } else if (ShapeType_ == kEllipse) {
    const std::int32_t n =
        std::clamp(RoundToInt32(std::sqrt(ScaleFactor) * std::max(RadiusX_, RadiusY_) * 0.25),
                   kMinEllipseSegments, kMaxEllipseSegments);
    const double c = std::cos(Angle_);
    const double s = std::sin(Angle_);
    const double step = kTwoPi / n;
    auto pointAt = [&](double t) {
      const double u = RadiusX_ * std::cos(t);
      const double v = RadiusY_ * std::sin(t);
      return screen.Map(CenterX_ + u * c + v * s, CenterY_ - u * s + v * c);
    };
    const gdi::Point start = pointAt(0);
    hDC.MoveTo(start.x, start.y);
    for (std::int32_t k = 1; k <= n; ++k) {
      const gdi::Point p = pointAt(k * step);
      hDC.LineTo(p.x, p.y);
    }
  } else if (ShapeType_ == kPolygon && NumVertices_ > 0) {
    const gdi::Point last = screen.Map(Vertex_[NumVertices_].x, Vertex_[NumVertices_].y);
    hDC.MoveTo(last.x, last.y);
    for (std::int32_t k = 1; k <= NumVertices_; ++k) {
      const gdi::Point p = screen.Map(Vertex_[k].x, Vertex_[k].y);
      hDC.LineTo(p.x, p.y);
    }
  }
}

// ---------------------------------------------------------------------------------
// Hit test

void clsShape::Find(double X, double Y, std::int32_t& ShapeTypeFound,
                    std::int32_t& ShapeData) const {
  if (!IsShapeType(ShapeType_)) return;
  ShapeTypeFound = 0;
  ShapeData = kNotGivenLong;
  if (ShapeType_ == kNone) return;

  if (ShapeType_ == kPolygon) {
    for (std::int32_t k = 1; k <= NumVertices_; ++k) {
      if (std::fabs(X - Vertex_[k].x) <= kHitTolerance &&
          std::fabs(Y - Vertex_[k].y) <= kHitTolerance) {
        ShapeTypeFound = kFoundVertex;
        ShapeData = k;
        return;
      }
    }
    for (std::int32_t k = 1; k <= NumVertices_; ++k) {
      const PointD& a = Vertex_[k];
      const PointD& b = Vertex_[k == NumVertices_ ? 1 : k + 1];
      const double dx = b.x - a.x;
      const double dy = b.y - a.y;
      const double dd = dx * dx + dy * dy;
      if (dd == 0) return;
      const double px = X - a.x;
      const double py = Y - a.y;
      const double t = (px * dx + py * dy) / dd;
      const double qx = px - t * dx;
      const double qy = py - t * dy;
      if (qx * qx + qy * qy <= kHitTolerance * kHitTolerance) {
        ShapeTypeFound = kFoundEdge;
        ShapeData = k;
        return;
      }
    }
    return;
  }

  if (RadiusX_ == 0 || RadiusY_ == 0) {
    if (X == CenterX_ && Y == CenterY_) ShapeTypeFound = ShapeType_;
    return;
  }
  const double r = Distance({X, Y}, {CenterX_, CenterY_});
  double theta;
  if (X == CenterX_)
    theta = Y <= CenterY_ ? kHalfPi : -kHalfPi;
  else
    theta = -std::atan((Y - CenterY_) / (X - CenterX_));
  const double phi = theta - Angle_;
  const double rx2 = RadiusX_ * RadiusX_;
  const double ry2 = RadiusY_ * RadiusY_;
  const double c = std::cos(phi);
  const double s = std::sin(phi);
  const double rho = std::sqrt(rx2 * ry2 / (ry2 * c * c + rx2 * s * s));
  if (std::fabs(r - rho) <= kHitTolerance) ShapeTypeFound = ShapeType_;
}

}  // namespace orvale
