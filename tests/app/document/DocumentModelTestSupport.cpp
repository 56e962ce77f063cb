#include "DocumentModelTestSupport.h"

#include <cmath>
#include <map>

#include "app/document/clsDocument.h"

namespace orvale::testing {

GeneralSettings DefaultDocumentSettings() {
  GeneralSettings s;
  s.SurfaceLevels = 10;
  s.SurfaceGridSize = 30;
  s.SFringeSize = 150;
  s.LineSize = 100;
  s.DefaultFillPolygons = true;
  s.DefaultDrawMeshWithFill = true;
  s.LimitScale = true;
  s.DefaultSurfaceTheta = 60;
  s.DefaultSurfacePhi = 30;
  s.DefaultLineAngle = 0;
  s.AutoTraceDensity = 3;
  s.HogWindows = true;
  s.AutoStretch = true;
  s.ScreenText.FaceName = "Arial";
  s.ScreenText.Size = 10;
  s.PrinterText.FaceName = "Times New Roman";
  s.PrinterText.Size = 12;
  return s;
}

void GiveImageAndAperture(clsDocument& doc, const Pupil& pupil) {
  std::vector<std::uint8_t> image(
      static_cast<std::size_t>(pupil.width) * static_cast<std::size_t>(pupil.height), 128);
  doc.SetImageData(std::move(image), pupil.width, pupil.height);
  doc.Aperture.SetShapeType(clsShape::kCircle);
  doc.Aperture.SetCenter(pupil.cx, pupil.cy);
  doc.Aperture.SetRadii(pupil.radius, pupil.radius);
  doc.InvalidateMask();
}

std::int32_t AddContourFringes(clsDocument& doc, const Pupil& pupil, const ZernikeVector& known) {
  // The wavefront is shifted so that its smallest value on the pupil is above 1,
  // making every contour a valid fringe order.
  const clsAnalysis& engine = doc.ZAnalysis;
  auto wave = [&](double r, double t) {
    return engine.EvalZernike(r * std::cos(t), r * std::sin(t), known);
  };
  constexpr int kRays = 90;
  constexpr int kSteps = 400;
  constexpr double kReach = 0.97;
  double lowest = 1e300;
  for (int a = 0; a < kRays; ++a) {
    const double t = 2.0 * M_PI * a / kRays;
    for (int s = 0; s <= kSteps; ++s) lowest = std::min(lowest, wave(kReach * s / kSteps, t));
  }
  const double shift = 2.0 - std::floor(lowest);

  std::map<int, std::vector<std::pair<double, double>>> contours;
  for (int a = 0; a < kRays; ++a) {
    const double t = 2.0 * M_PI * a / kRays;
    // Start just off the centre, so that every ray crosses a contour once per order.
    double r0 = kReach / kSteps;
    double w0 = wave(r0, t) + shift;
    for (int s = 2; s <= kSteps; ++s) {
      const double r1 = kReach * s / kSteps;
      const double w1 = wave(r1, t) + shift;
      for (int k = static_cast<int>(std::ceil(std::min(w0, w1)));
           k <= static_cast<int>(std::floor(std::max(w0, w1))); ++k) {
        if (k == w0 && s > 2) continue;  // counted on the previous step
        double lo = r0;
        double hi = r1;
        const bool rising = w1 > w0;
        for (int i = 0; i < 60; ++i) {
          const double mid = 0.5 * (lo + hi);
          const bool below = wave(mid, t) + shift < k;
          if (below == rising) lo = mid; else hi = mid;
        }
        const double r = 0.5 * (lo + hi);
        contours[k].emplace_back(pupil.cx + pupil.radius * r * std::cos(t),
                                 pupil.cy + pupil.radius * r * std::sin(t));
      }
      r0 = r1;
      w0 = w1;
    }
  }
  std::int32_t points = 0;
  for (const auto& [order, centres] : contours) {
    std::int32_t index = doc.Fringes.AddOrder(order);
    for (const auto& [x, y] : centres) {
      std::int32_t record = index;
      doc.Fringes.AddCenter(order, x, y, record);
      ++points;
    }
  }
  return points;
}

bool FakeSaveService::SaveFile(const std::string& FileName, clsDocument& doc) {
  calls.push_back("SaveFile " + FileName);
  if (result) doc.DocDirty = doc.BMPDirty = false;
  return result;
}

bool FakeSaveService::SaveFileAs(clsDocument& doc, bool AsBitmap) {
  calls.push_back(AsBitmap ? "SaveFileAs bitmap" : "SaveFileAs document");
  if (result) doc.DocDirty = doc.BMPDirty = false;
  return result;
}

}  // namespace orvale::testing
