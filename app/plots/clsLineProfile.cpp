// Trace storage, automatic scaling, bounds checks and colour choice of the line
// profile. Drawing and the device mapping are in LineProfileDrawing.cpp.
#include "app/plots/clsLineProfile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

#include "app/analysis/AxisLimits.h"
#include "app/plots/DataLimits.h"
#include "app/plots/TraceMapping.h"
#include "platform/runtime/Markers.h"

namespace orvale {

clsLineProfile::clsLineProfile() { DeleteAllTraces(); }

TraceRecord* clsLineProfile::Trace(std::int32_t traceid) {
  if (traceid < 1 || traceid > NumTraces()) return nullptr;
  return &Traces[static_cast<std::size_t>(traceid)];
}

const TraceRecord* clsLineProfile::Trace(std::int32_t traceid) const {
  if (traceid < 1 || traceid > NumTraces()) return nullptr;
  return &Traces[static_cast<std::size_t>(traceid)];
}

void clsLineProfile::GetYAxisMinMax(double& Min, double& Max) const {
  double cross = 0;
  Chart.GetAxisMinMax(kAxisLeft, Min, Max, cross);
}

void clsLineProfile::SetYAxisMinMax(double Min, double Max) {
  Chart.SetAxisMinMax(kAxisLeft, Min, Max, Min);
}

std::int32_t clsLineProfile::CreateTrace(std::int32_t npts, std::int32_t /*OneBased*/) {
  if (npts < 1) return 0;
  const std::int64_t total = static_cast<std::int64_t>(NumValues_) + npts;
  if (total > std::numeric_limits<std::int32_t>::max()) return 0;
  try {
    // Grow a copy so that a failure leaves the arrays and traces as they were.
    std::vector<double> xs(XValues_.begin(), XValues_.begin() + NumValues_);
    std::vector<double> ys(YValues_.begin(), YValues_.begin() + NumValues_);
    xs.resize(static_cast<std::size_t>(total), 0.0);
    ys.resize(static_cast<std::size_t>(total), 0.0);
    Traces.emplace_back();
    XValues_ = std::move(xs);
    YValues_ = std::move(ys);
  } catch (const std::bad_alloc&) {
    return 0;
  } catch (const std::length_error&) {
    return 0;
  }
  const std::int32_t id = NumTraces();
  SetTraceDefaults(id);
  TraceRecord& t = Traces.back();
  t.Capacity = npts;
  t.Offset = NumValues_;
  NumValues_ = static_cast<std::int32_t>(total);
  return id;
}

void clsLineProfile::PopulateTrace(std::int32_t traceid, std::span<const double> X,
                                   std::span<const double> Y, std::int32_t npts,
                                   std::int32_t OneBased) {
  if (!Styled(traceid) || OneBased < 0) return;
  TraceRecord& t = Traces[static_cast<std::size_t>(traceid)];
  std::int64_t n = std::min(npts, t.Capacity);
  // Never read past the caller's arrays.
  const auto first = static_cast<std::size_t>(OneBased);
  const auto available = static_cast<std::int64_t>(std::min(X.size(), Y.size())) - OneBased;
  n = std::max<std::int64_t>(0, std::min(n, available));
  std::copy_n(X.begin() + static_cast<std::ptrdiff_t>(first), n, XValues_.begin() + t.Offset);
  std::copy_n(Y.begin() + static_cast<std::ptrdiff_t>(first), n, YValues_.begin() + t.Offset);
  if (n > 1) t.XStep = X[first + 1] - X[first];
  t.NumPoints = static_cast<std::int32_t>(n);
}

void clsLineProfile::DeleteAllTraces() {
  NumValues_ = 0;
  XValues_.assign(1, 0.0);
  YValues_.assign(1, 0.0);
  Traces.assign(1, TraceRecord{});
}

void clsLineProfile::DeleteTrace(std::int32_t traceid) {
  if (!Styled(traceid)) return;
  const TraceRecord gone = Traces[static_cast<std::size_t>(traceid)];
  const std::int32_t c = gone.Capacity;
  const auto from = XValues_.begin() + gone.Offset;
  XValues_.erase(from, from + c);
  YValues_.erase(YValues_.begin() + gone.Offset, YValues_.begin() + gone.Offset + c);
  Traces.erase(Traces.begin() + traceid);
  for (std::size_t k = static_cast<std::size_t>(traceid); k < Traces.size(); ++k) Traces[k].Offset -= c;
  NumValues_ -= c;
  XValues_.resize(static_cast<std::size_t>(std::max(NumValues_, 1)), 0.0);
  YValues_.resize(static_cast<std::size_t>(std::max(NumValues_, 1)), 0.0);
  XValues_.shrink_to_fit();
  YValues_.shrink_to_fit();
}

void clsLineProfile::SetTraceDefaults(std::int32_t traceid) {
  if (!Styled(traceid)) return;
  TraceRecord& t = Traces[static_cast<std::size_t>(traceid)];
  t = TraceRecord{};
  t.LineStyle = 0;
  t.LineWidth = 1;
  t.LineColor = 0;
  t.MarkerStyle = kMarkerNone;
  t.MarkerSize = 10;
}

bool clsLineProfile::TraceOnAxis(const TraceRecord& t, std::int32_t axisid) const {
  switch (axisid) {
    case kAxisBottom: return !t.UseTopAxis;
    case kAxisTop: return t.UseTopAxis;
    case kAxisLeft: return !t.UseRightAxis;
    case kAxisRight: return t.UseRightAxis;
    default: return false;
  }
}

bool clsLineProfile::AutoScale(std::int32_t axisid) {
  if (NumTraces() < 1 || axisid < 0 || axisid > 3) return false;
  double oldMin = 0, oldMax = 0, cross = 0;
  bool autoMin = false, autoMax = false, autoCross = false;
  Chart.GetAxisMinMax(axisid, oldMin, oldMax, cross);
  Chart.GetAxisAutoMinMax(axisid, autoMin, autoMax, autoCross);
  const bool logScale = Chart.GetAxisLog(axisid);
  double lo = autoMin ? 1E+308 : oldMin;
  double hi = autoMax ? -1E+308 : oldMax;
  const bool xAxis = axisid == kAxisBottom || axisid == kAxisTop;

  bool found = false;
  if (autoMin || autoMax) {
    for (std::int32_t id = 1; id <= NumTraces(); ++id) {
      const TraceRecord& t = Traces[static_cast<std::size_t>(id)];
      if (!TraceOnAxis(t, axisid) || t.NumPoints < 1) continue;
      if (xAxis) {
        // x values rise along a trace.
        if (autoMin) lo = std::min(lo, XValues_[static_cast<std::size_t>(t.Offset)]);
        if (autoMax) hi = std::max(hi, XValues_[static_cast<std::size_t>(t.Offset + t.NumPoints - 1)]);
        found = true;
        continue;
      }
      for (std::int32_t k = 0; k < t.NumPoints; ++k) {
        const double y = YValues_[static_cast<std::size_t>(t.Offset + k)];
        if (y == kBlankValue || std::isnan(y)) continue;
        if (autoMin) lo = std::min(lo, y);
        if (autoMax) hi = std::max(hi, y);
        found = true;
      }
    }
  }

  std::int32_t scaleFactor;
  double newMin = oldMin, newMax = oldMax;
  if (autoMin || autoMax) {
    scaleFactor = RoundDataLimits(lo, hi, found, logScale, autoMin, autoMax, ScaleLimit);
    if (autoMin) newMin = lo;
    if (autoMax) newMax = hi;
  } else {
    scaleFactor = GetRangeLeadingDigit(lo, hi);
    for (std::int32_t id = 1; id <= NumTraces(); ++id)
      if (TraceOnAxis(Traces[static_cast<std::size_t>(id)], axisid)) TraceCheckBounds(id, axisid);
  }
  if (autoCross) cross = lo;
  Chart.AutoScaleMajor(axisid, lo, hi, scaleFactor);
  Chart.AutoScaleMinor(axisid);
  Chart.SetAxisMinMax(axisid, newMin, newMax, cross);
  return newMin != oldMin || newMax != oldMax;
}

void clsLineProfile::TraceCheckBounds(std::int32_t traceid, std::int32_t axisid) {
  if (!Styled(traceid) || PlotHeight < 1 || PlotWidth < 1) return;
  if (axisid < 0 || axisid > 3) return;
  double min = 0, max = 0, cross = 0;
  Chart.GetAxisMinMax(axisid, min, max, cross);
  if (!(max > min)) return;
  TraceRecord& t = Traces[static_cast<std::size_t>(traceid)];
  if (axisid == kAxisBottom || axisid == kAxisTop) {
    const AxisMapping m = AxisMapping::Horizontal(PlotLeft, PlotWidth, min, max, false);
    bool inside = true;
    if (t.NumPoints > 0) {
      inside = m.Map(XValues_[static_cast<std::size_t>(t.Offset)]) >= -kDeviceLimit &&
               m.Map(XValues_[static_cast<std::size_t>(t.Offset + t.NumPoints - 1)]) <= kDeviceLimit;
    }
    t.ClampX = !inside;
  } else {
    const AxisMapping m = AxisMapping::Vertical(PlotTop, PlotHeight, min, max, false);
    bool beyond = false;
    for (std::int32_t k = 0; k < t.NumPoints && !beyond; ++k) {
      const double y = YValues_[static_cast<std::size_t>(t.Offset + k)];
      if (y == kBlankValue) continue;
      beyond = std::abs(m.Map(y)) > kDeviceLimit;
    }
    t.ClampY = beyond;
  }
}

std::int32_t clsLineProfile::NewColor(bool marker) const {
  std::array<std::int32_t, 17> uses{};
  uses[15] = 130;  // never chosen
  for (std::int32_t id = 1; id <= NumTraces(); ++id) {
    const TraceRecord& t = Traces[static_cast<std::size_t>(id)];
    const gdi::Color c = marker ? t.MarkerColor : t.LineColor;
    if (c <= 16) ++uses[c];
  }
  std::int32_t best = 0;
  for (std::int32_t c = 0; c <= 16; ++c)
    if (uses[static_cast<std::size_t>(c)] < uses[static_cast<std::size_t>(best)]) best = c;
  return best;
}

std::int32_t clsLineProfile::GetNewLineColor() const { return NewColor(false); }

std::int32_t clsLineProfile::GetNewMarkerColor() const { return NewColor(true); }

}  // namespace orvale
