// The pupil mask from the aperture and obstruction shapes, the scale that maps the
// aperture onto the unit pupil, and the trimming of the mask's border.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "app/analysis/MathConstants.h"
#include "app/analysis/PolygonMaskFill.h"
#include "app/analysis/ThreePointShapes.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsShape.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// The outline of a shape, scaled by the mask's size factor.
struct MaskShape {
  std::int32_t type = clsShape::kNone;
  double cx = 0, cy = 0;  // circle and ellipse
  double r1 = 0, r2 = 0;
  double angle = 0;
  std::vector<PointD> vertices;  // polygon
};

bool IsPositiveFinite(double value) { return std::isfinite(value) && value > 0.0; }

// True when three of the vertices have a circle through them, that is when they do not
// all lie on one line.
bool HasUsableTriple(const std::vector<PointD>& v) {
  double cx = 0, cy = 0, r = 0;
  for (std::size_t i = 0; i < v.size(); ++i)
    for (std::size_t j = i + 1; j < v.size(); ++j)
      for (std::size_t k = j + 1; k < v.size(); ++k)
        if (CircleFrom3Points(v[i].x, v[i].y, v[j].x, v[j].y, v[k].x, v[k].y, cx, cy, r))
          return true;
  return false;
}

// The shape's outline times `factor`, or nothing when the shape encloses no area: no
// shape type, a centre that is not finite or radii that are not positive and finite, or
// a polygon without three vertices off one line (or with a vertex beyond the pixels the
// fill accepts).
std::optional<MaskShape> ReadMaskShape(const clsShape& shape, double factor) {
  MaskShape outline;
  outline.type = shape.GetShapeType();
  if (outline.type == clsShape::kCircle || outline.type == clsShape::kEllipse) {
    shape.GetCenter(outline.cx, outline.cy);
    shape.GetRadii(outline.r1, outline.r2);
    outline.angle = shape.GetAngle();
    outline.cx *= factor;
    outline.cy *= factor;
    outline.r1 *= factor;
    outline.r2 *= factor;
    if (!std::isfinite(outline.cx) || !std::isfinite(outline.cy) || !IsPositiveFinite(outline.r1) ||
        !IsPositiveFinite(outline.r2) || !std::isfinite(outline.angle))
      return std::nullopt;
    return outline;
  }
  if (outline.type == clsShape::kPolygon) {
    const std::int32_t count = std::min(shape.GetVertices(), clsShape::kMaxVertices);
    for (std::int32_t k = 1; k <= count; ++k) {
      PointD vertex;
      shape.GetVertex(vertex.x, vertex.y, k);
      vertex = {vertex.x * factor, vertex.y * factor};
      if (!IsMaskCoordinate(vertex)) return std::nullopt;
      outline.vertices.push_back(vertex);
    }
    if (!HasUsableTriple(outline.vertices)) return std::nullopt;
    return outline;
  }
  return std::nullopt;
}

// The first and last pixel within `reach` of `center` along an axis of `size` pixels;
// first > last when none is.
struct PixelRange {
  std::int32_t first;
  std::int32_t last;
};

PixelRange PixelsNear(double center, double reach, std::int32_t size) {
  const double first = std::max(std::floor(center - reach), 0.0);
  const double last = std::min(std::ceil(center + reach), static_cast<double>(size - 1));
  if (!(first <= last)) return {1, 0};
  return {static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)};
}

// How far from the centre along an axis a pixel can pass the test of a shape of radius r:
// two pixels further out, the computed ratio to the radius is clearly above 1 whatever
// the rounding, so the pixels beyond need no test.
double Reach(double r) { return r + 2.0 + r * 1e-9; }

// Shape type 1: the axis-aligned ellipse d = ((x - cx) / r1)^2 + ((y - cy) / r2)^2,
// the aperture taking d <= 1 and the obstruction d < 1.
void FillAxisEllipse(std::uint8_t* mask, std::int32_t width, std::int32_t height,
                     const MaskShape& e, bool takeBoundary, std::uint8_t value) {
  const PixelRange rows = PixelsNear(e.cy, Reach(e.r2), height);
  const PixelRange columns = PixelsNear(e.cx, Reach(e.r1), width);
  for (std::int32_t y = rows.first; y <= rows.last; ++y) {
    const double b = (y - e.cy) / e.r2;
    const double bb = b * b;
    std::uint8_t* row = mask + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (std::int32_t x = columns.first; x <= columns.last; ++x) {
      const double a = (x - e.cx) / e.r1;
      const double d = a * a + bb;
      if (takeBoundary ? d <= 1.0 : d < 1.0) row[x] = value;
    }
  }
}

// Shape type 2: the ellipse of semi-axis r1 along the angle and r2 across it. A pixel
// is inside when its distance from the centre is within the ellipse radius in its
// direction (the ellipse's polar equation, with trigonometry per pixel).
class RotatedEllipseTest {
 public:
  explicit RotatedEllipseTest(const MaskShape& e)
      : angle_(e.angle), r1r2_(e.r1 * e.r2), r1Squared_(e.r1 * e.r1), r2Squared_(e.r2 * e.r2) {}

  bool Takes(double dx, double dy, bool takeBoundary) const {
    const double rho = std::sqrt(dx * dx + dy * dy);
    // Rows grow downwards, so the screen angle takes a minus sign. The ellipse is
    // point-symmetric, so the folded single-argument arctangent is enough.
    double phi;
    if (dx != 0.0)
      phi = -std::atan(dy / dx);
    else
      phi = dy <= 0.0 ? kHalfPi : -kHalfPi;
    const double c = std::cos(phi - angle_);
    const double s = std::sin(phi - angle_);
    const double rhoE = r1r2_ / std::sqrt(r2Squared_ * (c * c) + r1Squared_ * (s * s));
    return takeBoundary ? rho <= rhoE : rho < rhoE;
  }

 private:
  double angle_, r1r2_, r1Squared_, r2Squared_;
};

void FillRotatedEllipse(std::uint8_t* mask, std::int32_t width, std::int32_t height,
                        const MaskShape& e, bool takeBoundary, std::uint8_t value) {
  // The ellipse radius never exceeds the larger semi-axis.
  const double reach = Reach(std::max(e.r1, e.r2));
  const PixelRange rows = PixelsNear(e.cy, reach, height);
  const PixelRange columns = PixelsNear(e.cx, reach, width);
  const RotatedEllipseTest test(e);
  // The polar test is the square root of g = (p / r1)^2 + (q / r2)^2 <= 1 in the
  // ellipse's own axes, which costs a few products. Rounding moves either by some 1e-15
  // relative, so g decides every pixel off the thin band where it is within kBand of 1,
  // and only there does the polar test run.
  constexpr double kBand = 1e-6;
  const double cosAngle = std::cos(e.angle), sinAngle = std::sin(e.angle);
  const double inverse1 = 1.0 / (e.r1 * e.r1), inverse2 = 1.0 / (e.r2 * e.r2);
  for (std::int32_t y = rows.first; y <= rows.last; ++y) {
    const double dy = y - e.cy;
    std::uint8_t* row = mask + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (std::int32_t x = columns.first; x <= columns.last; ++x) {
      const double dx = x - e.cx;
      // Screen y points down: the pixel's upward offset is -dy.
      const double p = dx * cosAngle - dy * sinAngle;
      const double q = -dx * sinAngle - dy * cosAngle;
      const double g = p * p * inverse1 + q * q * inverse2;
      bool takes;
      if (g < 1.0 - kBand)
        takes = true;
      else if (g > 1.0 + kBand)
        takes = false;
      else
        takes = test.Takes(dx, dy, takeBoundary);  // also where g is not a number
      if (takes) row[x] = value;
    }
  }
}

// The first column from x on whose byte is not 0, or `end`.
std::int32_t FirstNonzero(const std::uint8_t* line, std::int32_t x, std::int32_t end) {
  // Eight bytes at a time over the zero stretches outside the pupil.
  for (; x + 8 <= end; x += 8) {
    std::uint64_t word;
    std::memcpy(&word, line + x, sizeof word);
    if (word != 0) break;
  }
  while (x < end && line[x] == 0) ++x;
  return x;
}

}  // namespace

bool clsAnalysis::RasteriseShape(const clsShape& Shape, bool DoubleSize, std::uint8_t value) {
  if (!MaskAllocated || DoubleSize != MaskDoubleSize) return false;
  const std::optional<MaskShape> outline = ReadMaskShape(Shape, DoubleSize ? 2.0 : 1.0);
  if (!outline) return false;
  if (maskWidth_ < 1 || maskHeight_ < 1) return true;  // a 0 x 0 mask takes nothing
  // The aperture takes its boundary pixels, the obstruction leaves them to the aperture.
  const bool takeBoundary = value == kMaskPupil;
  switch (outline->type) {
    case clsShape::kCircle:
      FillAxisEllipse(mask_.data(), maskWidth_, maskHeight_, *outline, takeBoundary, value);
      break;
    case clsShape::kEllipse:
      FillRotatedEllipse(mask_.data(), maskWidth_, maskHeight_, *outline, takeBoundary, value);
      break;
    case clsShape::kPolygon:
      FillPolygonMask(MaskBytes(), maskWidth_, maskHeight_, outline->vertices, value);
      break;
    default:
      break;
  }
  return true;
}

bool clsAnalysis::UpdateApertureMask(const clsShape& Shape, bool DoubleSize) {
  return RasteriseShape(Shape, DoubleSize, kMaskPupil);
}

bool clsAnalysis::UpdateObstructionMask(const clsShape& Shape, bool DoubleSize) {
  return RasteriseShape(Shape, DoubleSize, kMaskObstruction);
}

bool clsAnalysis::SetScalefactors(clsShape& pAperture) {
  auto noPupil = [this] {
    // Nothing may go on with the centre and scale of an earlier aperture.
    xCenter = yCenter = 0.0;
    xScale = yScale = 0.0;
    apertureShapeType_ = clsShape::kNone;
    return false;
  };
  const std::optional<MaskShape> outline = ReadMaskShape(pAperture, 1.0);
  if (!outline) return noPupil();
  double cx = outline->cx, cy = outline->cy;
  double r1 = outline->r1, r2 = outline->r2;
  if (outline->type == clsShape::kEllipse) {
    r1 = r2 = std::max(r1, r2);
  } else if (outline->type == clsShape::kPolygon) {
    // Of the circles through three vertices, the centre whose farthest vertex is
    // nearest; the radius reaches that vertex. The first triple wins ties.
    const std::vector<PointD>& v = outline->vertices;
    double best = 1E+308;
    bool found = false;
    for (std::size_t i = 0; i < v.size(); ++i)
      for (std::size_t j = i + 1; j < v.size(); ++j)
        for (std::size_t k = j + 1; k < v.size(); ++k) {
          double x = 0, y = 0, r = 0;
          if (!CircleFrom3Points(v[i].x, v[i].y, v[j].x, v[j].y, v[k].x, v[k].y, x, y, r)) continue;
          double farthest = 0;
          for (const PointD& p : v)
            farthest = std::max(farthest, (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y));
          if (farthest < best) {
            best = farthest;
            cx = x;
            cy = y;
            found = true;
          }
        }
    // Only vertices almost on one line can leave every centre too far away.
    if (!found) return noPupil();
    r1 = r2 = std::sqrt(best);
    pAperture.SetRadii(r1, r2);
  }
  xCenter = cx;
  yCenter = cy;
  xScale = 1.0 / r1;
  yScale = 1.0 / r2;
  apertureShapeType_ = outline->type;
  return true;
}

void clsAnalysis::TrimMask() {
  if (!MaskAllocated) return;
  constexpr std::uint8_t kTrimMark = 255;
  const std::int32_t width = maskWidth_, height = maskHeight_;
  // 3 % of the mean pupil radius. A count beyond the longest line trims every line
  // whole; a scale of 0 (no pupil) gives an infinite count, a negative one none.
  const double wanted = RoundHalfEven(0.03 * (1.0 / xScale + 1.0 / yScale) / 2.0);
  const double longest = std::max(width, height);
  const auto n = static_cast<std::int32_t>(wanted > 0.0 ? std::min(wanted, longest) : 0.0);

  // Each line is scanned from both ends; every scan marks the first n nonzero pixels it
  // meets (marked ones count) and stops at the next. Rows come before columns.
  std::uint8_t* const mask = mask_.data();
  auto row = [mask, width](std::int32_t y) {
    return mask + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
  };
  // The box of nonzero pixels: the column scans find nothing outside it.
  std::int32_t left = width, right = -1, top = height, bottom = -1;
  for (std::int32_t y = 0; y < height; ++y) {
    std::uint8_t* line = row(y);
    std::int32_t x = FirstNonzero(line, 0, width);
    if (x == width) continue;
    left = std::min(left, x);
    top = std::min(top, y);
    bottom = y;
    for (std::int32_t count = 0; x < width && count < n; x = FirstNonzero(line, x + 1, width)) {
      line[x] = kTrimMark;
      ++count;
    }
    x = width - 1;
    while (line[x] == kMaskOutside) --x;
    right = std::max(right, x);
    for (std::int32_t count = 0; x >= 0 && count < n; --x) {
      if (line[x] == kMaskOutside) continue;
      line[x] = kTrimMark;
      ++count;
    }
  }
  // The column scans are independent of one another, so they run side by side, a row
  // at a time, which keeps the memory access sequential.
  if (n > 0 && left <= right) {
    std::vector<std::int32_t> count(static_cast<std::size_t>(right - left + 1));
    auto scanColumns = [&](std::int32_t firstRow, std::int32_t lastRow, std::int32_t step) {
      std::fill(count.begin(), count.end(), 0);
      for (std::int32_t y = firstRow;; y += step) {
        std::uint8_t* line = row(y) + left;
        for (std::size_t x = 0; x < count.size(); ++x) {
          const bool take = count[x] < n && line[x] != kMaskOutside;
          line[x] = take ? kTrimMark : line[x];
          count[x] += take;
        }
        if (y == lastRow) break;
      }
    };
    scanColumns(top, bottom, 1);
    scanColumns(bottom, top, -1);
  }

  std::replace(mask_.begin(), mask_.end(), kTrimMark, kMaskOutside);
  MaskTrimmed = true;
}

}  // namespace orvale
