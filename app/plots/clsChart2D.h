#pragma once
// The rectangular 2-D chart frame on which the line profile and the contour plot draw:
// four axes, a chart title and axis titles, tick marks, tick labels, grid lines, a frame
// and an optional background. It holds no plot data; its owners read back the axis
// ranges and the plot rectangle to map their data to pixels. Everything is drawn through
// a DeviceContext, so the same code draws on screen, on a printer page and into images.
#include <array>
#include <cstdint>
#include <string>

#include "app/document/FontSpec.h"
#include "app/plots/ChartAxis.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

// Axis identifiers; kChartTitleId names the chart title in SetTitle.
inline constexpr std::int32_t kAxisBottom = 0;
inline constexpr std::int32_t kAxisLeft = 1;
inline constexpr std::int32_t kAxisTop = 2;
inline constexpr std::int32_t kAxisRight = 3;
inline constexpr std::int32_t kChartTitleId = 4;

class clsChart2D {
 public:
  // Screen tick lengths and every default.
  clsChart2D();

  // Tick lengths in device pixels.
  std::int32_t TICKMAJORLENGTH = 7;
  std::int32_t TICKMINORLENGTH = 4;

  // Style that the owners may change; SetChartDefaults restores it.
  std::array<PenTriple, 4> GridPens;  // major x, major y, minor x, minor y
  bool ShowFrame = true;
  bool FillBackground = false;
  gdi::Color BackColor = 0xFFFFFF;

  // Screen tick lengths for nullptr (the screen marker); for a printer larger than the
  // screen they grow with the ratio of the page diagonal to the screen diagonal.
  void SetTickMarkLengths(gdi::DeviceContext* hDCPrinter);
  // axisid 4 sets the chart title, 0..3 an axis title.
  void SetTitle(std::int32_t axisid, const std::string& str);
  void GetAxisMinMax(std::int32_t axisid, double& Min, double& Max, double& Cross) const;
  // Stores the range; nothing is rebuilt or redrawn.
  void SetAxisMinMax(std::int32_t axisid, double Min, double Max, double Cross);
  void GetPlotLimits(std::int32_t& left, std::int32_t& top, std::int32_t& width,
                     std::int32_t& height) const;
  void GetAxisAutoMinMax(std::int32_t axisid, bool& AutoMin, bool& AutoMax, bool& AutoCross) const;
  bool GetAxisLog(std::int32_t axisid) const;
  std::int32_t GetSfactorIdx(std::int32_t axisid) const;
  std::int32_t GetSFExponent(std::int32_t axisid) const;

  // Background, frame, titles, axis lines, ticks, labels and grid lines.
  void ChartRedraw(gdi::DeviceContext& hDC) const;
  // The closed outline with the stock object PENORBRUSH selected.
  void DrawRectangle(gdi::DeviceContext& hDC, std::int32_t X1, std::int32_t Y1, std::int32_t X2,
                     std::int32_t Y2, std::int32_t PENORBRUSH) const;
  // Inverting line and box: drawing them twice restores the picture.
  void DrawXORLine(gdi::DeviceContext& hDC, std::int32_t X1, std::int32_t Y1, std::int32_t X2,
                   std::int32_t Y2) const;
  void DrawZoomBox(gdi::DeviceContext& hDC, std::int32_t X1, std::int32_t Y1, std::int32_t X2,
                   std::int32_t Y2) const;
  // Lays out the plot rectangle and the title positions inside the window rectangle from
  // the sizes of the labels and titles that exist now.
  void CreateChartLimits(gdi::DeviceContext& hDC, std::int32_t wleft, std::int32_t wtop,
                         std::int32_t wright, std::int32_t wbottom, bool KeepSquare);
  // Builds the tick-label string (at most 64 labels) and NumLabels; keeps the old labels
  // when the range or spacing cannot be labelled.
  void CreateTickLabels(std::int32_t axisid);
  void AutoScaleMajor(std::int32_t axisid, double tmin, double tmax, std::int32_t ScaleFactor);
  void AutoScaleMinor(std::int32_t axisid);
  static std::int32_t Exp2Idx(std::int32_t exponent);
  static std::int32_t Idx2Exp(std::int32_t Index);
  // Every default; also clears titles and labels. Tick lengths and the layout stay.
  void SetChartDefaults();

  // The axis record of axisid 0..3 (std::out_of_range otherwise).
  ChartAxis& Axis(std::int32_t axisid) { return Axes.at(static_cast<std::size_t>(axisid)); }
  const ChartAxis& Axis(std::int32_t axisid) const {
    return Axes.at(static_cast<std::size_t>(axisid));
  }
  const FontSpec& ChartTitle() const { return ChartTitle_; }

  // Where the last layout put an axis title (x, y of its reference point and its size)
  // and the chart title.
  struct TextPlace {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t height = 0;
    std::int32_t width = 0;
  };
  TextPlace AxisTitlePlace(std::int32_t axisid) const {
    return AxisTitlePos.at(static_cast<std::size_t>(axisid));
  }
  TextPlace TitlePlace() const { return TitlePos; }

 private:
  struct PlotRectangle {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t height = 0;
    std::int32_t width = 0;
  };
  // Room an axis takes in the layout.
  struct AxisRoom {
    std::int32_t thickness = 0;
    std::int32_t nearOverhang = 0;
    std::int32_t farOverhang = 0;
    std::int32_t titleWidth = 0;
    std::int32_t titleHeight = 0;
  };
  // Mark positions along an axis, in device pixels.
  struct AxisRun {
    double start = 0;  // near end: left or bottom
    double end = 0;    // far end: right or top
    double run = 0;    // end - start
  };

  static bool ValidAxis(std::int32_t axisid) { return axisid >= 0 && axisid <= 3; }
  static bool IsHorizontal(std::int32_t axisid) { return axisid == kAxisBottom || axisid == kAxisTop; }
  bool HasPlot() const { return PlotRect.height >= 1 && PlotRect.width >= 1; }
  std::int32_t PlotRight() const { return PlotRect.left + PlotRect.width - 1; }
  std::int32_t PlotBottom() const { return PlotRect.top + PlotRect.height - 1; }
  AxisRun RunOf(std::int32_t axisid) const;
  bool MajorMarks(std::int32_t axisid, bool twoEndRule, std::int32_t& n, double& step) const;

  void AxisLine(gdi::DeviceContext& hDC, std::int32_t axisid) const;
  void TickMarks(gdi::DeviceContext& hDC, std::int32_t axisid) const;
  void TickLabels(gdi::DeviceContext& hDC, std::int32_t axisid) const;
  void AxisTitle(gdi::DeviceContext& hDC, std::int32_t axisid) const;
  void GridLines(gdi::DeviceContext& hDC, bool xDirection) const;
  void Frame(gdi::DeviceContext& hDC) const;
  void Background(gdi::DeviceContext& hDC) const;
  void ChartTitleText(gdi::DeviceContext& hDC) const;
  AxisRoom MeasureAxis(gdi::DeviceContext& hDC, std::int32_t axisid) const;

  std::array<ChartAxis, 4> Axes;
  FontSpec ChartTitle_;
  PlotRectangle PlotRect;
  std::array<TextPlace, 4> AxisTitlePos;
  TextPlace TitlePos;
};

}  // namespace orvale
