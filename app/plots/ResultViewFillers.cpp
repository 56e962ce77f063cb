#include "app/plots/ResultViewFillers.h"

#include <string>
#include <utility>
#include <vector>

#include "app/analysis/SignificantFormat.h"
#include "app/document/DocumentHost.h"
#include "app/document/OutputViewCaptions.h"
#include "app/document/clsDocument.h"
#include "app/plots/ResultReports.h"
#include "app/plots/SFringePicture.h"
#include "platform/runtime/NumberPattern.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/AllocationReport.h"

namespace orvale {

namespace {

// The pupil runs from -1 to 1 along x and y (crossing at -1 on a 2-D chart), with
// automatic marks.
void SetPupilAxis(clsChart2D& chart, std::int32_t axis) {
  chart.SetAxisMinMax(axis, -1, 1, -1);
  chart.AutoScaleMajor(axis, -1, 1, 0);
  chart.AutoScaleMinor(axis);
}

void SetPupilAxis(clsChart3D& chart, std::int32_t axis) {
  chart.SetAxisMinMax(axis, -1, 1);
  chart.AutoScaleMajor(axis, -1, 1, 0);
  chart.AutoScaleMinor(axis);
}

double BaseScaleLimit(const clsDocument& doc) { return doc.LimitDisplayScale ? 0.5 : 0.05; }

// Outside waves the limit follows the display scale, kept to one significant digit.
double InOutputUnits(double limit, const clsDocument& doc) {
  if (doc.ScaleMode == 0) return limit;
  return ReadLeadingNumber(FormatSignificant(limit * doc.DisplayScale, 1, 0));
}

std::string ProfileTitle(std::int32_t angle) {
  return "Profile along " + FormatPattern(static_cast<double>(angle), "0") + " degs";
}

std::string UnitWord(const clsDocument& doc) { return std::string(OutputUnitWord(doc.ScaleMode)); }

void SetReport(ResultViewModels& views, const clsDocument& doc, std::int32_t formType,
               std::string text, std::vector<std::int32_t> tabStops) {
  TextViewModel& view = *views.Text(formType);
  view.Caption = OutputViewCaption(doc, formType);
  view.Text = std::move(text);
  view.Font = doc.ScreenTextStyle();
  view.TabStops = std::move(tabStops);
  views.Shown().UpdateTextBox(formType);
}

}  // namespace

double PlotScaleLimit(const clsDocument& doc) { return InOutputUnits(BaseScaleLimit(doc), doc); }

void OutputViews_LoadData(ResultViewModels& views, clsDocument& doc, const AnalysisViewData& data) {
  if (!doc.OutputViewsExist) return;
  LoadDataIntoZernikes(views, doc);
  LoadDataIntoAberrations(views, doc);
  LoadDataIntoGridResults(views, doc);
  LoadDataIntoSFringe(views, doc, data.xOrigSurfaceSize, data.yOrigSurfaceSize, data.SFringeMap);
  LoadDataIntoContourPlot(views, doc, data.xSurfaceSize, data.ySurfaceSize, data.SurfaceMap);
  LoadDataIntoSurfacePlot(views, doc, data.xSurfaceSize, data.ySurfaceSize, data.SurfaceMap);
  LoadDataIntoLineProfile(views, doc, static_cast<std::int32_t>(data.ProfileX.size()),
                          data.ProfileX, data.ProfileY);
  // A contour plot that stopped early holds an old range: the user's fixed range stays.
  if (views.Contour.PlotReady) views.Contour.ContourPlot.GetZAxisMinMax(doc.zmin, doc.zmax);
}

void LoadDataIntoSurfacePlot(ResultViewModels& views, const clsDocument& doc, std::int32_t xpts,
                             std::int32_t ypts, std::span<const double> SurfaceData) {
  if (!doc.OutputViewsExist) return;
  SurfacePlotViewModel& view = views.Surface;
  clsSurfacePlot& plot = view.SurfacePlot;
  clsChart3D& chart = plot.Chart;
  view.Caption = OutputViewCaption(doc, viewtype::kSurfacePlot);
  view.PlotReady = false;
  plot.FillPolygons = doc.FillPolygons;
  plot.DrawMeshWithFill = doc.DrawMeshWithFill;
  for (const std::int32_t axis : {kAxisX, kAxisY}) SetPupilAxis(chart, axis);
  plot.ScaleLimit = PlotScaleLimit(doc);
  chart.SetTitle(kAxisZ, UnitWord(doc));
  for (const std::int32_t axis : {kAxisX, kAxisY}) chart.CreateTickLabels(axis);
  if (!plot.CreateMesh({}, {}, SurfaceData, xpts, ypts, false)) return;
  if (doc.AutoScaleZ) {
    plot.AutoScale(kAxisZ);
  } else {
    chart.SetAxisMinMax(kAxisZ, doc.zmin, doc.zmax);
    chart.AutoScaleMajor(kAxisZ, doc.zmin, doc.zmax, 0);
    chart.AutoScaleMinor(kAxisZ);
  }
  chart.CreateTickLabels(kAxisZ);
  if (!plot.SetNumberofContours(doc.ContourLevels) || !plot.CalculateContours() ||
      !plot.CreatePolygons()) {
    return;
  }
  view.PolygonsStale = false;
  view.PlotReady = true;
  views.Shown().ResizeWindow(viewtype::kSurfacePlot);
}

void LoadDataIntoContourPlot(ResultViewModels& views, const clsDocument& doc, std::int32_t xpts,
                             std::int32_t ypts, std::span<const double> SurfaceData) {
  if (!doc.OutputViewsExist) return;
  ContourPlotViewModel& view = views.Contour;
  clsContourPlot& plot = view.ContourPlot;
  clsChart2D& chart = plot.Chart;
  view.PlotReady = false;
  view.Caption = OutputViewCaption(doc, viewtype::kContourPlot);
  for (const std::int32_t axis : {kAxisBottom, kAxisLeft}) SetPupilAxis(chart, axis);
  plot.ScaleLimit = PlotScaleLimit(doc);
  for (const std::int32_t axis : {kAxisBottom, kAxisLeft}) chart.CreateTickLabels(axis);
  if (!plot.CreateMesh({}, {}, SurfaceData, xpts, ypts, false)) return;
  if (doc.AutoScaleZ) {
    plot.AutoScale(2);
  } else {
    plot.SetZAxisMinMax(doc.zmin, doc.zmax);
  }
  if (!plot.SetNumberofContours(doc.ContourLevels) || !plot.CalculateContours()) return;
  double lo = 0, hi = 0;
  plot.GetZAxisMinMax(lo, hi);
  const std::int32_t levels = plot.GetNumberofContours();
  const double step = levels > 0 ? (hi - lo) / levels : 0.0;
  chart.SetTitle(kChartTitleId, FormatPattern(step, "0.000 ") + UnitWord(doc) + " / contour");
  plot.SetApertureClippingRegion(doc.Aperture, doc.ZAnalysis);
  plot.SetObstructionClippingRegion(doc.Obstruction, doc.ZAnalysis);
  view.PlotReady = true;
  views.Shown().ResizeWindow(viewtype::kContourPlot);
}

void LoadDataIntoLineProfile(ResultViewModels& views, clsDocument& doc, std::int32_t pts,
                             std::span<const double> LineXData, std::span<const double> LineYData) {
  if (!doc.OutputViewsExist) return;
  LineProfileViewModel& view = views.Line;
  clsLineProfile& plot = view.LinePlot;
  clsChart2D& chart = plot.Chart;
  view.PlotReady = false;
  view.Caption = OutputViewCaption(doc, viewtype::kLineProfile);
  SetPupilAxis(chart, kAxisBottom);
  plot.ScaleLimit = BaseScaleLimit(doc);
  plot.DeleteAllTraces();
  doc.ProfileTraceid = plot.CreateTrace(pts, 0);
  if (doc.ProfileTraceid == 0) return;
  plot.PopulateTrace(doc.ProfileTraceid, LineXData, LineYData, pts, 0);
  plot.ScaleLimit = InOutputUnits(plot.ScaleLimit, doc);
  if (doc.AutoScaleZ) {
    plot.AutoScale(kAxisLeft);
  } else {
    plot.SetYAxisMinMax(doc.zmin, doc.zmax);
    chart.AutoScaleMajor(kAxisLeft, doc.zmin, doc.zmax, 0);
    chart.AutoScaleMinor(kAxisLeft);
  }
  chart.SetTitle(kAxisBottom, ProfileTitle(view.ViewAngle));
  chart.SetTitle(kAxisLeft, UnitWord(doc));
  chart.CreateTickLabels(kAxisBottom);
  chart.CreateTickLabels(kAxisLeft);
  view.PlotReady = true;
  views.Shown().ResizeWindow(viewtype::kLineProfile);
}

void LoadDataIntoSFringe(ResultViewModels& views, const clsDocument& doc, std::int32_t xpts,
                         std::int32_t ypts, std::span<const double> SurfaceData) {
  if (!doc.OutputViewsExist || xpts <= 0 || ypts <= 0) return;
  SFringeViewModel& view = views.SFringe;
  const bool hadPicture = view.ImageReady;
  view.ImageReady = false;
  view.Caption = OutputViewCaption(doc, viewtype::kSFringe);
  if (!hadPicture) {
    const double ratio = view.ZoomFactor / 100.0;
    views.Shown().SizeWindowToImage(
        viewtype::kSFringe,
        InitialImageWindowSize(RoundToInt32(xpts * ratio), RoundToInt32(ypts * ratio),
                               doc.Host().FrameMetrics()));
  }
  const std::size_t count = static_cast<std::size_t>(xpts) * static_cast<std::size_t>(ypts);
  std::vector<std::uint8_t> bytes;
  if (SurfaceData.size() < count || !AssignOrReport(bytes, count, 0)) {
    views.Shown().HideWindow(viewtype::kSFringe);
    return;
  }
  SyntheticFringeBytes(SurfaceData.first(count), bytes);
  RefreshBitmapFromData(view, std::move(bytes), xpts, ypts);
  view.ImageReady = true;
  views.Shown().ResizeWindow(viewtype::kSFringe);
}

void LoadDataIntoAberrations(ResultViewModels& views, const clsDocument& doc) {
  if (!doc.OutputViewsExist) return;
  AberrationVector wn{};
  doc.GetWNotation(wn);
  SetReport(views, doc, viewtype::kAberrations, AberrationsReport(doc, wn), kAberrationsTabStops);
}

void LoadDataIntoZernikes(ResultViewModels& views, const clsDocument& doc) {
  if (!doc.OutputViewsExist) return;
  ZernikeVector z{};
  doc.GetZernikes(z);
  SetReport(views, doc, viewtype::kZernikes, ZernikesReport(z), kZernikesTabStops);
}

void LoadDataIntoGridResults(ResultViewModels& views, const clsDocument& doc) {
  if (!doc.OutputViewsExist) return;
  SetReport(views, doc, viewtype::kGridResults, GridResultsReport(doc.Grid),
            GridResultsTabStops(doc.Grid));
}

void RefreshLineProfile(ResultViewModels& views, const clsDocument& doc,
                        std::span<const double> positions, std::span<const double> values) {
  if (!doc.OutputViewsExist) return;
  LineProfileViewModel& view = views.Line;
  clsLineProfile& plot = view.LinePlot;
  plot.PopulateTrace(doc.ProfileTraceid, positions, values, doc.ProfileSize, 0);
  if (doc.AutoScaleZ) plot.AutoScale(kAxisLeft);
  plot.Chart.SetTitle(kAxisBottom, ProfileTitle(view.ViewAngle));
  plot.Chart.CreateTickLabels(kAxisLeft);
}

}  // namespace orvale
