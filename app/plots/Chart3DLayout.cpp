// Layout of the 3-D chart frame: which box edges carry the axes for the view point,
// the back walls, and the box fitted into the rectangle with room for the titles and
// tick labels.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "app/analysis/Angles.h"
#include "app/analysis/MathConstants.h"
#include "app/plots/ChartText.h"
#include "app/plots/clsChart3D.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

using gdi::DeviceContext;
using gdi::TA_BOTTOM;
using gdi::TA_CENTER;
using gdi::TA_LEFT;
using gdi::TA_RIGHT;
using gdi::TA_TOP;
using TextBox = clsChart3D::TextBox;

// Slopes on the screen, in radians.
constexpr double kFlatAxisAngle = 0.628318530717958;         // pi / 5
constexpr double kHorizontalTitleAngle = 0.39269908169872375;  // pi / 8

// Which box edges the axes take, per 45-degree octant of the azimuth: the corner of the
// z axis (x, and y as a multiple of YStretch), whether it is on the left of the screen,
// and the side of the x and y axes that carries marks and labels.
struct Octant {
  double zx;
  double zySign;
  bool zOnLeft;
  bool labelSide;
};
constexpr Octant kOctants[8] = {
    {1, -1, true, false}, {-1, 1, false, false}, {1, 1, true, true},   {-1, -1, false, true},
    {-1, 1, true, false}, {1, -1, false, false}, {-1, -1, true, true}, {1, 1, false, true},
};

// Alignment of the tick labels and the shift of their reference point by half the text
// height, per situation and orientation code 1..4; `sign` says on which side of the
// axis the labels go (+ below or right, - above or left).
struct LabelPlacement {
  std::uint32_t align[4];
  // Shift by half the text height: 0 none, 'x' plus in x, 'y' minus in y, 'Y' plus in y.
  char shift[4];
  std::int32_t sign;
};
constexpr LabelPlacement kFlatAxis{{TA_CENTER | TA_TOP, TA_LEFT | TA_TOP, TA_RIGHT | TA_BOTTOM,
                                    TA_CENTER | TA_BOTTOM},
                                   {0, 'x', 'x', 0},
                                   +1};
constexpr LabelPlacement kSteepAxisLabelSide{
    {TA_RIGHT, TA_CENTER | TA_TOP, TA_CENTER | TA_BOTTOM, TA_LEFT | TA_BOTTOM}, {'y', 0, 0, 'y'}, -1};
constexpr LabelPlacement kSteepAxisOtherSide{
    {TA_LEFT, TA_CENTER | TA_BOTTOM, TA_CENTER | TA_TOP, TA_RIGHT | TA_BOTTOM}, {'y', 0, 0, 'y'}, +1};
constexpr LabelPlacement kZAxisLeft{
    {TA_RIGHT | TA_BOTTOM, TA_CENTER | TA_TOP, TA_CENTER | TA_BOTTOM, TA_LEFT}, {'Y', 0, 0, 'Y'}, -1};
constexpr LabelPlacement kZAxisRight{
    {TA_LEFT | TA_BOTTOM, TA_CENTER | TA_BOTTOM, TA_CENTER | TA_TOP, TA_RIGHT}, {'Y', 0, 0, 'Y'}, +1};

bool IsTurned(std::int32_t code) { return code == kText270Degrees || code == kText90Degrees; }

// The screen box of a text of `extent` (along and across the text) drawn at `anchor`
// with the alignment `align`, which is read in the turned text's own frame.
TextBox ScreenTextBox(gdi::Point anchor, std::uint32_t align, gdi::Size extent, std::int32_t code) {
  const std::int32_t w = extent.cx, h = extent.cy;
  const std::uint32_t across = align & gdi::kTextAlignHorizontalMask;
  // The text's first pixel along its reading direction and below its top, from the anchor.
  const std::int32_t along0 = across == TA_RIGHT ? -(w - 1) : across == TA_CENTER ? -((w - 1) / 2) : 0;
  const std::int32_t down0 = (align & gdi::kTextAlignVerticalMask) == TA_BOTTOM ? -(h - 1) : 0;
  const std::int32_t x = anchor.x, y = anchor.y;
  switch (code) {
    case kText180Degrees:  // reads right to left, upside down
      return TextBox{x - (along0 + w - 1), y - (down0 + h - 1), h, w};
    case kText90Degrees:  // reads upward, its top to the left
      return TextBox{x + down0, y - (along0 + w - 1), w, h};
    case kText270Degrees:  // reads downward, its top to the right
      return TextBox{x - (down0 + h - 1), y + along0, w, h};
    default:
      return TextBox{x + along0, y + down0, h, w};
  }
}

TextBox Union(const TextBox& a, const TextBox& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  const std::int32_t left = std::min(a.left, b.left), top = std::min(a.top, b.top);
  const std::int32_t right = std::max(a.right(), b.right()), bottom = std::max(a.bottom(), b.bottom());
  return TextBox{left, top, bottom - top + 1, right - left + 1};
}

// Where two lines meet: the line through p with direction d and the line through q and r.
bool Intersect(double px, double py, double dx, double dy, gdi::Point q, gdi::Point r,
               double& x, double& y) {
  const double ex = r.x - q.x, ey = r.y - q.y;
  const double den = dx * ey - dy * ex;
  if (std::fabs(den) < 1e-9) return false;
  const double t = ((q.x - px) * ey - (q.y - py) * ex) / den;
  x = px + t * dx;
  y = py + t * dy;
  return std::isfinite(x) && std::isfinite(y);
}

}  // namespace

bool clsChart3D::AxisLiesFlat(std::int32_t axisid) const {
  const gdi::Point s = AxisStartPixel(axisid), e = AxisEndPixel(axisid);
  if (s == e) return false;
  return std::fabs(LineAngleL(PointL{s.x, s.y}, PointL{e.x, e.y})) < kFlatAxisAngle;
}

// + when the marks and labels of the axis go below or right of it, - above or left.
std::int32_t clsChart3D::LabelSideSign(std::int32_t axisid) const {
  if (axisid == kAxisZ) return ZOnLeft_ ? -1 : 1;
  if (AxisLiesFlat(axisid)) return 1;
  const bool side = axisid == kAxisY ? !LabelSide_ : LabelSide_;
  return side ? -1 : 1;
}

// How far the labels stand off the axis for the tick marks, toward `sign`.
std::int32_t clsChart3D::TickRoom(std::int32_t axisid, std::int32_t sign) const {
  const ChartAxis& a = Axis(axisid);
  const auto outward = [](std::int32_t style) { return style == kTickOutside || style == kTickAcross; };
  if (outward(a.MajorTickStyle)) return 3 * sign * TICKMAJORLENGTH / 2;
  if (a.MajorTickStyle == kTickInside && outward(a.MinorTickStyle))
    return 3 * sign * TICKMINORLENGTH / 2;
  return 0;
}

clsChart3D::MarkRun clsChart3D::MajorRun(std::int32_t axisid, std::int32_t n) const {
  const ChartAxis& a = Axis(axisid);
  const gdi::Point s = AxisStartPixel(axisid), e = AxisEndPixel(axisid);
  MarkRun run;
  run.n = std::max(n, 0);
  run.x0 = s.x;
  run.y0 = s.y;
  if ((a.LogScale && a.Min > 0 && a.Max > 0) || a.AutoMajor) {
    if (run.n > 1) {
      run.dx = (e.x - s.x) / static_cast<double>(run.n - 1);
      run.dy = (e.y - s.y) / static_cast<double>(run.n - 1);
    }
  } else if (a.Max > a.Min) {
    run.dx = a.Major * (e.x - s.x) / (a.Max - a.Min);
    run.dy = a.Major * (e.y - s.y) / (a.Max - a.Min);
    if (run.n >= 1 && a.Min + (run.n - 1) * a.Major > a.Max) --run.n;
  } else {
    run.n = std::min(run.n, 1);
  }
  return run;
}

gdi::Size clsChart3D::MeasureChartTitle(DeviceContext& hDC) const {
  const FontSpec& f = ChartTitle_;
  if (f.Caption.empty() || f.Escapement <= 0) return {};
  const gdi::Size t = MeasureChartText(hDC, f, f.Caption);
  if (IsTurned(f.Escapement)) return {t.cy, RoundToInt32(t.cx + t.cy / 2.0)};
  return {t.cx, RoundToInt32(1.5 * t.cy)};
}

std::int32_t clsChart3D::MeasureZAxisRoom(DeviceContext& hDC) const {
  const ChartAxis& z = Axis(kAxisZ);
  std::int32_t room = 0;
  const FontSpec& title = z.TitleFont;
  if (!title.Caption.empty() && title.Escapement > 0) {
    const gdi::Size t = MeasureChartText(hDC, title, title.Caption);
    room += IsTurned(title.Escapement) ? RoundToInt32(1.5 * t.cy) : RoundToInt32(t.cy / 2.0 + t.cx);
  }
  const FontSpec& labels = z.LabelFont;
  if (labels.Caption.size() > 1) {
    std::int32_t widest = 0, height = 0;
    for (std::string_view text : SplitLabels(labels.Caption)) {
      const gdi::Size t = MeasureChartText(hDC, labels, text);
      widest = std::max(widest, t.cx);
      height = std::max(height, t.cy);
    }
    if (labels.Escapement == kTextHorizontal || labels.Escapement == kText180Degrees) room += widest;
    else if (IsTurned(labels.Escapement)) room += height;
  }
  if (z.MajorTickStyle == kTickOutside || z.MajorTickStyle == kTickAcross)
    room += RoundToInt32(1.5 * TICKMAJORLENGTH);
  else if (z.MinorTickStyle == kTickOutside || z.MinorTickStyle == kTickAcross)
    room += RoundToInt32(1.5 * TICKMINORLENGTH);
  return room;
}

void clsChart3D::CreateChartLimits(DeviceContext& hDC, std::int32_t wleft, std::int32_t wtop,
                                   std::int32_t wright, std::int32_t wbottom) {
  if (!(wbottom > wtop && wright > wleft)) return;
  // Without a usable view point no octant applies and there is nothing to lay out.
  if (!ViewUsable()) return;

  // The axes lie on the box edges nearest the eye.
  const std::int32_t a = ((RoundToInt32(ViewTheta) % 360) + 360) % 360;
  const double ys = YStretch, zs = ZStretch;
  const double Ya = a < 180 ? ys : -ys;
  const double Xa = (a < 90 || a >= 270) ? 1 : -1;
  const Octant& o = kOctants[a / 45];
  ZOnLeft_ = o.zOnLeft;
  LabelSide_ = o.labelSide;
  const double Xz = o.zx, Yz = o.zySign * ys;
  AxisEnds_ = {Point3D{-1, Ya, -zs}, {1, Ya, -zs}, {Xa, -ys, -zs},
               {Xa, ys, -zs},        {Xz, Yz, -zs}, {Xz, Yz, zs}};

  // The z title reads along the side it stands on.
  std::int32_t& zCode = Axis(kAxisZ).TitleFont.Escapement;
  if (zCode == kText270Degrees && ZOnLeft_)
    zCode = kText90Degrees;
  else if (zCode == kText90Degrees && !ZOnLeft_)
    zCode = kText270Degrees;

  // The two walls behind the surface, as one outline and their shared edge.
  const double Xb = -Xa, Yb = -Ya;
  if (LabelSide_ != ZOnLeft_)
    BackWall_ = {Point3D{Xa, Yb, zs}, {Xb, Yb, zs},  {Xb, Ya, zs},
                 {Xb, Ya, -zs},       {Xb, Yb, -zs}, {Xa, Yb, -zs}};
  else
    BackWall_ = {Point3D{Xb, Ya, zs}, {Xb, Yb, zs},  {Xa, Yb, zs},
                 {Xa, Yb, -zs},       {Xb, Yb, -zs}, {Xb, Ya, -zs}};
  for (std::size_t i = 0; i < BackWall_.size(); ++i) ProjectedBackWall_[i] = Project(BackWall_[i]);
  ProjectFrame();

  const gdi::Size title = MeasureChartTitle(hDC);
  ChartTitleBox_ = TextBox{RoundToInt32((static_cast<double>(wleft) + wright) / 2 - title.cx / 2.0),
                           wtop, title.cy, title.cx};

  // The box beside the z axis's labels and title and below the chart title.
  const std::int32_t room = MeasureZAxisRoom(hDC);
  std::int32_t left = ZOnLeft_ ? wleft + room : wleft;
  std::int32_t right = ZOnLeft_ ? wright : wright - room;
  std::int32_t top = wtop + title.cy;
  std::int32_t bottom = wbottom;
  // A rectangle squeezed to nothing keeps the last fit rather than turning the box over.
  const auto fit = [&] {
    if (right > left && bottom > top) CalcScaleFactors(left, top, right, bottom);
  };
  fit();

  const gdi::Point zLow = AxisStartPixel(kAxisZ), zHigh = AxisEndPixel(kAxisZ);
  bool moved = false;
  if (zHigh.y < wtop) {
    top += wtop - zHigh.y;
    moved = true;
  }
  if (zLow.y > wbottom) {
    bottom -= zLow.y - wbottom;
    moved = true;
  }
  if (ViewR > 0 && zHigh.x != zLow.x) {
    const std::int32_t slant = std::abs(zHigh.x - zLow.x);
    if (ZOnLeft_)
      left += slant;
    else
      right -= slant;
    moved = true;
  }
  if (moved) fit();

  // Pull the box in until the labels and titles of x and y fit the rectangle.
  for (int pass = 0; pass < 2; ++pass) {
    std::int32_t overLeft = 0, overTop = 0, overRight = 0, overBottom = 0;
    for (const std::int32_t id : {kAxisX, kAxisY}) {
      PlaceTickLabels(hDC, id);
      PlaceAxisTitle(hDC, id);
      const TextBox b = GetAxisTextBounds(id);
      if (b.empty()) continue;
      overLeft = std::max(overLeft, wleft - b.left);
      overTop = std::max(overTop, wtop - b.top);
      overRight = std::max(overRight, b.right() - wright);
      overBottom = std::max(overBottom, b.bottom() - wbottom);
    }
    left += overLeft;
    top += overTop;
    right -= overRight;
    bottom -= overBottom;
    fit();
  }

  for (const std::int32_t id : {kAxisX, kAxisY, kAxisZ}) {
    PlaceTickLabels(hDC, id);
    PlaceAxisTitle(hDC, id);
  }
  LaidOut_ = true;
}

void clsChart3D::PlaceTickLabels(DeviceContext& hDC, std::int32_t axisid) {
  AxisLayout& layout = Layout_[static_cast<std::size_t>(axisid)];
  layout.labels.clear();
  layout.anchors.clear();
  const ChartAxis& a = Axis(axisid);
  if (a.LabelFont.Caption.empty()) return;
  const std::vector<std::string_view> texts = SplitLabels(a.LabelFont.Caption);
  std::int32_t n = a.Major > 0 ? std::clamp(a.NumLabels, 0, kMaxTickLabels) : 0;
  n = std::min(n, static_cast<std::int32_t>(texts.size()));
  const MarkRun run = MajorRun(axisid, n);
  if (run.n <= 0) return;

  const std::int32_t code = a.LabelFont.Escapement;
  const bool flat = AxisLiesFlat(axisid);
  const LabelPlacement* placement;
  if (axisid == kAxisZ)
    placement = ZOnLeft_ ? &kZAxisLeft : &kZAxisRight;
  else if (flat)
    placement = &kFlatAxis;
  else
    placement = LabelSideSign(axisid) < 0 ? &kSteepAxisLabelSide : &kSteepAxisOtherSide;

  std::vector<gdi::Size> extents;
  std::int32_t textHeight = 0;
  for (std::int32_t i = 0; i < run.n; ++i) {
    extents.push_back(MeasureChartText(hDC, a.LabelFont, texts[static_cast<std::size_t>(i)]));
    textHeight = std::max(textHeight, extents.back().cy);
  }
  const std::int32_t half = RoundToInt32(textHeight / 2.0);

  std::uint32_t align = TA_LEFT | TA_TOP;
  std::int32_t shiftX = 0, shiftY = 0;
  if (code >= 1 && code <= 4) {
    align = placement->align[code - 1];
    switch (placement->shift[code - 1]) {
      case 'x': shiftX = half; break;
      case 'y': shiftY = -half; break;
      case 'Y': shiftY = half; break;
      default: break;
    }
  }
  const std::int32_t sign = placement->sign;
  const std::int32_t room = TickRoom(axisid, sign);
  if (flat)
    shiftY += room;
  else
    shiftX += room;

  for (std::int32_t i = 0; i < run.n; ++i) {
    const gdi::Point anchor{RoundToInt32(run.x0 + RoundHalfEven(i * run.dx)) + shiftX,
                            RoundToInt32(run.y0 + RoundHalfEven(i * run.dy)) + shiftY};
    layout.anchors.push_back(anchor);
    layout.labels.push_back(ScreenTextBox(anchor, align, extents[static_cast<std::size_t>(i)], code));
  }
  layout.align = align;

  // On a slanted x or y axis the labels may reach over the line: move them all off it,
  // down from a flat axis, sideways away from a steep one.
  const gdi::Point s = AxisStartPixel(axisid), e = AxisEndPixel(axisid);
  if (axisid == kAxisZ || s.x == e.x || s.y == e.y) return;
  double reach = 0;
  for (const TextBox& box : layout.labels) {
    if (flat) {
      const double slope = static_cast<double>(e.y - s.y) / (e.x - s.x);
      for (const std::int32_t x : {box.left, box.right()})
        reach = std::max(reach, s.y + (x - s.x) * slope - box.top + 1);
    } else {
      const double slope = static_cast<double>(e.x - s.x) / (e.y - s.y);
      for (const std::int32_t y : {box.top, box.bottom()}) {
        const double lineX = s.x + (y - s.y) * slope;
        reach = std::max(reach, sign > 0 ? lineX - box.left + 1 : box.right() - lineX + 1);
      }
    }
  }
  const std::int32_t shift = static_cast<std::int32_t>(std::ceil(reach));
  if (shift <= 0) return;
  for (std::size_t i = 0; i < layout.labels.size(); ++i) {
    if (flat) {
      layout.labels[i].top += shift;
      layout.anchors[i].y += shift;
    } else {
      layout.labels[i].left += sign * shift;
      layout.anchors[i].x += sign * shift;
    }
  }
}

void clsChart3D::PlaceAxisTitle(DeviceContext& hDC, std::int32_t axisid) {
  AxisLayout& layout = Layout_[static_cast<std::size_t>(axisid)];
  layout.title = TextBox{};
  const FontSpec& f = Axis(axisid).TitleFont;
  if (f.Caption.empty() || f.Escapement <= 0) return;
  const gdi::Size text = MeasureChartText(hDC, f, f.Caption);
  const bool turned = IsTurned(f.Escapement);
  const std::int32_t w = turned ? text.cy : text.cx;
  const std::int32_t h = turned ? text.cx : text.cy;
  const gdi::Point s = AxisStartPixel(axisid), e = AxisEndPixel(axisid);
  TextBox labels;
  for (const TextBox& b : layout.labels) labels = Union(labels, b);

  if (axisid == kAxisZ) {
    // Half a text height beyond the labels, on the outer side, level with the axis middle.
    const std::int32_t gap = RoundToInt32(text.cy / 2.0);
    std::int32_t edge;
    if (ZOnLeft_) {
      edge = labels.empty() ? std::min(s.x, e.x) + TickRoom(axisid, -1) : labels.left;
      layout.title.left = edge - gap - w;
    } else {
      edge = labels.empty() ? std::max(s.x, e.x) + TickRoom(axisid, 1) : labels.right();
      layout.title.left = edge + gap + 1;
    }
    layout.title.top = (s.y + e.y) / 2 - h / 2;
    layout.title.width = w;
    layout.title.height = h;
    return;
  }

  // The title's box with some air round the text.
  const double boxW = w + text.cy;
  const double boxH = h + text.cy / 2.0;
  double cx, cy;  // centre of that box
  const double angle = s == e ? kHalfPi : LineAngleL(PointL{s.x, s.y}, PointL{e.x, e.y});
  if (std::fabs(angle) < kHorizontalTitleAngle && ViewPhi > 74) {
    // Seen from the side: centred below the axis and its labels.
    cx = (s.x + e.x) / 2.0;
    const double lowest = labels.empty() ? std::max(s.y, e.y) + std::abs(TickRoom(axisid, 1))
                                         : labels.bottom();
    cy = lowest + 1 + boxH / 2;
  } else {
    // Beyond the outermost label corner, where the line parallel to the axis through it
    // meets the middle line of the floor across this axis.
    const double dx = e.x - s.x, dy = e.y - s.y;
    const double zs = ZStretch, ys = YStretch;
    const Point3D across[2] = {axisid == kAxisX ? Point3D{0, -ys, -zs} : Point3D{-1, 0, -zs},
                               axisid == kAxisX ? Point3D{0, ys, -zs} : Point3D{1, 0, -zs}};
    const gdi::Point q = ProjectToScreen(Project(across[0]));
    const gdi::Point r = ProjectToScreen(Project(across[1]));
    // Outward: perpendicular to the axis, away from the floor's middle.
    const gdi::Point middle = ProjectToScreen(Project(Point3D{0, 0, -zs}));
    double nx = -dy, ny = dx;
    if (nx * ((s.x + e.x) / 2.0 - middle.x) + ny * ((s.y + e.y) / 2.0 - middle.y) < 0) {
      nx = -nx;
      ny = -ny;
    }
    double kx = s.x, ky = s.y;
    double best = -HUGE_VAL;
    for (const TextBox& b : layout.labels) {
      for (const std::int32_t x : {b.left, b.right()}) {
        for (const std::int32_t y : {b.top, b.bottom()}) {
          const double d = nx * x + ny * y;
          if (d > best) {
            best = d;
            kx = x;
            ky = y;
          }
        }
      }
    }
    double px, py;
    if (!Intersect(kx, ky, dx, dy, q, r, px, py)) {
      px = kx;
      py = ky;
    }
    const double m = std::max(std::fabs(nx), std::fabs(ny));
    const double ox = m > 0 ? nx / m : 0, oy = m > 0 ? ny / m : 0;
    cx = px + ox * boxW / 2;
    cy = py + oy * boxH / 2;
  }
  layout.title.left = RoundToInt32(cx - w / 2.0);
  layout.title.top = RoundToInt32(cy - h / 2.0);
  layout.title.width = w;
  layout.title.height = h;
}

TextBox clsChart3D::GetAxisTextBounds(std::int32_t axisid) const {
  const AxisLayout& layout = Layout_[static_cast<std::size_t>(axisid)];
  TextBox bounds = layout.title;
  for (const TextBox& b : layout.labels) bounds = Union(bounds, b);
  return bounds;
}

}  // namespace orvale
