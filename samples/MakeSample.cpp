// Makes the bundled sample: the interferogram of a mirror with a central obstruction
// (samples/sample.jpg) and its document (samples/sample.ovd with sample.bmp), whose
// aperture and obstruction are marked and whose fringes the program traced itself.
//
//   make_sample <samples folder> [<overlay.png>]
//
// The optional overlay shows the traced fringe centres on the picture, for checking.
// The fringes are synthesised with the engine's own Zernike evaluator; the picture goes
// through the program's own loader, tracer and document writer. Run by hand when the
// sample has to change; the output is committed.
#include <QGuiApplication>
#include <QColor>
#include <QImage>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <random>

#include "app/analysis/clsAnalysis.h"
#include "app/document/DocumentTable.h"
#include "app/document/SaveCommands.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/registry/MemorySettingsStore.h"
#include "samples/SampleMirror.h"

namespace {

using namespace orvale;

using namespace orvale::sample;

QImage Interferogram() {
  const clsAnalysis engine;
  const ZernikeVector waves = Wavefront();
  std::mt19937 random(20240611);
  std::normal_distribution<double> noise(0.0, 3.2);
  QImage image(kWidth, kHeight, QImage::Format_Grayscale8);
  for (int y = 0; y < kHeight; ++y) {
    auto* row = image.scanLine(y);
    for (int x = 0; x < kWidth; ++x) {
      const double u = (x - kCentreX) / kRadius;
      const double v = (y - kCentreY) / kRadius;
      const double r = std::hypot(u, v);
      // Soft edges, about a pixel wide, at the rim and at the obstruction.
      auto inside = [](double distance) { return std::clamp(0.5 + distance * kRadius, 0.0, 1.0); };
      const double pupil = inside(1.0 - r) * inside(r - kObstruction);
      // Uneven illumination: a beam brighter at its centre and to the upper left.
      const double beam = 0.78 + 0.22 * std::exp(-2.2 * ((u + 0.25) * (u + 0.25) + (v + 0.2) * (v + 0.2)));
      const double gradient = 1.0 - 0.12 * (u - v) * 0.5;
      const double fringes = 0.5 + 0.44 * std::cos(2.0 * std::numbers::pi * engine.EvalZernike(u, v, waves));
      const double level = 14.0 + pupil * 225.0 * beam * gradient * fringes + noise(random);
      row[x] = static_cast<std::uint8_t>(std::clamp(std::lround(level), 0L, 255L));
    }
  }
  return image;
}

void WriteOverlay(const clsDocument& doc, const char* path) {
  std::int32_t width = 0;
  std::int32_t height = 0;
  doc.GetImageSize(width, height);
  QImage overlay(width, height, QImage::Format_RGB32);
  const auto data = doc.ImageData();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int g = data[static_cast<std::size_t>(y) * width + x];
      overlay.setPixel(x, y, qRgb(g, g, g));
    }
  for (std::int32_t i = 1; i <= doc.Fringes.NumFringes(); ++i) {
    const QRgb colour = QColor::fromHsv((i * 47) % 360, 255, 255).rgb();
    for (const auto& p : doc.Fringes.RecordPoints(i)) {
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int x = static_cast<int>(std::lround(p.x)) + dx;
          const int y = static_cast<int>(std::lround(p.y)) + dy;
          if (x >= 0 && y >= 0 && x < width && y < height) overlay.setPixel(x, y, colour);
        }
    }
  }
  overlay.save(path);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const std::filesystem::path folder = argc > 1 ? argv[1] : "samples";
  const std::filesystem::path picture = folder / "sample.jpg";
  if (!Interferogram().save(QString::fromStdString(picture.string()), "JPG", 92)) {
    std::fprintf(stderr, "could not write %s\n", picture.c_str());
    return 1;
  }

  MemorySettingsStore store;
  ScopedSettingsStore installed(store);
  GeneralSettings settings = ReadGeneralSettings({1024, 768, 4, 18});
  DocumentTable table(settings);
  clsDocument* doc = nullptr;
  if (!table.NewDocument(doc) || !doc->LoadFileIntoDataBuffer(picture, false)) return 1;
  doc->Aperture.SetShapeType(clsShape::kCircle);
  doc->Aperture.SetCenter(kCentreX, kCentreY);
  doc->Aperture.SetRadii(kRadius - 3.0, kRadius - 3.0);
  doc->Obstruction.SetShapeType(clsShape::kCircle);
  doc->Obstruction.SetCenter(kCentreX, kCentreY);
  doc->Obstruction.SetRadii(kObstruction * kRadius + 4.0, kObstruction * kRadius + 4.0);
  doc->InvalidateMask();
  doc->AutoTraceFringes(kTraceDirection);
  std::printf("%d fringes, %d points\n", doc->Fringes.NumFringes(), doc->Fringes.TotalNumTicks());
  if (!SaveFile((folder / "sample.ovd").string(), *doc)) return 1;
  if (argc > 2) WriteOverlay(*doc, argv[2]);

  // How well the program finds the mirror again, for the record.
  doc->CreateView(2);
  doc->zscale = 1.0;
  doc->noTilt = true;
  doc->noFocus = true;
  doc->UpdateAnalysis(true, false);
  const ZernikeVector truth = Wavefront();
  for (int k = 1; k <= 8; ++k) std::printf("Z%d %8.4f (made with %8.4f)\n", k, doc->Zernike(k), truth[k]);
  std::printf("without tilt and focus: RMS %.4f PV %.4f Strehl %.4f\n", doc->RMS, doc->PV, doc->Strehl);
  return 0;
}
