// One analysis of a document at the largest map sizes (400 x 400 surface and synthetic
// fringes) handed to its seven output views: the models filled, and the three plots
// laid out and painted at the default window sizes, as the screen refresh does it; then
// the same with the real result windows shown in an MDI area, and one frame of dragging
// the surface's thumb.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QMdiArea>
#include <memory>
#include <vector>

#include "app/document/AreaFills.h"
#include "app/document/FloatingHorizon.h"
#include "app/document/clsDocument.h"
#include "app/document/OutputViewKinds.h"
#include "app/plots/PlotPrinting.h"
#include "app/plots/ResultDocumentViews.h"
#include "app/plots/ResultViewFillers.h"
#include "app/plots/frmSurfacePlot.h"
#include "bench/BenchDocuments.h"
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

GeneralSettings LargestMaps() { return bench::PlotSettings(kMapSize); }

// A document whose fit is current: defocus, astigmatism, coma and spherical aberration.
void PrepareDocument(clsDocument& doc) {
  doc.SetImageData(std::vector<std::uint8_t>(kImage * kImage, 128), kImage, kImage);
  doc.Aperture.SetShapeType(clsShape::kCircle);
  doc.Aperture.SetCenter(kImage / 2.0, kImage / 2.0);
  doc.Aperture.SetRadii(kImage * 0.45, kImage * 0.45);
  doc.InvalidateMask();
  bench::SetKnownFit(doc, 500);
  doc.ImageFileName = "bench.bmp";
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

// A main window with an MDI area whose documents get the result windows.
class WindowsHost : public bench::MdiBenchHost {
 public:
  WindowsHost()
      : MdiBenchHost([](MainFrame& frame, QMdiArea& area) {
          return std::make_unique<ResultDocumentViews>(frame, area);
        }) {}
};

// All seven windows shown at the default layout, filled by one analysis.
void ShowAllWindows(clsDocument& doc) {
  doc.Settings().ResultWindowLayout = DefaultResultWindowLayout({1400, 1000, 4, 20});
  PrepareDocument(doc);
  doc.OutputViews_Load(false);
  for (const auto& kind : kOutputViewKinds) doc.*kind.Visible = true;
  doc.OutputViews_UpdateVisibility(true);
  doc.UpdateAnalysis(true, false);
  QCoreApplication::processEvents();
}

void BM_AnalysisFillsAndPaintsTheWindows(benchmark::State& state) {
  GeneralSettings settings = LargestMaps();
  WindowsHost host;
  clsDocument doc(settings, &host);
  ShowAllWindows(doc);
  for (auto _ : state) {
    doc.UpdateAnalysis(true, false);
    QCoreApplication::processEvents();  // the windows copy their pictures to the screen
  }
  const ResultViewModels& views = dynamic_cast<ResultDocumentViews&>(doc.Views()).Models();
  state.counters["ready"] = views.Contour.PlotReady && views.Surface.PlotReady &&
                            views.Line.PlotReady && views.SFringe.ImageReady;
}

void BM_SurfaceThumbDragFrame(benchmark::State& state) {
  GeneralSettings settings = LargestMaps();
  WindowsHost host;
  clsDocument doc(settings, &host);
  ShowAllWindows(doc);
  frmSurfacePlot& surface = *dynamic_cast<ResultDocumentViews&>(doc.Views()).SurfacePlotView();
  surface.hsbSurface->setSliderDown(true);
  int theta = 60;
  for (auto _ : state) {
    theta = theta >= 359 ? 0 : theta + 1;
    surface.hsbSurface->setValue(theta);
    QCoreApplication::processEvents();
  }
  surface.hsbSurface->setSliderDown(false);
}

BENCHMARK(BM_AnalysisFillsTheModels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalysisFillsAndPaints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalysisFillsAndPaintsTheWindows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceThumbDragFrame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvale
