// Drawing of the line profile's traces and the mapping between data values and device
// pixels. Every pixel coordinate is clamped into +-32000 before it becomes a whole
// number, whatever the axis range.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/plots/MarkerStamp.h"
#include "app/plots/TraceMapping.h"
#include "app/plots/clsLineProfile.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

struct clsLineProfile::Mapping {
  AxisMapping x = AxisMapping::Horizontal(0, 0, 0, 1, false);
  AxisMapping y = AxisMapping::Vertical(0, 0, 0, 1, false);
  std::int32_t xAxis = kAxisBottom;
  std::int32_t yAxis = kAxisLeft;
  double yMin = 0;  // where a blank value is drawn

  // The device pixel of a data point; a missing value lies on the bottom edge.
  gdi::Point Device(double xv, double yv) const {
    return {x.Device(xv), y.Device(yv == kBlankValue ? yMin : yv)};
  }
};

namespace {

// Restores the caller's clip region at the end of a scope after selecting the plot
// rectangle as the clip.
class ScopedPlotClip {
 public:
  ScopedPlotClip(gdi::DeviceContext& dc, const gdi::Rect& plot) : dc_(dc), previous_(dc.State().clip) {
    const gdi::Region region = gdi::Region::FromRect(plot);
    dc_.SelectClipRgn(&region);
  }
  ~ScopedPlotClip() { dc_.SelectClipRgn(previous_ ? &*previous_ : nullptr); }
  ScopedPlotClip(const ScopedPlotClip&) = delete;
  ScopedPlotClip& operator=(const ScopedPlotClip&) = delete;

 private:
  gdi::DeviceContext& dc_;
  std::optional<gdi::Region> previous_;
};

bool UsableRange(double min, double max, bool logScale) {
  if (!(max > min)) return false;
  return !logScale || (min > 0 && max > 0);
}

}  // namespace

bool clsLineProfile::MappingFor(const TraceRecord& t, Mapping& m) const {
  if (PlotWidth < 1 || PlotHeight < 1) return false;
  m.xAxis = t.UseTopAxis ? kAxisTop : kAxisBottom;
  m.yAxis = t.UseRightAxis ? kAxisRight : kAxisLeft;
  double xMin = 0, xMax = 0, yMin = 0, yMax = 0, cross = 0;
  Chart.GetAxisMinMax(m.xAxis, xMin, xMax, cross);
  Chart.GetAxisMinMax(m.yAxis, yMin, yMax, cross);
  const bool xLog = Chart.GetAxisLog(m.xAxis);
  const bool yLog = Chart.GetAxisLog(m.yAxis);
  if (!UsableRange(xMin, xMax, xLog) || !UsableRange(yMin, yMax, yLog)) return false;
  m.x = AxisMapping::Horizontal(PlotLeft, PlotWidth, xMin, xMax, xLog);
  m.y = AxisMapping::Vertical(PlotTop, PlotHeight, yMin, yMax, yLog);
  m.yMin = yMin;
  return true;
}

const TraceRecord* clsLineProfile::DrawableTrace(std::int32_t traceid, Mapping& m) const {
  if (!Styled(traceid)) return nullptr;
  const TraceRecord& t = Traces[static_cast<std::size_t>(traceid)];
  if (t.NumPoints < 1 || t.Hidden || !MappingFor(t, m)) return nullptr;
  return &t;
}

bool clsLineProfile::DrawLine(gdi::DeviceContext& hDC, const TraceRecord& t,
                              std::span<const gdi::Point> points) const {
  if (t.LineStyle == kPenStyleNone) return true;
  const auto pen = gdi::CreatePen(t.LineStyle, t.LineWidth, t.LineColor);
  if (!pen) return false;
  const gdi::Pen previous = hDC.SelectPen(*pen);
  hDC.Polyline(points);
  hDC.SelectPen(previous);
  return true;
}

void clsLineProfile::PlotRedraw(gdi::DeviceContext& hDC) {
  Chart.ChartRedraw(hDC);
  Chart.GetPlotLimits(PlotLeft, PlotTop, PlotWidth, PlotHeight);
  if (PlotWidth < 1 || PlotHeight < 1) return;
  ScopedPlotClip clip(hDC, {PlotLeft, PlotTop, PlotLeft + PlotWidth, PlotTop + PlotHeight});
  for (std::int32_t id = 1; id <= NumTraces(); ++id) DrawTrace(hDC, id);
}

void clsLineProfile::DrawTrace(gdi::DeviceContext& hDC, std::int32_t traceid) const {
  Mapping m;
  const TraceRecord* trace = DrawableTrace(traceid, m);
  if (trace == nullptr) return;
  const TraceRecord& t = *trace;

  std::vector<gdi::Point> points(static_cast<std::size_t>(t.NumPoints));
  for (std::int32_t k = 0; k < t.NumPoints; ++k) {
    const auto index = static_cast<std::size_t>(t.Offset + k);
    points[static_cast<std::size_t>(k)] = m.Device(XValues_[index], YValues_[index]);
  }

  if (DrawLine(hDC, t, points)) DrawMarkers(hDC, t, points);
}

void clsLineProfile::DrawMarkers(gdi::DeviceContext& hDC, const TraceRecord& t,
                                 std::span<const gdi::Point> points) const {
  if (t.MarkerStyle == kMarkerPixel) {
    hDC.SetPixels(points, t.MarkerColor);
    return;
  }
  if (t.MarkerStyle < kMarkerSquare || t.MarkerStyle > kMarkerPlus) return;
  const std::optional<MarkerStamp> stamp =
      MarkerStamp::Create(t.MarkerSize, t.MarkerStyle, t.MarkerColor, t.MarkerFillColor, t.MarkerFilled);
  if (!stamp) return;
  for (const gdi::Point& p : points) stamp->StampAt(hDC, p);
}

void clsLineProfile::DrawTraceSelected(gdi::DeviceContext& hDC, std::int32_t traceid) const {
  Mapping m;
  const TraceRecord* trace = DrawableTrace(traceid, m);
  if (trace == nullptr) return;
  const TraceRecord& t = *trace;
  double xMin = 0, xMax = 0, cross = 0;
  Chart.GetAxisMinMax(m.xAxis, xMin, xMax, cross);

  // Stride between marks, worked out in doubles so that no spacing can overflow.
  double stride = 1;
  const double markers = APPROXNUMMARKERS;
  if (markers >= 1 && !(xMax - xMin < markers * t.XStep)) {
    const double byCount = RoundHalfEven(t.NumPoints / markers);
    if (t.XStep == 0) {
      stride = byCount;
    } else {
      stride = RoundHalfEven((xMax - xMin) / (markers * t.XStep));
      stride = std::min({stride, 32000.0, byCount});
    }
    if (!(stride >= 1)) stride = 1;
  }
  const auto k = static_cast<std::int32_t>(stride);

  ScopedPlotClip clip(hDC, {PlotLeft, PlotTop, PlotLeft + PlotWidth, PlotTop + PlotHeight});
  const gdi::Brush previous = hDC.SelectBrush(gdi::StockBrush(gdi::WHITE_BRUSH));
  for (std::int32_t i = 0; i < t.NumPoints; i += k) {
    const auto index = static_cast<std::size_t>(t.Offset + i);
    const gdi::Point p = m.Device(XValues_[index], YValues_[index]);
    // White combined by XOR with the picture: drawing the marks twice removes them.
    hDC.PatBlt(p.x - 4, p.y - 4, 8, 8, gdi::PATINVERT);
  }
  hDC.SelectBrush(previous);
}

void clsLineProfile::DrawTraceStep(gdi::DeviceContext& hDC, std::int32_t traceid,
                                   std::int32_t Index) const {
  Mapping m;
  const TraceRecord* trace = DrawableTrace(traceid, m);
  if (trace == nullptr || Index < 0 || Index >= trace->Capacity) return;
  const TraceRecord& t = *trace;
  const auto at = [&](std::int32_t i) {
    const auto index = static_cast<std::size_t>(t.Offset + i);
    return m.Device(XValues_[index], YValues_[index]);
  };
  const gdi::Point piece[2] = {at(Index > 0 ? Index - 1 : 0), at(Index)};

  ScopedPlotClip clip(hDC, {PlotLeft, PlotTop, PlotLeft + PlotWidth, PlotTop + PlotHeight});
  if (DrawLine(hDC, t, piece)) DrawMarkers(hDC, t, std::span<const gdi::Point>(piece + 1, 1));
}

void clsLineProfile::GetCoords(std::int32_t traceid, std::int32_t X, std::int32_t Y, double& xf,
                               double& yf) const {
  if (!Styled(traceid)) return;
  Mapping m;
  if (!MappingFor(Traces[static_cast<std::size_t>(traceid)], m)) return;
  xf = m.x.Unmap(X) * std::pow(10.0, -Chart.GetSFExponent(m.xAxis));
  yf = m.y.Unmap(Y) * std::pow(10.0, -Chart.GetSFExponent(m.yAxis));
}

}  // namespace orvale
