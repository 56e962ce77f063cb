// Axes, titles, ranges, automatic spacing and tick labels of the 2-D chart frame. The
// layout and drawing members are in Chart2DDrawing.cpp.
#include "app/plots/clsChart2D.h"

#include <cmath>
#include <cstdlib>

#include "app/plots/ChartScaling.h"
#include "app/plots/ChartText.h"

namespace orvale {

clsChart2D::clsChart2D() {
  SetTickMarkLengths(nullptr);
  SetChartDefaults();
}

void clsChart2D::SetChartDefaults() {
  for (std::int32_t id = 0; id < 4; ++id) {
    ChartAxis a{};
    a.AutoMin = a.AutoMax = a.AutoMajor = a.AutoMinor = a.AutoCross = true;
    a.LogScale = false;
    a.MajorTickStyle = kTickOutside;
    a.MinorTickStyle = kTickOutside;
    a.Visible = id == kAxisBottom || id == kAxisLeft;
    a.AxisPen = {0, 1, 0};
    a.TickPen = {0, 1, 0};
    a.SFactorIdx = 8;
    a.LabelDigits = 0;
    a.NumLabels = 0;
    a.LabelFont = ChartFont(8, kTextHorizontal);
    a.TitleFont = ChartFont(10, id == kAxisLeft    ? kText90Degrees
                                : id == kAxisRight ? kText270Degrees
                                                   : kTextHorizontal);
    Axes[static_cast<std::size_t>(id)] = a;
  }
  GridPens.fill(PenTriple{kPenStyleNone, 1, 0});
  ShowFrame = true;
  FillBackground = false;
  BackColor = 0xFFFFFF;
  ChartTitle_ = ChartFont(10, kTextHorizontal);
}

void clsChart2D::SetTitle(std::int32_t axisid, const std::string& str) {
  if (axisid == kChartTitleId)
    ChartTitle_.Caption = str;
  else if (ValidAxis(axisid))
    Axis(axisid).TitleFont.Caption = str;
}

void clsChart2D::GetAxisMinMax(std::int32_t axisid, double& Min, double& Max, double& Cross) const {
  if (!ValidAxis(axisid)) return;
  const ChartAxis& a = Axis(axisid);
  Min = a.Min;
  Max = a.Max;
  Cross = a.Cross;
}

void clsChart2D::SetAxisMinMax(std::int32_t axisid, double Min, double Max, double Cross) {
  if (!ValidAxis(axisid)) return;
  ChartAxis& a = Axis(axisid);
  a.Min = Min;
  a.Max = Max;
  a.Cross = Cross;
}

void clsChart2D::GetPlotLimits(std::int32_t& left, std::int32_t& top, std::int32_t& width,
                               std::int32_t& height) const {
  left = PlotRect.left;
  top = PlotRect.top;
  width = PlotRect.width;
  height = PlotRect.height;
}

void clsChart2D::GetAxisAutoMinMax(std::int32_t axisid, bool& AutoMin, bool& AutoMax,
                                   bool& AutoCross) const {
  if (!ValidAxis(axisid)) return;
  const ChartAxis& a = Axis(axisid);
  AutoMin = a.AutoMin;
  AutoMax = a.AutoMax;
  AutoCross = a.AutoCross;
}

bool clsChart2D::GetAxisLog(std::int32_t axisid) const {
  return ValidAxis(axisid) && Axis(axisid).LogScale;
}

std::int32_t clsChart2D::GetSfactorIdx(std::int32_t axisid) const {
  return ValidAxis(axisid) ? Axis(axisid).SFactorIdx : 8;
}

std::int32_t clsChart2D::GetSFExponent(std::int32_t axisid) const {
  return Idx2Exp(GetSfactorIdx(axisid));
}

std::int32_t clsChart2D::Exp2Idx(std::int32_t exponent) { return ScaleIndexOfExponent(exponent); }

std::int32_t clsChart2D::Idx2Exp(std::int32_t Index) { return ExponentOfScaleIndex(Index); }

void clsChart2D::AutoScaleMajor(std::int32_t axisid, double tmin, double tmax,
                                std::int32_t ScaleFactor) {
  if (ValidAxis(axisid)) AutoScaleAxisMajor(Axis(axisid), tmin, tmax, ScaleFactor);
}

void clsChart2D::AutoScaleMinor(std::int32_t axisid) {
  if (ValidAxis(axisid)) AutoScaleAxisMinor(Axis(axisid));
}

void clsChart2D::CreateTickLabels(std::int32_t axisid) {
  if (ValidAxis(axisid)) CreateAxisTickLabels(Axis(axisid));
}

}  // namespace orvale
