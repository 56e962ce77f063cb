#pragma once
// Data traces (polylines of x, y points, optionally with point markers) drawn on a 2-D
// chart frame; the line-profile window shows the wavefront profile with it. All traces
// share two growing value arrays; each trace is a slice of them.
#include <cstdint>
#include <span>
#include <vector>

#include "app/plots/clsChart2D.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

// Marker styles of a trace.
inline constexpr std::int32_t kMarkerSquare = 0;
inline constexpr std::int32_t kMarkerCircle = 1;
inline constexpr std::int32_t kMarkerTriangle = 2;
inline constexpr std::int32_t kMarkerDiamond = 3;
inline constexpr std::int32_t kMarkerPlus = 4;
inline constexpr std::int32_t kMarkerPixel = 5;
inline constexpr std::int32_t kMarkerNone = 6;

// Trace ids above this keep their values but are never styled, drawn or checked.
inline constexpr std::int32_t kMaxStyledTraces = 128;

struct TraceRecord {
  std::int32_t Capacity = 0;   // values reserved for the trace
  std::int32_t NumPoints = 0;  // values filled by PopulateTrace
  std::int32_t Offset = 0;     // index of the first value in the shared arrays
  std::int32_t LineStyle = 0;  // GDI pen style; 5 = no line
  std::int32_t LineWidth = 0;
  gdi::Color LineColor = 0;
  std::int32_t MarkerStyle = 0;
  gdi::Color MarkerColor = 0;
  gdi::Color MarkerFillColor = 0;
  std::int32_t MarkerSize = 0;
  bool MarkerFilled = false;
  bool UseTopAxis = false;    // x on axis 2 instead of 0
  bool UseRightAxis = false;  // y on axis 3 instead of 1
  bool ClampX = false;        // set by TraceCheckBounds
  bool ClampY = false;
  bool Hidden = false;
  double XStep = 0;  // x distance between the first two points
};

class clsLineProfile {
 public:
  clsLineProfile();

  std::int32_t APPROXNUMMARKERS = 20;  // selection marks shown along a selected trace
  double ScaleLimit = 1E+308;          // smallest step for RoundAxisLimits in AutoScale
  clsChart2D Chart;

  void GetYAxisMinMax(double& Min, double& Max) const;
  // The left axis's range, crossing at Min.
  void SetYAxisMinMax(double Min, double Max);
  // Reserves a trace of npts values and returns its id, 0 when npts < 1 or the values
  // cannot be stored. OneBased is not used.
  std::int32_t CreateTrace(std::int32_t npts, std::int32_t OneBased);
  // Copies up to the trace's capacity from X and Y starting at index OneBased.
  void PopulateTrace(std::int32_t traceid, std::span<const double> X, std::span<const double> Y,
                     std::int32_t npts, std::int32_t OneBased);
  void DeleteAllTraces();
  // Removes one trace; the traces above it move down one id.
  void DeleteTrace(std::int32_t traceid);
  // The chart, then every trace clipped to the plot rectangle.
  void PlotRedraw(gdi::DeviceContext& hDC);
  void DrawTrace(gdi::DeviceContext& hDC, std::int32_t traceid) const;
  // Toggles inverted selection marks along a trace; twice restores the picture.
  void DrawTraceSelected(gdi::DeviceContext& hDC, std::int32_t traceid) const;
  // The piece of a trace that ends at point Index, with its marker.
  void DrawTraceStep(gdi::DeviceContext& hDC, std::int32_t traceid, std::int32_t Index) const;
  // Fits the axis range to the traces; True when Min or Max changed.
  bool AutoScale(std::int32_t axisid);
  // Data values (in the units of the tick labels) at a device point.
  void GetCoords(std::int32_t traceid, std::int32_t X, std::int32_t Y, double& xf, double& yf) const;
  void TraceCheckBounds(std::int32_t traceid, std::int32_t axisid);
  void SetTraceDefaults(std::int32_t traceid);
  // Colour numbers 0..16 for a new trace: the lowest unused, else the least used.
  std::int32_t GetNewLineColor() const;
  std::int32_t GetNewMarkerColor() const;

  std::int32_t NumTraces() const { return static_cast<std::int32_t>(Traces.size()) - 1; }
  std::int32_t NumValues() const { return NumValues_; }
  // The record of an existing trace (1 .. NumTraces), nullptr otherwise.
  TraceRecord* Trace(std::int32_t traceid);
  const TraceRecord* Trace(std::int32_t traceid) const;
  std::span<const double> XValues() const { return {XValues_.data(), static_cast<std::size_t>(NumValues_)}; }
  std::span<const double> YValues() const { return {YValues_.data(), static_cast<std::size_t>(NumValues_)}; }

 private:
  struct Mapping;
  bool Styled(std::int32_t traceid) const { return traceid >= 1 && traceid <= NumTraces() && traceid <= kMaxStyledTraces; }
  bool MappingFor(const TraceRecord& t, Mapping& m) const;
  // The record of a trace that can be drawn now (styled, with points, not hidden, on
  // usable axes) and its mapping; nullptr otherwise.
  const TraceRecord* DrawableTrace(std::int32_t traceid, Mapping& m) const;
  // The trace's line through the points; false when its pen cannot be made.
  bool DrawLine(gdi::DeviceContext& hDC, const TraceRecord& t, std::span<const gdi::Point> points) const;
  bool TraceOnAxis(const TraceRecord& t, std::int32_t axisid) const;
  std::int32_t NewColor(bool marker) const;
  void DrawMarkers(gdi::DeviceContext& hDC, const TraceRecord& t, std::span<const gdi::Point> points) const;

  std::int32_t NumValues_ = 0;
  std::vector<double> XValues_;  // one element when empty
  std::vector<double> YValues_;
  std::vector<TraceRecord> Traces;  // element 0 holds no trace
  // Plot rectangle as read at the last PlotRedraw: left, top, width, height.
  std::int32_t PlotLeft = 0, PlotTop = 0, PlotWidth = 0, PlotHeight = 0;
};

}  // namespace orvale
