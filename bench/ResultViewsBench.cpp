// One analysis of a document at the largest map sizes (400 x 400 surface and synthetic
// fringes) handed to its seven output views: the models filled, and the three plots
// laid out and painted at the default window sizes, as the screen refresh does it.
#include <benchmark/benchmark.h>

#include <vector>

#include "app/document/AreaFills.h"
#include "app/document/FloatingHorizon.h"
#include "app/document/clsDocument.h"
#include "app/plots/PlotPrinting.h"
#include "app/plots/ResultViewFillers.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {
namespace {

constexpr std::int32_t kImage = 400;
constexpr std::int32_t kMapSize = 400;
// Client areas of the default result windows, less their scroll bars.
constexpr std::int32_t kContourSide = 290;
constexpr std::int32_t kSurfaceWidth = 484, kSurfaceHeight = 224;
constexpr std::int32_t kLineWidth = 290, kLineHeight = 164;

GeneralSettings LargestMaps() {
  GeneralSettings s;
  s.SurfaceLevels = 10;
  s.SurfaceGridSize = kMapSize;
  s.SFringeSize = kMapSize;
  s.LineSize = 100;
  s.DefaultFillPolygons = true;
  s.DefaultDrawMeshWithFill = false;
  s.LimitScale = true;
  s.DefaultSurfaceTheta = 60;
  s.DefaultSurfacePhi = 30;
  s.ScreenText.FaceName = "Arial";
  s.ScreenText.Size = 10;
  s.ReportShowFlags.fill(true);
  return s;
}

// A document whose fit is current: defocus, astigmatism, coma and spherical aberration.
void PrepareDocument(clsDocument& doc) {
  doc.SetImageData(std::vector<std::uint8_t>(kImage * kImage, 128), kImage, kImage);
  doc.Aperture.SetShapeType(clsShape::kCircle);
  doc.Aperture.SetCenter(kImage / 2.0, kImage / 2.0);
  doc.Aperture.SetRadii(kImage * 0.45, kImage * 0.45);
  doc.InvalidateMask();
  ZernikeVector z{};
  z[3] = 2.0;
  z[4] = 0.4;
  z[6] = -0.3;
  z[8] = 0.35;
  doc.SetZernikes(z);
  doc.zscale = 1.0;
  doc.nDataPts = 500;
  doc.ImageFileName = "bench.bmp";
  doc.AnalysisValid = true;
  doc.CreateView(2);
  doc.UpdateAnalysis(true, true);  // copies the plot sizes from the settings
}

void Paint(ResultViewModels& views, gdi::ImageDeviceContext& contour,
           gdi::ImageDeviceContext& surface, gdi::ImageDeviceContext& line) {
  LayOutForWindow(views.Contour, contour, kContourSide, kContourSide);
  FillRectWhite(contour, kContourSide, kContourSide, 0, 0);
  views.Contour.ContourPlot.PlotRedraw(contour);

  LayOutForWindow(views.Surface, surface, kSurfaceWidth, kSurfaceHeight);
  if (views.Surface.PolygonsStale && views.Surface.SurfacePlot.CreatePolygons())
    views.Surface.PolygonsStale = false;
  FillRectWhite(surface, kSurfaceWidth, kSurfaceHeight, 0, 0);
  HorizonWidth = kSurfaceWidth;
  views.Surface.SurfacePlot.PlotRedraw(surface);

  LayOutForWindow(views.Line, line, kLineWidth, kLineHeight);
  FillRectWhite(line, kLineWidth, kLineHeight, 0, 0);
  views.Line.LinePlot.PlotRedraw(line);
}

void BM_AnalysisFillsTheModels(benchmark::State& state) {
  GeneralSettings settings = LargestMaps();
  clsDocument doc(settings);
  PrepareDocument(doc);
  ResultViewModels views(60, 30, 0);
  for (auto _ : state) {
    doc.UpdateAnalysis(true, false);
    OutputViews_LoadData(views, doc, doc.Views().LastData());
  }
  state.counters["ready"] = views.Contour.PlotReady && views.Surface.PlotReady &&
                            views.Line.PlotReady && views.SFringe.ImageReady;
  state.counters["mesh"] = views.Surface.SurfacePlot.MeshColumns();
  state.counters["sfringe"] = views.SFringe.XSize;
}

void BM_AnalysisFillsAndPaints(benchmark::State& state) {
  GeneralSettings settings = LargestMaps();
  clsDocument doc(settings);
  PrepareDocument(doc);
  ResultViewModels views(60, 30, 0);
  gdi::ImageDeviceContext contour(kContourSide, kContourSide);
  gdi::ImageDeviceContext surface(kSurfaceWidth, kSurfaceHeight);
  gdi::ImageDeviceContext line(kLineWidth, kLineHeight);
  for (auto _ : state) {
    doc.UpdateAnalysis(true, false);
    OutputViews_LoadData(views, doc, doc.Views().LastData());
    Paint(views, contour, surface, line);
  }
}

void BM_FillOnly(benchmark::State& state) {
  GeneralSettings settings = LargestMaps();
  clsDocument doc(settings);
  PrepareDocument(doc);
  ResultViewModels views(60, 30, 0);
  const AnalysisViewData data = doc.Views().LastData();
  for (auto _ : state) OutputViews_LoadData(views, doc, data);
}

BENCHMARK(BM_AnalysisFillsTheModels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalysisFillsAndPaints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvale
