// Drawing of the 3-D chart frame through a DeviceContext: axis lines, tick marks, tick
// labels, titles, the floor and the back walls. Every step selects its own objects and
// puts the previous ones back.
#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "app/analysis/MathBasics.h"
#include "app/document/FloatingHorizon.h"
#include "app/plots/ChartText.h"
#include "app/plots/clsChart3D.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

using gdi::DeviceContext;
using TextBox = clsChart3D::TextBox;

bool Overlap(const TextBox& a, const TextBox& b) {
  if (a.empty() || b.empty()) return false;
  return a.left <= b.right() && b.left <= a.right() && a.top <= b.bottom() && b.top <= a.bottom();
}

// A tick mark of `length` pixels at `p` in the direction (dx, dy): style 1 points the
// other way, style 3 crosses the axis.
void TickStroke(DeviceContext& dc, gdi::Point p, std::int32_t dx, std::int32_t dy,
                std::int32_t style, std::int32_t length) {
  if (style == kTickNone) return;
  std::int32_t from = 0, to = length;
  if (style == kTickInside) to = -length;
  if (style == kTickAcross) from = -length;
  dc.MoveTo(p.x + from * dx, p.y + from * dy);
  dc.LineTo(p.x + to * dx, p.y + to * dy);
}

}  // namespace

void clsChart3D::ChartRedraw(DeviceContext& hDC) const {
  if (!LaidOut_ || !ViewUsable()) return;
  for (const std::int32_t id : {kAxisX, kAxisY, kAxisZ}) DrawAxisLine(hDC, id);
  for (const std::int32_t id : {kAxisX, kAxisY, kAxisZ}) DrawTickMarks(hDC, id);
  for (const std::int32_t id : {kAxisX, kAxisY, kAxisZ}) DrawTickLabels(hDC, id);
  for (const std::int32_t id : {kAxisX, kAxisY, kAxisZ}) DrawAxisTitle(hDC, id);
  DrawChartTitle(hDC);
  if (DrawFloor) DrawFloorArea(hDC);
  if (DrawBackWalls) DrawBackWallLines(hDC);
}

void clsChart3D::DrawAxisLine(DeviceContext& hDC, std::int32_t axisid) const {
  ScopedPen pen(hDC, Axis(axisid).AxisPen);
  if (!pen.ok()) {
    ShowMessage("Internal Application Error\nCould not create pen", mb::kOk, "Error",
                kMainWindowOwner);
    return;
  }
  const gdi::Point s = AxisStartPixel(axisid), e = AxisEndPixel(axisid);
  hDC.MoveTo(s.x, s.y);
  hDC.LineTo(e.x, e.y);
}

std::int32_t clsChart3D::MajorMarkCount(std::int32_t axisid) const {
  const ChartAxis& a = Axis(axisid);
  double count;
  if (a.LogScale) {
    if (!(a.Min > 0)) return 0;
    count = RoundHalfEven(Log10(a.Max / a.Min / a.Major)) + 2;
  } else {
    count = RoundHalfEven(std::abs(a.Max - a.Min) / a.Major) + 1;
  }
  if (!(count >= 1)) return 0;
  // Marks closer than a pixel are drawn as the two ends alone, so a larger count than
  // the axis has pixels never matters.
  return count > 1e6 ? 1000000 : static_cast<std::int32_t>(count);
}

void clsChart3D::DrawTickMarks(DeviceContext& hDC, std::int32_t axisid) const {
  const ChartAxis& a = Axis(axisid);
  if (a.MajorTickStyle == kTickNone || !(a.Max > a.Min) || !(a.Major > 0)) return;
  ScopedPen pen(hDC, a.TickPen);
  if (!pen.ok()) return;

  const bool flat = AxisLiesFlat(axisid);
  const std::int32_t sign = LabelSideSign(axisid);
  const std::int32_t dx = flat ? 0 : sign, dy = flat ? sign : 0;
  const gdi::Point s = AxisStartPixel(axisid), e = AxisEndPixel(axisid);
  const auto at = [](double x0, double y0, double stepX, double stepY, double i) {
    return gdi::Point{RoundToInt32(x0 + RoundHalfEven(i * stepX)),
                      RoundToInt32(y0 + RoundHalfEven(i * stepY))};
  };

  const MarkRun major = MajorRun(axisid, MajorMarkCount(axisid));
  std::vector<gdi::Point> majors;
  if (std::fabs(major.dx) <= TICKMINORLENGTH && std::fabs(major.dy) <= TICKMINORLENGTH) {
    majors = {s, e};  // too close to tell apart: the two ends only
  } else {
    for (std::int32_t i = 0; i < major.n; ++i) majors.push_back(at(major.x0, major.y0, major.dx, major.dy, i));
  }
  for (const gdi::Point& p : majors) TickStroke(hDC, p, dx, dy, a.MajorTickStyle, TICKMAJORLENGTH);

  if (a.MinorTickStyle == kTickNone || !(a.Minor > 0)) return;
  std::vector<gdi::Point> minors;
  if (a.LogScale) {
    if (!(a.Major > 1)) return;
    for (std::int32_t i = 0; i + 1 < major.n; ++i) {
      for (int k = 2; k <= 9; ++k) {
        const double f = std::log10(k) / std::log10(a.Major);
        if (f >= 1) break;
        minors.push_back(at(major.x0, major.y0, major.dx, major.dy, i + f));
      }
    }
    if (major.n > 1 && std::fabs(major.dx) * std::log10(10.0 / 9) < TICKMINORLENGTH &&
        std::fabs(major.dy) * std::log10(10.0 / 9) < TICKMINORLENGTH)
      minors.clear();  // the closest pair is too close
  } else {
    double count = RoundHalfEven(std::abs(a.Max - a.Min) / a.Minor) + 1;
    if (!(count >= 2)) return;
    double stepX, stepY;
    if (a.AutoMinor) {
      stepX = (e.x - s.x) / (count - 1);
      stepY = (e.y - s.y) / (count - 1);
    } else {
      stepX = a.Minor * (e.x - s.x) / (a.Max - a.Min);
      stepY = a.Minor * (e.y - s.y) / (a.Max - a.Min);
      while (count >= 1 && a.Min + (count - 1) * a.Minor > a.Max) --count;
    }
    if (std::fabs(stepX) < TICKMINORLENGTH && std::fabs(stepY) < TICKMINORLENGTH) return;
    for (std::int32_t i = 0; i < count; ++i) minors.push_back(at(s.x, s.y, stepX, stepY, i));
  }
  // Evenly spread minor marks leave out the places of the major ones.
  const bool skipMajors = a.AutoMinor && a.MajorTickStyle != kTickNone;
  for (const gdi::Point& p : minors) {
    if (skipMajors && std::find(majors.begin(), majors.end(), p) != majors.end()) continue;
    TickStroke(hDC, p, dx, dy, a.MinorTickStyle, TICKMINORLENGTH);
  }
}

std::vector<bool> clsChart3D::ShownLabels(std::int32_t axisid) const {
  const std::vector<TextBox>& boxes = LabelBoxes(axisid);
  const std::size_t n = boxes.size();
  std::vector<bool> shown(n, true);
  if (n == 0) return shown;
  if (axisid == kAxisZ && ViewPhi == 0) {
    // Looking straight down the z axis all its labels stand on one point.
    std::fill(shown.begin() + 1, shown.end(), false);
  } else {
    std::size_t overlaps = 0;
    for (std::size_t i = 1; i < n; ++i)
      if (Overlap(boxes[i], boxes[i - 1])) ++overlaps;
    if (overlaps > 0) {
      for (std::size_t i = 0; i < n; ++i) {
        if (2 * overlaps < n)
          shown[i] = i % 2 == 0;
        else if (4 * overlaps >= 3 * n)
          shown[i] = i == 0 || i == n - 1;
        else
          shown[i] = i % 3 == 0;
      }
    }
  }
  // The end labels give way to the end labels of the neighbouring axis.
  const std::int32_t neighbour = axisid == kAxisX ? kAxisZ : axisid == kAxisY ? kAxisX : kAxisY;
  const std::vector<TextBox>& other = LabelBoxes(neighbour);
  if (!other.empty()) {
    for (const std::size_t i : {std::size_t{0}, n - 1}) {
      if (Overlap(boxes[i], other.front()) || Overlap(boxes[i], other.back())) shown[i] = false;
    }
  }
  return shown;
}

void clsChart3D::DrawTickLabels(DeviceContext& hDC, std::int32_t axisid) const {
  const AxisLayout& layout = Layout_[static_cast<std::size_t>(axisid)];
  if (layout.labels.empty()) return;
  const FontSpec& f = Axis(axisid).LabelFont;
  const std::vector<std::string_view> texts = SplitLabels(f.Caption);
  const std::vector<bool> shown = ShownLabels(axisid);
  ScopedChartFont font(hDC, f);
  if (!font.ok()) return;
  ScopedTextStyle style(hDC, layout.align, f.colour);
  for (std::size_t i = 0; i < layout.anchors.size() && i < texts.size(); ++i) {
    if (shown[i] && !texts[i].empty()) hDC.TextOut(layout.anchors[i].x, layout.anchors[i].y, texts[i]);
  }
}

void clsChart3D::DrawAxisTitle(DeviceContext& hDC, std::int32_t axisid) const {
  const TextBox& box = Layout_[static_cast<std::size_t>(axisid)].title;
  DrawChartText(hDC, Axis(axisid).TitleFont, box.left, box.top);
}

void clsChart3D::DrawChartTitle(DeviceContext& hDC) const {
  DrawChartText(hDC, ChartTitle_, ChartTitleBox_.left, ChartTitleBox_.top);
}

void clsChart3D::DrawFloorArea(DeviceContext& hDC) const {
  std::array<gdi::Point, 4> floor;
  for (std::size_t i = 0; i < floor.size(); ++i) floor[i] = ProjectToScreen(ProjectedCorners_[i]);
  const gdi::Pen previousPen = hDC.SelectPen(gdi::Pen{gdi::PS_SOLID, 1, FloorColor});
  const gdi::Brush previousBrush = hDC.SelectBrush(gdi::CreateSolidBrush(FloorColor));
  hDC.Polygon(floor);
  hDC.SelectBrush(previousBrush);
  hDC.SelectPen(previousPen);
}

void clsChart3D::DrawBackWallLines(DeviceContext& hDC) const {
  std::array<gdi::Point, 6> wall;
  for (std::size_t i = 0; i < wall.size(); ++i) wall[i] = ProjectToScreen(ProjectedBackWall_[i]);
  constexpr std::pair<int, int> kSegments[6] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {1, 4}};
  if (HorizonWidth > 0) {
    // Behind the wire surface: only where the walls rise above it, never hiding it.
    gdi::DeviceContext* const previousDC = HorizonDC;
    const gdi::Color previousColor = HorizonColor;
    HorizonDC = &hDC;
    HorizonColor = WallPen.Color;
    for (const auto& [from, to] : kSegments)
      PlotAboveHorizonLine(wall[from].x, wall[from].y, wall[to].x, wall[to].y);
    HorizonDC = previousDC;
    HorizonColor = previousColor;
    return;
  }
  ScopedPen pen(hDC, WallPen);
  if (!pen.ok()) return;
  hDC.Polyline(wall);
  hDC.MoveTo(wall[1].x, wall[1].y);
  hDC.LineTo(wall[4].x, wall[4].y);
}

}  // namespace orvale
