// Layout and drawing of the 2-D chart frame: tick lengths for screen or printer, the
// plot rectangle and title positions, and the frame, titles, axis lines, ticks, labels
// and grid lines drawn through a DeviceContext. Every step selects its own objects and
// puts the previous ones back.
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "app/analysis/MathBasics.h"
#include "app/document/LineWidth.h"
#include "app/plots/ChartScaling.h"
#include "app/plots/ChartText.h"
#include "app/plots/clsChart2D.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

using gdi::DeviceContext;

void Line(DeviceContext& dc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
}

void ClosedOutline(DeviceContext& dc, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                   std::int32_t y2) {
  const gdi::Point pts[5] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
  dc.Polyline(pts);
}

}  // namespace

void clsChart2D::SetTickMarkLengths(gdi::DeviceContext* hDCPrinter) {
  TickLengthsForDevice(hDCPrinter, TICKMAJORLENGTH, TICKMINORLENGTH);
}

clsChart2D::AxisRun clsChart2D::RunOf(std::int32_t axisid) const {
  if (IsHorizontal(axisid)) return {double(PlotRect.left), double(PlotRight()), double(PlotRect.width - 1)};
  return {double(PlotBottom()), double(PlotRect.top), double(1 - PlotRect.height)};
}

// n and step of the major marks of an axis (labels, ticks, major grid). False when the
// axis has none.
bool clsChart2D::MajorMarks(std::int32_t axisid, bool twoEndRule, std::int32_t& n, double& step) const {
  const ChartAxis& a = Axis(axisid);
  const AxisRun r = RunOf(axisid);
  n = std::clamp(a.NumLabels, 0, kMaxTickLabels);
  step = 0;
  if (a.LogScale || a.AutoMajor) {
    if (n > 1) step = r.run / (n - 1);
  } else {
    if (n >= 1 && a.Min + (n - 1) * a.Major > a.Max) --n;
    step = a.Major * r.run / (a.Max - a.Min);
  }
  if (twoEndRule && TICKMINORLENGTH >= std::abs(step)) {
    n = 2;
    step = r.end - r.start;
  }
  return n >= 1;
}

void clsChart2D::AxisLine(DeviceContext& hDC, std::int32_t axisid) const {
  if (!HasPlot()) return;
  const bool vertical = !IsHorizontal(axisid);
  std::int32_t refId;
  if (vertical)
    refId = axisid == kAxisRight && Axis(kAxisTop).Visible ? kAxisTop : kAxisBottom;
  else
    refId = axisid == kAxisTop && Axis(kAxisRight).Visible ? kAxisRight : kAxisLeft;
  const ChartAxis& ref = Axis(refId);
  if (ref.Min == ref.Max) return;

  const double left = PlotRect.left, right = PlotRight(), top = PlotRect.top, bottom = PlotBottom();
  double pos;
  if (ref.LogScale) {
    if (!(ref.Max > 0) || !(ref.Min > 0) || !(ref.Cross > 0)) return;
    const double span = std::log(ref.Max / ref.Min);
    pos = vertical ? left + std::log(ref.Cross / ref.Min) * (right - left) / span
                   : top + std::log(ref.Max / ref.Cross) * (bottom - top) / span;
  } else if (ref.Cross == ref.Min) {
    pos = vertical ? left : bottom;
  } else {
    pos = vertical ? left + (ref.Cross - ref.Min) * (right - left) / (ref.Max - ref.Min)
                   : top + (ref.Max - ref.Cross) * (bottom - top) / (ref.Max - ref.Min);
  }
  if (std::isnan(pos)) return;
  ScopedPen pen(hDC, Axis(axisid).AxisPen);
  if (!pen.ok()) return;
  if (vertical) {
    const std::int32_t x = std::clamp(DevicePixel(pos), PlotRect.left, PlotRight());
    Line(hDC, x, PlotRect.top, x, PlotRect.top + PlotRect.height);
  } else {
    const std::int32_t y = std::clamp(DevicePixel(pos), PlotRect.top, PlotBottom());
    Line(hDC, PlotRect.left, y, PlotRect.left + PlotRect.width, y);
  }
}

namespace {

// One tick perpendicular to the axis at `pos` along it.
void Tick(DeviceContext& dc, bool horizontalAxis, std::int32_t pos, std::int32_t base,
          std::int32_t length, std::int32_t style) {
  std::int32_t from, to;
  switch (style) {
    case kTickInside: from = base - length; to = base; break;
    case kTickOutside: from = base; to = base + length; break;
    case kTickAcross: from = base - length; to = base + length; break;
    default: return;
  }
  if (horizontalAxis)
    Line(dc, pos, from, pos, to);
  else
    Line(dc, from, pos, to, pos);
}

}  // namespace

namespace {

// Minor marks of a linear axis: `count` marks `step` pixels apart from the near end,
// leaving out every `leaveOut`-th one (0: none) because a major mark stands there.
struct MinorPlan {
  std::int32_t count = 0;
  double step = 0;
  std::int32_t leaveOut = 0;
};

bool PlanMinorMarks(const ChartAxis& a, double run, std::int32_t nMajor, MinorPlan& plan) {
  const double count = RoundHalfEven(std::abs(a.Max - a.Min) / a.Minor) + 1;
  // More marks than pixels along the axis cannot be told apart: none are drawn.
  if (!(count <= std::abs(run) + 2)) return false;
  plan.count = static_cast<std::int32_t>(count);
  if (!a.AutoMinor) {
    if (a.Min + (plan.count - 1) * a.Minor > a.Max) --plan.count;
    plan.step = a.Minor * run / (a.Max - a.Min);
  } else if (plan.count > 1) {
    plan.step = run / (plan.count - 1);
  }
  if (a.AutoMinor && a.MajorTickStyle != kTickNone) {
    if (nMajor < 2) return false;
    plan.leaveOut = std::max<std::int32_t>(1, RoundToInt32(double(plan.count - 1) / (nMajor - 1)));
  }
  return true;
}

template <class Visit>
void ForEachMinorMark(const MinorPlan& plan, double start, std::int32_t first, Visit&& visit) {
  for (std::int32_t i = first; i < plan.count; ++i) {
    if (plan.leaveOut > 0 && i % plan.leaveOut == 0) continue;
    visit(start + RoundHalfEven(i * plan.step));
  }
}

// Minor marks of a log axis: 2..9 within each decade between consecutive major marks.
template <class Visit>
void ForEachDecadeMark(double start, std::int32_t n, double majorStep, Visit&& visit) {
  for (std::int32_t j = 0; j + 1 < n; ++j) {
    const double decade = start + RoundHalfEven(j * majorStep);
    for (int k = 2; k <= 9; ++k) visit(decade + RoundHalfEven(Log10(k) * majorStep));
  }
}

}  // namespace

void clsChart2D::TickMarks(DeviceContext& hDC, std::int32_t axisid) const {
  const ChartAxis& a = Axis(axisid);
  if (a.Min == a.Max || !HasPlot() || !(a.Major > 0) || !(a.Minor > 0)) return;
  if (a.LogScale && (!(a.Max > 0) || !(a.Min > 0))) return;
  const bool horizontal = IsHorizontal(axisid);
  std::int32_t base = 0, major = TICKMAJORLENGTH, minor = TICKMINORLENGTH;
  switch (axisid) {
    case kAxisBottom: base = PlotBottom(); break;
    case kAxisLeft: base = PlotRect.left; major = -major; minor = -minor; break;
    case kAxisTop: base = PlotRect.top; major = -major; minor = -minor; break;
    default: base = PlotRight(); break;
  }
  ScopedPen pen(hDC, a.TickPen);
  if (!pen.ok()) return;
  const AxisRun r = RunOf(axisid);

  std::int32_t n = 0;
  double step = 0;
  if (MajorMarks(axisid, true, n, step)) {
    for (std::int32_t i = 0; i < n; ++i)
      Tick(hDC, horizontal, DevicePixel(r.start + RoundHalfEven(i * step)), base, major, a.MajorTickStyle);
  }
  if (a.MinorTickStyle == kTickNone) return;

  std::int32_t nLabels = 0;
  double majorStep = 0;
  MajorMarks(axisid, false, nLabels, majorStep);
  const auto draw = [&](double pos) { Tick(hDC, horizontal, DevicePixel(pos), base, minor, a.MinorTickStyle); };
  if (a.LogScale) {
    if (TICKMINORLENGTH <= std::abs(majorStep)) ForEachDecadeMark(r.start, nLabels, majorStep, draw);
    return;
  }
  // Minor ticks only when they stand at least a minor tick length apart.
  MinorPlan plan;
  if (PlanMinorMarks(a, r.run, nLabels, plan) && TICKMINORLENGTH <= std::abs(plan.step))
    ForEachMinorMark(plan, r.start, 0, draw);
}

void clsChart2D::TickLabels(DeviceContext& hDC, std::int32_t axisid) const {
  const ChartAxis& a = Axis(axisid);
  const std::int32_t code = a.LabelFont.Escapement;
  if (a.LabelFont.Caption.empty() || code == 0 || a.MajorTickStyle == kTickNone || a.Min == a.Max ||
      !HasPlot() || !(a.Major > 0))
    return;
  if (a.LogScale && (!(a.Max > 0) || !(a.Min > 0))) return;
  std::int32_t n = 0;
  double step = 0;
  if (!MajorMarks(axisid, false, n, step)) return;

  ScopedChartFont font(hDC, a.LabelFont);
  gdi::Size whole;
  if (!font.ok() || !hDC.GetTextExtentPoint32(a.LabelFont.Caption, whole)) return;
  const std::int32_t half = whole.cy / 2;

  // Text line, alignment and the shift along the axis, by axis and orientation code.
  using gdi::TA_BOTTOM, gdi::TA_CENTER, gdi::TA_LEFT, gdi::TA_RIGHT, gdi::TA_TOP;
  std::int32_t line = 0;
  std::uint32_t align = TA_LEFT | TA_TOP;
  std::int32_t shift = 0;
  const std::uint32_t kAlign[4][4] = {
      {TA_CENTER | TA_TOP, TA_LEFT | TA_TOP, TA_RIGHT | TA_TOP, TA_CENTER | TA_BOTTOM},
      {TA_RIGHT | TA_BOTTOM, TA_CENTER | TA_TOP, TA_CENTER | TA_BOTTOM, TA_LEFT | TA_TOP},
      {TA_CENTER | TA_BOTTOM, TA_RIGHT | TA_TOP, TA_LEFT | TA_TOP, TA_CENTER | TA_TOP},
      {TA_LEFT | TA_BOTTOM, TA_CENTER | TA_BOTTOM, TA_CENTER | TA_TOP, TA_RIGHT | TA_TOP},
  };
  const std::int32_t kShift[4][4] = {
      {0, 1, -1, 0}, {1, 0, 0, 1}, {0, 1, -1, 0}, {1, 0, 0, 0},
  };
  if (code >= 1 && code <= 4) {
    align = kAlign[axisid][code - 1];
    shift = kShift[axisid][code - 1] * half;
  }
  // Outward past the tick marks.
  std::int32_t outward = 0;
  if (a.MajorTickStyle == kTickInside && (a.MinorTickStyle == kTickOutside || a.MinorTickStyle == kTickAcross))
    outward = TICKMINORLENGTH;
  else if (a.MajorTickStyle == kTickOutside || a.MajorTickStyle == kTickAcross)
    outward = TICKMAJORLENGTH;
  switch (axisid) {
    case kAxisBottom: line = PlotRect.top + PlotRect.height + outward; break;
    case kAxisLeft: line = PlotRect.left - 1 - outward; break;
    case kAxisTop: line = PlotRect.top - 1 - outward; break;
    default: line = PlotRect.left + PlotRect.width + 1 + outward; break;
  }

  ScopedTextStyle style(hDC, align, a.LabelFont.colour);
  const std::vector<std::string_view> labels = SplitLabels(a.LabelFont.Caption);
  const AxisRun r = RunOf(axisid);
  for (std::int32_t i = 0; i < n && i < static_cast<std::int32_t>(labels.size()); ++i) {
    if (labels[static_cast<std::size_t>(i)].empty()) continue;
    const std::int32_t pos = DevicePixel(r.start + RoundHalfEven(i * step)) + shift;
    if (IsHorizontal(axisid))
      hDC.TextOut(pos, line, labels[static_cast<std::size_t>(i)]);
    else
      hDC.TextOut(line, pos, labels[static_cast<std::size_t>(i)]);
  }
}

void clsChart2D::AxisTitle(DeviceContext& hDC, std::int32_t axisid) const {
  const TextPlace& p = AxisTitlePos[static_cast<std::size_t>(axisid)];
  DrawChartText(hDC, Axis(axisid).TitleFont, p.x, p.y);
}

void clsChart2D::ChartTitleText(DeviceContext& hDC) const {
  DrawChartText(hDC, ChartTitle_, TitlePos.x, TitlePos.y);
}

void clsChart2D::GridLines(DeviceContext& hDC, bool xDirection) const {
  std::int32_t axisid;
  if (xDirection)
    axisid = Axis(kAxisBottom).Visible ? kAxisBottom : Axis(kAxisTop).Visible ? kAxisTop : -1;
  else
    axisid = Axis(kAxisLeft).Visible ? kAxisLeft : Axis(kAxisRight).Visible ? kAxisRight : -1;
  if (axisid < 0) return;
  const ChartAxis& a = Axis(axisid);
  if (a.Min == a.Max || !HasPlot() || !(a.Major > 0) || !(a.Minor > 0)) return;
  if (a.LogScale && (!(a.Max > 0) || !(a.Min > 0))) return;
  const AxisRun r = RunOf(axisid);
  const auto gridLine = [&](double p) {
    const std::int32_t pos = DevicePixel(p);
    if (xDirection)
      Line(hDC, pos, PlotRect.top + 1, pos, PlotBottom());
    else
      Line(hDC, PlotRect.left + 1, pos, PlotRight(), pos);
  };

  std::int32_t n = 0;
  double step = 0;
  const bool hasMajor = MajorMarks(axisid, false, n, step);
  const PenTriple& majorPen = GridPens[xDirection ? 0 : 1];
  if (hasMajor && majorPen.Style != kPenStyleNone) {
    ScopedPen pen(hDC, majorPen);
    if (pen.ok())
      for (std::int32_t i = 1; i < n; ++i) gridLine(r.start + RoundHalfEven(i * step));
  }
  const PenTriple& minorPen = GridPens[xDirection ? 2 : 3];
  if (minorPen.Style == kPenStyleNone) return;
  ScopedPen pen(hDC, minorPen);
  if (!pen.ok()) return;
  if (a.LogScale) {
    const double m = RoundHalfEven(Log10(a.Max / a.Min / a.Minor)) + 2;
    if (!(m > 1) || m > kMaxTickLabels) return;
    ForEachDecadeMark(r.start, static_cast<std::int32_t>(m), (r.end - r.start) / (m - 1), gridLine);
    return;
  }
  MinorPlan plan;
  if (PlanMinorMarks(a, r.run, n, plan)) ForEachMinorMark(plan, r.start, 1, gridLine);
}

void clsChart2D::Frame(DeviceContext& hDC) const {
  if (!HasPlot()) return;
  ScopedPen pen(hDC, gdi::StockPen(gdi::BLACK_PEN));
  ClosedOutline(hDC, PlotRect.left, PlotRect.top, PlotRight(), PlotBottom());
}

void clsChart2D::Background(DeviceContext& hDC) const {
  if (!HasPlot()) return;
  hDC.FillRect({PlotRect.left, PlotRect.top, PlotRect.left + PlotRect.width, PlotRect.top + PlotRect.height},
               gdi::CreateSolidBrush(BackColor));
}

void clsChart2D::ChartRedraw(DeviceContext& hDC) const {
  if (FillBackground) Background(hDC);
  if (ShowFrame) Frame(hDC);
  ChartTitleText(hDC);
  for (std::int32_t id = 0; id < 4; ++id) {
    if (!Axis(id).Visible) continue;
    AxisLine(hDC, id);
    TickMarks(hDC, id);
    TickLabels(hDC, id);
    AxisTitle(hDC, id);
  }
  GridLines(hDC, true);
  GridLines(hDC, false);
}

void clsChart2D::DrawRectangle(DeviceContext& hDC, std::int32_t X1, std::int32_t Y1, std::int32_t X2,
                               std::int32_t Y2, std::int32_t PENORBRUSH) const {
  const auto stock = gdi::GetStockObject(PENORBRUSH);
  if (!stock || std::holds_alternative<gdi::LogFont>(*stock)) return;
  const gdi::GdiObject previous = hDC.SelectObject(*stock);
  ClosedOutline(hDC, X1, Y1, X2, Y2);
  hDC.SelectObject(previous);
}

namespace {

// Draws with the destination inverted (drawing twice restores it), then puts the
// previous raster mode back; nothing when the mode cannot be set.
template <class Draw>
void Inverted(DeviceContext& dc, Draw&& draw) {
  const int old = dc.SetROP2(gdi::R2_NOT);
  if (old == 0) return;
  draw();
  dc.SetROP2(old);
}

}  // namespace

void clsChart2D::DrawXORLine(DeviceContext& hDC, std::int32_t X1, std::int32_t Y1, std::int32_t X2,
                             std::int32_t Y2) const {
  Inverted(hDC, [&] { Line(hDC, X1, Y1, X2, Y2); });
}

void clsChart2D::DrawZoomBox(DeviceContext& hDC, std::int32_t X1, std::int32_t Y1, std::int32_t X2,
                             std::int32_t Y2) const {
  Inverted(hDC, [&] { ClosedOutline(hDC, X1, Y1, X2, Y2); });
}

clsChart2D::AxisRoom clsChart2D::MeasureAxis(DeviceContext& hDC, std::int32_t axisid) const {
  AxisRoom room;
  if (axisid == kChartTitleId) {
    const gdi::Size s = MeasureChartText(hDC, ChartTitle_, ChartTitle_.Caption);
    const bool turned = ChartTitle_.Escapement == kText270Degrees || ChartTitle_.Escapement == kText90Degrees;
    room.titleWidth = turned ? s.cy : s.cx;
    room.titleHeight = turned ? s.cx : s.cy;
    return room;
  }
  const ChartAxis& a = Axis(axisid);
  if (!a.Visible) return room;
  const bool horizontal = IsHorizontal(axisid);

  const std::int32_t titleCode = a.TitleFont.Escapement;
  if (titleCode != 0) {
    const gdi::Size s = MeasureChartText(hDC, a.TitleFont, a.TitleFont.Caption);
    const bool turned = titleCode == kText270Degrees || titleCode == kText90Degrees;
    room.titleWidth = turned ? s.cy : s.cx;
    room.titleHeight = turned ? s.cx : s.cy;
    room.thickness += horizontal ? s.cy : (turned ? s.cy : s.cx);
  }

  const std::string& caption = a.LabelFont.Caption;
  const std::int32_t labelCode = a.LabelFont.Escapement;
  if (caption.size() > 1 && labelCode != 0) {
    const bool along = horizontal ? (labelCode == kTextHorizontal || labelCode == kText180Degrees)
                                  : (labelCode == kText270Degrees || labelCode == kText90Degrees);
    const std::vector<std::string_view> labels = SplitLabels(caption);
    const gdi::Size whole = MeasureChartText(hDC, a.LabelFont, caption);
    if (along) {
      room.thickness += whole.cy;
      if (!labels.empty()) {
        room.nearOverhang = MeasureChartText(hDC, a.LabelFont, labels.front()).cx;
        if (labels.size() > 1) room.farOverhang = MeasureChartText(hDC, a.LabelFont, labels.back()).cx;
      }
    } else {
      std::int32_t longest = 0;
      for (const std::string_view label : labels)
        longest = std::max(longest, MeasureChartText(hDC, a.LabelFont, label).cx);
      if (longest == 0) longest = MeasureChartText(hDC, a.LabelFont, "A").cx;
      room.thickness += longest;
      room.nearOverhang = whole.cy;
      room.farOverhang = whole.cy;
    }
  }

  if (a.MajorTickStyle == kTickOutside || a.MajorTickStyle == kTickAcross)
    room.thickness += TICKMAJORLENGTH;
  else if (a.MinorTickStyle == kTickOutside || a.MinorTickStyle == kTickAcross)
    room.thickness += TICKMINORLENGTH;
  return room;
}

void clsChart2D::CreateChartLimits(DeviceContext& hDC, std::int32_t wleft, std::int32_t wtop,
                                   std::int32_t wright, std::int32_t wbottom, bool KeepSquare) {
  if (wright <= wleft || wbottom <= wtop) return;
  const AxisRoom title = MeasureAxis(hDC, kChartTitleId);
  std::array<AxisRoom, 4> room;
  for (std::int32_t id = 0; id < 4; ++id) {
    room[static_cast<std::size_t>(id)] = MeasureAxis(hDC, id);
    TextPlace& p = AxisTitlePos[static_cast<std::size_t>(id)];
    p.width = room[static_cast<std::size_t>(id)].titleWidth;
    p.height = room[static_cast<std::size_t>(id)].titleHeight;
  }
  const AxisRoom& bottomRoom = room[kAxisBottom];
  const AxisRoom& leftRoom = room[kAxisLeft];
  const AxisRoom& topRoom = room[kAxisTop];
  const AxisRoom& rightRoom = room[kAxisRight];

  // Labels hanging over the ends of the axes need half their length of margin.
  const std::int32_t L = std::max(bottomRoom.nearOverhang, topRoom.nearOverhang) / 2;
  const std::int32_t R = std::max(bottomRoom.farOverhang, topRoom.farOverhang) / 2;
  const std::int32_t T = std::max(leftRoom.farOverhang, rightRoom.farOverhang) / 2;
  const std::int32_t B = std::max(leftRoom.nearOverhang, rightRoom.nearOverhang) / 2;

  std::int32_t topOffset = std::max(RoundToInt32(title.titleHeight * 4.0 / 3.0 + topRoom.thickness), T) + 2;
  std::int32_t leftOffset = std::max(leftRoom.thickness, L) + 2;
  std::int32_t height = (wbottom - wtop) - topOffset - std::max(bottomRoom.thickness, B) - 1;
  std::int32_t width = (wright - wleft) - leftOffset - std::max(rightRoom.thickness, R) - 1;
  if (KeepSquare) {
    if (width <= height) {
      topOffset += RoundToInt32((height - width) / 2.0);
      height = width;
    } else {
      leftOffset += RoundToInt32((width - height) / 2.0);
      width = height;
    }
  }
  // A window too small for a plot gets an empty plot rectangle, which draws nothing.
  PlotRect = {wleft + leftOffset, wtop + topOffset, std::max(height, 0), std::max(width, 0)};

  TitlePos.x = (wleft + wright) / 2 - title.titleWidth / 2;
  TitlePos.y = wtop;
  TitlePos.width = title.titleWidth;
  TitlePos.height = title.titleHeight;

  const std::int32_t left = PlotRect.left, top = PlotRect.top;
  const std::int32_t w = PlotRect.width, h = PlotRect.height;
  TextPlace& bt = AxisTitlePos[kAxisBottom];
  bt.x = left + w / 2 - bt.width / 2;
  bt.y = PlotBottom() + (bottomRoom.thickness - bt.height);
  TextPlace& tt = AxisTitlePos[kAxisTop];
  tt.x = left + w / 2 - tt.width / 2;
  tt.y = top - (topRoom.thickness - tt.height) - tt.height;
  TextPlace& lt = AxisTitlePos[kAxisLeft];
  lt.x = wleft;
  lt.y = top + h / 2 - lt.height / 2;
  TextPlace& rt = AxisTitlePos[kAxisRight];
  rt.x = PlotRight() + (rightRoom.thickness - rt.width);
  rt.y = top + h / 2 - rt.height / 2;
}

}  // namespace orvale
