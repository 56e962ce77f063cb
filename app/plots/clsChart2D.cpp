// Axes, titles, ranges, automatic spacing and tick labels of the 2-D chart frame. The
// layout and drawing members are in Chart2DDrawing.cpp.
#include "app/plots/clsChart2D.h"

#include <cmath>
#include <cstdlib>

#include "app/analysis/MathBasics.h"
#include "app/analysis/SignificantFormat.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

FontSpec ChartFont(std::int32_t size, std::int32_t orientation) {
  FontSpec f;
  f.Caption.clear();
  f.colour = 0;
  f.Size = size;
  f.Escapement = orientation;
  f.Bold = false;
  f.Italic = false;
  f.Underline = false;
  f.facename = FixedFaceName("Arial");
  return f;
}

}  // namespace

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

std::int32_t clsChart2D::Exp2Idx(std::int32_t exponent) {
  if (exponent < -18) return 16;
  if (exponent <= -4) return RoundToInt32((30.0 - exponent) / 3.0);
  if (exponent <= 3) return 8 - exponent;
  if (exponent <= 18) return RoundToInt32((18.0 - exponent) / 3.0);
  return 0;
}

std::int32_t clsChart2D::Idx2Exp(std::int32_t Index) {
  if (Index >= 0 && Index <= 5) return (6 - Index) * 3;
  if (Index >= 6 && Index <= 10) return 8 - Index;
  if (Index >= 11 && Index <= 16) return (10 - Index) * 3;
  return 0;
}

void clsChart2D::AutoScaleMajor(std::int32_t axisid, double tmin, double tmax,
                                std::int32_t ScaleFactor) {
  if (!ValidAxis(axisid)) return;
  ChartAxis& a = Axis(axisid);
  if (!a.AutoMajor) return;
  if (a.LogScale) {
    a.Major = 10;
    return;
  }
  double divisor;
  if (ScaleFactor == 0)
    divisor = 5;
  else if (ScaleFactor % 3 == 0)
    divisor = 6;
  else if (ScaleFactor % 2 != 0 || tmin != 0)
    divisor = 5;
  else
    divisor = 4;
  a.Major = std::abs(tmax - tmin) / divisor;
}

void clsChart2D::AutoScaleMinor(std::int32_t axisid) {
  if (!ValidAxis(axisid)) return;
  ChartAxis& a = Axis(axisid);
  if (!a.AutoMinor) return;
  a.Minor = a.LogScale ? 10 : a.Major / 5;
}

void clsChart2D::CreateTickLabels(std::int32_t axisid) {
  if (!ValidAxis(axisid)) return;
  ChartAxis& a = Axis(axisid);
  const double multiplier = std::pow(10.0, -GetSFExponent(axisid));
  if (!(a.Max > a.Min)) return;

  // Label counts are computed in doubles and capped before they become whole numbers.
  double count;
  if (a.LogScale) {
    if (!(a.Min > 0) || !(a.Major > 0)) return;
    count = RoundHalfEven(Log10(a.Max / a.Min / a.Major) + 2);
  } else {
    if (!(a.Major > 0)) return;
    count = RoundHalfEven(std::abs(a.Max - a.Min) / a.Major) + 1;
  }
  if (std::isnan(count)) return;
  const std::int32_t n = count < 1 ? 0 : count > kMaxTickLabels ? kMaxTickLabels : static_cast<std::int32_t>(count);

  std::string labels;
  const double step = a.Major * multiplier;
  for (std::int32_t k = 0; k < n; ++k) {
    double value;
    if (a.LogScale) {
      value = std::pow(a.Major, k) * a.Min * multiplier;
    } else {
      value = k * step + a.Min * multiplier;
      if (std::abs(value) < std::abs(step) / 100) value = 0;  // rounding residue at zero
    }
    std::string text = FormatSignificant(value, a.LabelDigits, 0);
    const auto first = text.find_first_not_of(' ');
    labels += first == std::string::npos ? std::string() : text.substr(first);
    labels += '|';
  }
  a.LabelFont.Caption = labels;
  a.NumLabels = n;
}

}  // namespace orvale
