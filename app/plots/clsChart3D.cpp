// Axes, ranges, view point, box mapping and projection of the 3-D chart frame. The
// layout is in Chart3DLayout.cpp, the drawing in Chart3DDrawing.cpp.
#include "app/plots/clsChart3D.h"

#include <algorithm>
#include <cmath>

#include "app/analysis/MathConstants.h"
#include "app/analysis/ViewProjection.h"
#include "app/plots/ChartScaling.h"
#include "app/plots/ChartText.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// The largest distance along the line of sight (theta, phi) of any point of a box
// spanning +-1, +-ys and +-zs: a perspective eye must stand beyond it.
double BoxDepth(double theta, double phi, double ys, double zs) {
  const double t = theta * kDegreesToRadians;
  const double f = phi * kDegreesToRadians;
  return std::fabs(std::sin(f) * std::cos(t)) + std::fabs(ys * std::sin(f) * std::sin(t)) +
         std::fabs(zs * std::cos(f));
}

}  // namespace

clsChart3D::clsChart3D() {
  SetCubeStretch(1, 1);
  SetTickMarkLengths(nullptr);
  SetChartDefaults();
}

void clsChart3D::SetChartDefaults() {
  static const char* const kTitles[3] = {"X", "Y", "Z Axis"};
  for (std::int32_t id = 0; id < 3; ++id) {
    ChartAxis a{};
    a.AutoMin = a.AutoMax = a.AutoMajor = a.AutoMinor = true;
    a.AutoCross = false;
    a.LogScale = false;
    a.MajorTickStyle = kTickOutside;
    a.MinorTickStyle = kTickOutside;
    a.Visible = true;
    a.AxisPen = {0, 1, 0};
    a.TickPen = {0, 1, 0};
    a.SFactorIdx = 8;
    a.LabelDigits = 3;
    a.NumLabels = 0;
    a.LabelFont = ChartFont(8, kTextHorizontal);
    a.TitleFont = ChartFont(10, id == kAxisZ ? kText90Degrees : kTextHorizontal);
    a.TitleFont.Caption = kTitles[id];
    Axes[static_cast<std::size_t>(id)] = a;
  }
  ChartTitle_ = ChartFont(10, kTextHorizontal);
  DrawBackWalls = true;
  DrawFloor = false;
  FloorColor = 0x888888;
}

void clsChart3D::SetTickMarkLengths(gdi::DeviceContext* hDCPrinter) {
  TickLengthsForDevice(hDCPrinter, TICKMAJORLENGTH, TICKMINORLENGTH);
}

void clsChart3D::GetCubeStretch(double& ys, double& zs) const {
  ys = YStretch;
  zs = ZStretch;
}

void clsChart3D::SetCubeStretch(double ys, double zs) {
  YStretch = ys;
  ZStretch = zs;
  Corners_ = {Point3D{-1, -ys, -zs}, {1, -ys, -zs}, {1, ys, -zs}, {-1, ys, -zs},
              {-1, -ys, zs},         {1, -ys, zs},  {1, ys, zs},  {-1, ys, zs}};
  for (std::size_t i = 0; i < Corners_.size(); ++i) ProjectedCorners_[i] = Project(Corners_[i]);
}

void clsChart3D::SetTitle(std::int32_t axisid, const std::string& str) {
  if (axisid == kChart3DTitleId)
    ChartTitle_.Caption = str;
  else if (ValidAxis(axisid))
    Axis(axisid).TitleFont.Caption = str;
}

void clsChart3D::GetAxisMinMax(std::int32_t axisid, double& Min, double& Max) const {
  if (!ValidAxis(axisid)) return;
  Min = Axis(axisid).Min;
  Max = Axis(axisid).Max;
}

double clsChart3D::Stretch(std::int32_t axisid) const {
  return axisid == kAxisY ? YStretch : axisid == kAxisZ ? ZStretch : 1.0;
}

void clsChart3D::SetAxisMinMax(std::int32_t axisid, double Min, double Max) {
  if (!ValidAxis(axisid) || !(Max > Min)) return;
  ChartAxis& a = Axis(axisid);
  a.Min = Min;
  a.Max = Max;
  AxisMapping& m = Mapping_[static_cast<std::size_t>(axisid)];
  m.origin = Min;
  m.factor = 2 * Stretch(axisid) / (Max - Min);
}

void clsChart3D::GetAxisAutoMinMax(std::int32_t axisid, bool& AutoMin, bool& AutoMax) const {
  if (!ValidAxis(axisid)) return;
  AutoMin = Axis(axisid).AutoMin;
  AutoMax = Axis(axisid).AutoMax;
}

bool clsChart3D::GetAxisLog(std::int32_t axisid) const {
  return ValidAxis(axisid) && Axis(axisid).LogScale;
}

std::int32_t clsChart3D::GetSfactorIdx(std::int32_t axisid) const {
  return ValidAxis(axisid) ? Axis(axisid).SFactorIdx : 8;
}

std::int32_t clsChart3D::GetSFExponent(std::int32_t axisid) const {
  return ExponentOfScaleIndex(GetSfactorIdx(axisid));
}

std::int32_t clsChart3D::Exp2Idx(std::int32_t exponent) { return ScaleIndexOfExponent(exponent); }

void clsChart3D::AutoScaleMajor(std::int32_t axisid, double tmin, double tmax,
                                std::int32_t ScaleFactor) {
  if (ValidAxis(axisid)) AutoScaleAxisMajor(Axis(axisid), tmin, tmax, ScaleFactor);
}

void clsChart3D::AutoScaleMinor(std::int32_t axisid) {
  if (ValidAxis(axisid)) AutoScaleAxisMinor(Axis(axisid));
}

void clsChart3D::CreateTickLabels(std::int32_t axisid) {
  if (ValidAxis(axisid)) CreateAxisTickLabels(Axis(axisid));
}

bool clsChart3D::ChangeViewPoint(double newr, double newtheta, double newphi, bool& Recalc) {
  if (!(newr >= 0) || !(newtheta >= 0 && newtheta <= 360) || !(newphi >= 0 && newphi <= 90))
    return false;
  // An eye inside the box, or level with any part of it, has no picture of it.
  if (newr > 0 && !(newr > BoxDepth(newtheta, newphi, YStretch, ZStretch))) return false;
  if (newr == ViewR && newtheta == ViewTheta && newphi == ViewPhi) {
    Recalc = false;
    return true;
  }
  ViewR = newr;
  ViewTheta = newtheta;
  ViewPhi = newphi;
  Recalc = true;
  ProjectFrame();
  return true;
}

void clsChart3D::GetViewPoint(double& newr, double& newtheta, double& newphi) const {
  newr = ViewR;
  newtheta = ViewTheta;
  newphi = ViewPhi;
}

bool clsChart3D::ViewUsable() const {
  if (!(ViewTheta >= 0 && ViewPhi >= 0)) return false;
  return ViewR == 0 || ViewR > BoxDepth(ViewTheta, ViewPhi, YStretch, ZStretch);
}

PointD clsChart3D::Project(const Point3D& p) const {
  PointD q;
  MakeViewMatrix(p, ViewR, ViewTheta, ViewPhi, q);
  return q;
}

void clsChart3D::ProjectFrame() {
  for (std::size_t i = 0; i < AxisEnds_.size(); ++i) ProjectedAxisEnds_[i] = Project(AxisEnds_[i]);
  for (std::size_t i = 0; i < Corners_.size(); ++i) ProjectedCorners_[i] = Project(Corners_[i]);
}

gdi::Point clsChart3D::ProjectToScreen(const PointD& projected) const {
  return {DevicePixel(XScale_ * projected.x + XOffset_), DevicePixel(YScale_ * projected.y + YOffset_)};
}

gdi::Point clsChart3D::AxisStartPixel(std::int32_t axisid) const {
  return ProjectToScreen(ProjectedAxisEnds_.at(static_cast<std::size_t>(2 * axisid)));
}

gdi::Point clsChart3D::AxisEndPixel(std::int32_t axisid) const {
  return ProjectToScreen(ProjectedAxisEnds_.at(static_cast<std::size_t>(2 * axisid + 1)));
}

void clsChart3D::CalcScaleFactors(std::int32_t wleft, std::int32_t wtop, std::int32_t wright,
                                  std::int32_t wbottom) {
  double minX = ProjectedCorners_[0].x, maxX = minX;
  double minY = ProjectedCorners_[0].y, maxY = minY;
  for (const PointD& p : ProjectedCorners_) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const double w = maxX - minX;
  const double h = maxY - minY;
  if (!(w > 0) || !(h > 0) || !std::isfinite(w) || !std::isfinite(h)) {
    ShowMessage("Internal Application Error", mb::kOk, "Error", kMainWindowOwner);
    XScale_ = YScale_ = 1;
    XOffset_ = YOffset_ = 0;
    return;
  }
  XScale_ = (static_cast<double>(wright) - wleft) / w;
  YScale_ = (static_cast<double>(wbottom) - wtop) / h;
  if (!(FitAspectRatio && ViewR == 0)) XScale_ = YScale_ = std::min(XScale_, YScale_);
  XOffset_ = (static_cast<double>(wleft) + wright) / 2;
  YOffset_ = (static_cast<double>(wtop) + wbottom) / 2;
}

void clsChart3D::MapWorldToScaled(double& X, double& Y, double& z) const {
  const AxisMapping& mx = Mapping_[kAxisX];
  const AxisMapping& my = Mapping_[kAxisY];
  const AxisMapping& mz = Mapping_[kAxisZ];
  X = std::clamp((X - mx.origin) * mx.factor - 1, -1.0, 1.0);
  Y = std::clamp((Y - my.origin) * my.factor - YStretch, -YStretch, YStretch);
  z = std::clamp((z - mz.origin) * mz.factor - ZStretch, -ZStretch, ZStretch);
}

void clsChart3D::GetScaleFactors(double& xScale, double& yScale, double& xOffset,
                                 double& yoffset) const {
  xScale = XScale_;
  yScale = YScale_;
  xOffset = XOffset_;
  yoffset = YOffset_;
}

}  // namespace orvale
