#pragma once
// The 3-D chart frame in which the surface plot draws the wavefront: a box with x, y and
// z axes, their ticks, labels and titles, a chart title, back walls and an optional
// floor, seen from a view point and projected onto device pixels. The surface plot maps
// and projects its own points through the same chart. Everything is drawn through a
// DeviceContext, so the same code draws on screen, on a printer page and into images.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/analysis/Points.h"
#include "app/document/FontSpec.h"
#include "app/plots/ChartAxis.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

// Axis identifiers of the 3-D chart; kChart3DTitleId names the chart title in SetTitle.
inline constexpr std::int32_t kAxisX = 0;
inline constexpr std::int32_t kAxisY = 1;
inline constexpr std::int32_t kAxisZ = 2;
inline constexpr std::int32_t kChart3DTitleId = 3;

class clsChart3D {
 public:
  // A unit cube, no view point yet, screen tick lengths and every default.
  clsChart3D();

  // Tick lengths in device pixels.
  std::int32_t TICKMAJORLENGTH = 7;
  std::int32_t TICKMINORLENGTH = 4;
  // With a parallel projection, scale x and y separately so the box fills the rectangle.
  bool FitAspectRatio = true;

  // Frame style; SetChartDefaults restores it.
  bool DrawBackWalls = true;
  bool DrawFloor = false;
  gdi::Color FloorColor = 0x888888;
  PenTriple WallPen{0, 0, 0};

  // Screen tick lengths for nullptr (the screen marker); for a printer larger than the
  // screen they grow with the ratio of the page diagonal to the screen diagonal.
  void SetTickMarkLengths(gdi::DeviceContext* hDCPrinter);
  void GetCubeStretch(double& ys, double& zs) const;
  // Sets the half heights of the box in y and z (x always spans -1 .. 1) and projects
  // its corners again. The axis mappings keep the stretch they were made with.
  void SetCubeStretch(double ys, double zs);
  // axisid 3 sets the chart title, 0..2 an axis title.
  void SetTitle(std::int32_t axisid, const std::string& str);
  void GetAxisMinMax(std::int32_t axisid, double& Min, double& Max) const;
  // Stores the range and maps it onto the box; a range with Max <= Min is ignored.
  void SetAxisMinMax(std::int32_t axisid, double Min, double Max);
  void GetAxisAutoMinMax(std::int32_t axisid, bool& AutoMin, bool& AutoMax) const;
  bool GetAxisLog(std::int32_t axisid) const;
  std::int32_t GetSfactorIdx(std::int32_t axisid) const;
  std::int32_t GetSFExponent(std::int32_t axisid) const;

  // Axis lines, ticks, labels, titles, floor and back walls as last laid out. Draws
  // nothing before the first layout or while the view point cannot be drawn.
  void ChartRedraw(gdi::DeviceContext& hDC) const;
  // Accepts r >= 0, 0 <= theta <= 360 and 0 <= phi <= 90; a perspective eye must also lie
  // beyond the box along the line of sight. Recalc tells whether the view changed; a
  // refused view point leaves everything, Recalc included, as it was.
  bool ChangeViewPoint(double newr, double newtheta, double newphi, bool& Recalc);
  void GetViewPoint(double& newr, double& newtheta, double& newphi) const;
  // Lays out the box, its labels and titles inside the rectangle from the labels and
  // titles that exist now. Nothing happens for an empty rectangle or an unusable view.
  void CreateChartLimits(gdi::DeviceContext& hDC, std::int32_t wleft, std::int32_t wtop,
                         std::int32_t wright, std::int32_t wbottom);
  void CreateTickLabels(std::int32_t axisid);
  void AutoScaleMajor(std::int32_t axisid, double tmin, double tmax, std::int32_t ScaleFactor);
  void AutoScaleMinor(std::int32_t axisid);
  static std::int32_t Exp2Idx(std::int32_t exponent);
  // Every default of the axes, the chart title and the frame style; clears titles and
  // labels.
  void SetChartDefaults();
  // Fits the projected box into the rectangle.
  void CalcScaleFactors(std::int32_t wleft, std::int32_t wtop, std::int32_t wright,
                        std::int32_t wbottom);
  // Data units to box coordinates, clamped to the box: a point without data sits on
  // the floor.
  void MapWorldToScaled(double& X, double& Y, double& z) const;
  void GetScaleFactors(double& xScale, double& yScale, double& xOffset, double& yoffset) const;

  // Whether the view point is set and can be drawn: with perspective the eye lies beyond
  // every point of the box, so nothing projects behind it.
  bool ViewUsable() const;
  // The projection of a box point for the current view point, and its device pixel.
  PointD Project(const Point3D& p) const;
  gdi::Point ProjectToScreen(const PointD& projected) const;

  // The axis record of axisid 0..2 (std::out_of_range otherwise).
  ChartAxis& Axis(std::int32_t axisid) { return Axes.at(static_cast<std::size_t>(axisid)); }
  const ChartAxis& Axis(std::int32_t axisid) const {
    return Axes.at(static_cast<std::size_t>(axisid));
  }
  const FontSpec& ChartTitle() const { return ChartTitle_; }

  // Screen boxes of the last layout (left, top, height, width).
  struct TextBox {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t right() const { return left + width - 1; }
    std::int32_t bottom() const { return top + height - 1; }
    bool empty() const { return height <= 0 || width <= 0; }
  };
  const std::vector<TextBox>& LabelBoxes(std::int32_t axisid) const {
    return Layout_.at(static_cast<std::size_t>(axisid)).labels;
  }
  TextBox AxisTitleBox(std::int32_t axisid) const {
    return Layout_.at(static_cast<std::size_t>(axisid)).title;
  }
  TextBox ChartTitleBox() const { return ChartTitleBox_; }
  // The pixel ends of an axis line and which side the z axis and the labels are on.
  gdi::Point AxisStartPixel(std::int32_t axisid) const;
  gdi::Point AxisEndPixel(std::int32_t axisid) const;
  bool ZAxisOnLeft() const { return ZOnLeft_; }
  bool LabelSide() const { return LabelSide_; }

 private:
  // Per axis: data origin and factor onto the box, whether that mapping is set.
  struct AxisMapping {
    double origin = 0;
    double factor = 0;
  };
  // Per axis: where the last layout put the labels and the title.
  struct AxisLayout {
    std::vector<TextBox> labels;
    std::vector<gdi::Point> anchors;  // where each label is drawn
    std::uint32_t align = 0;          // with this text alignment
    TextBox title;            // the title's text box
  };
  // The major mark positions of an axis on the screen: the first mark and the step.
  struct MarkRun {
    std::int32_t n = 0;
    double x0 = 0, y0 = 0;  // first mark
    double dx = 0, dy = 0;  // step between marks
  };

  static bool ValidAxis(std::int32_t axisid) { return axisid >= 0 && axisid <= 2; }
  double Stretch(std::int32_t axisid) const;
  void ProjectFrame();
  bool AxisLiesFlat(std::int32_t axisid) const;
  std::int32_t LabelSideSign(std::int32_t axisid) const;
  std::int32_t TickRoom(std::int32_t axisid, std::int32_t sign) const;
  MarkRun MajorRun(std::int32_t axisid, std::int32_t n) const;
  std::int32_t MajorMarkCount(std::int32_t axisid) const;

  // Layout steps.
  gdi::Size MeasureChartTitle(gdi::DeviceContext& hDC) const;
  std::int32_t MeasureZAxisRoom(gdi::DeviceContext& hDC) const;
  void PlaceTickLabels(gdi::DeviceContext& hDC, std::int32_t axisid);
  void PlaceAxisTitle(gdi::DeviceContext& hDC, std::int32_t axisid);
  TextBox GetAxisTextBounds(std::int32_t axisid) const;

  // Drawing steps.
  void DrawAxisLine(gdi::DeviceContext& hDC, std::int32_t axisid) const;
  void DrawTickMarks(gdi::DeviceContext& hDC, std::int32_t axisid) const;
  void DrawTickLabels(gdi::DeviceContext& hDC, std::int32_t axisid) const;
  void DrawAxisTitle(gdi::DeviceContext& hDC, std::int32_t axisid) const;
  void DrawChartTitle(gdi::DeviceContext& hDC) const;
  void DrawFloorArea(gdi::DeviceContext& hDC) const;
  void DrawBackWallLines(gdi::DeviceContext& hDC) const;
  std::vector<bool> ShownLabels(std::int32_t axisid) const;

  std::array<ChartAxis, 3> Axes;
  FontSpec ChartTitle_;
  double YStretch = 1;
  double ZStretch = 1;
  double ViewR = 0;
  double ViewTheta = -1;
  double ViewPhi = -1;
  std::array<AxisMapping, 3> Mapping_;
  double XScale_ = 1, YScale_ = 1, XOffset_ = 0, YOffset_ = 0;
  std::array<Point3D, 8> Corners_;
  std::array<PointD, 8> ProjectedCorners_;
  std::array<Point3D, 6> AxisEnds_;  // start and end of the x, y and z axis lines
  std::array<PointD, 6> ProjectedAxisEnds_;
  std::array<Point3D, 6> BackWall_;
  std::array<PointD, 6> ProjectedBackWall_;
  bool ZOnLeft_ = true;
  bool LabelSide_ = false;
  bool LaidOut_ = false;
  std::array<AxisLayout, 3> Layout_;
  TextBox ChartTitleBox_;
};

}  // namespace orvale
