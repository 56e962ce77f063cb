// The test report: the whole page of an analysed camera-sized document with six panes
// (surface, contour, interferogram, aberrations, Zernikes, logo) printed at 600 dpi
// into a PDF file, and one repaint of the page setup's preview at its on-screen size.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMdiArea>
#include <QPageSize>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <vector>

#include "app/document/clsDocument.h"
#include "app/imageview/ImageViewWindows.h"
#include "app/report/ReportPrinting.h"
#include "app/report/frmPageSetup.h"
#include "bench/BenchDocuments.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/registry/MemorySettingsStore.h"

namespace orvale {
namespace {

constexpr std::int32_t kWidth = 2592;
constexpr std::int32_t kHeight = 1944;
constexpr double kCx = kWidth / 2.0;
constexpr double kCy = kHeight / 2.0;
constexpr double kRadius = 900;

GeneralSettings ReportSettings() {
  GeneralSettings s = bench::PlotSettings(30);
  s.PrinterText = {"Courier New", 10, 0, false, false, false};
  s.ReportOrientation = 1;
  s.ReportDrawGrid = true;
  s.ReportNumPanes = 6;
  s.ReportPanes = {0, 6, 2, 3, 1, 8, 5};
  return s;
}

// A main window whose documents get the real image view and result windows.
class WindowsHost : public bench::MdiBenchHost {
 public:
  WindowsHost()
      : MdiBenchHost([](MainFrame& frame, QMdiArea& area) {
          return std::make_unique<ImageViewWindows>(frame, area, nullptr);
        }) {}
};

// Fringes of defocus and spherical aberration over a circular aperture, 2000 fringe
// centres on 20 rings, and an analysis whose fit is current.
void PrepareDocument(clsDocument& doc) {
  std::vector<std::uint8_t> image(static_cast<std::size_t>(kWidth) * kHeight);
  for (std::int32_t y = 0; y < kHeight; ++y)
    for (std::int32_t x = 0; x < kWidth; ++x) {
      const double u = (x - kCx) / kRadius, v = (y - kCy) / kRadius;
      const double r2 = u * u + v * v;
      image[static_cast<std::size_t>(y) * kWidth + x] =
          static_cast<std::uint8_t>(127.5 + 120 * std::cos(2 * M_PI * (6 * r2 + 2 * r2 * r2)));
    }
  doc.SetImageData(std::move(image), kWidth, kHeight);
  doc.Aperture.SetShapeType(clsShape::kCircle);
  doc.Aperture.SetCenter(kCx, kCy);
  doc.Aperture.SetRadii(kRadius, kRadius);
  for (int ring = 1; ring <= 20; ++ring) {
    std::vector<double> x(101), y(101);
    for (int i = 1; i <= 100; ++i) {
      x[i] = kCx + ring * 44 * std::cos(i * M_PI / 50);
      y[i] = kCy + ring * 44 * std::sin(i * M_PI / 50);
    }
    doc.Fringes.InsertOrder(ring, 100, x, y);
  }
  doc.InvalidateMask();
  bench::SetKnownFit(doc, 2000);
  doc.ImageFileName = "camera.bmp";
  doc.OpticComments = "Tested at the centre of curvature with a Bath interferometer.";
  doc.CreateView(1);
  doc.ImageView_Init();
  doc.CreateView(2);
  doc.UpdateAnalysis(true, true);
  QCoreApplication::processEvents();
}

void BM_ReportToPdf(benchmark::State& state) {
  MemorySettingsStore store;
  ScopedSettingsStore installed(store);
  GeneralSettings settings = ReportSettings();
  WindowsHost host;
  clsDocument doc(settings, &host);
  PrepareDocument(doc);
  QTemporaryDir folder;
  QImage logo(1008, 360, QImage::Format_RGB32);
  logo.fill(qRgb(40, 80, 160));
  logo.save(folder.filePath("Logo.bmp"), "BMP");

  ReportPrintJob job;
  job.PrintToFile = true;
  job.OutputFile = folder.filePath("report.pdf").toStdString();
  job.PageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                               QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
  job.Resolution = 600;
  job.LogoFolder = QDir(folder.path()).absolutePath().toStdString();
  for (auto _ : state) PrintReport(doc, job);
  state.counters["bytes"] = static_cast<double>(QFileInfo(folder.filePath("report.pdf")).size());
}

void BM_PagePreview(benchmark::State& state) {
  MemorySettingsStore store;
  ScopedSettingsStore installed(store);
  GeneralSettings settings = ReportSettings();
  frmPageSetup dialog(settings, nullptr);
  QImage target(dialog.picPreview->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    dialog.picPreview->render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
  state.counters["side"] = dialog.picPreview->width();
}

BENCHMARK(BM_ReportToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PagePreview)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvale
