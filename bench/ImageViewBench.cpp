// The image view's hot paths: a full paint of a camera-sized interferogram into a
// screen-sized picture area, one scroll step, and one frame of an XOR drag.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/imageview/ImageEditController.h"
#include "app/plots/ImageViewDisplay.h"
#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {
namespace {

constexpr std::int32_t kWidth = 2592;
constexpr std::int32_t kHeight = 1944;
constexpr std::int32_t kAreaWidth = 1600;
constexpr std::int32_t kAreaHeight = 1000;
constexpr double kCx = kWidth / 2.0;
constexpr double kCy = kHeight / 2.0;
constexpr double kRadius = 900;

class NoWindow : public ImageViewPort {
 public:
  void ShowBacking() override {}
  void SetCursorKey(std::string_view) override {}
  void ScrollBarsChanged() override {}
  PointL ScreenPosition(std::int32_t x, std::int32_t y) const override { return {x, y}; }
};

// A document with cosine fringes, a 24-sided polygon aperture and 2000 fringe centres
// on 20 rings, shown in a 1600 x 1000 picture area at `zoom`.
class ViewScene {
 public:
  explicit ViewScene(std::int32_t zoom) : table(settings, &frame) {
    table.NewDocument(doc);
    std::vector<std::uint8_t> image(static_cast<std::size_t>(kWidth) * kHeight);
    for (std::int32_t y = 0; y < kHeight; ++y) {
      for (std::int32_t x = 0; x < kWidth; ++x) {
        const double u = (x - kCx) / kCy;
        const double v = (y - kCy) / kCy;
        image[static_cast<std::size_t>(y) * kWidth + x] =
            static_cast<std::uint8_t>(127.5 + 120 * std::cos(2 * M_PI * 6 * (u * u + v * v)));
      }
    }
    doc->SetImageData(std::move(image), kWidth, kHeight);
    std::vector<double> px(25), py(25);
    for (int i = 1; i <= 24; ++i) {
      px[i] = kCx + kRadius * std::cos(i * M_PI / 12);
      py[i] = kCy + kRadius * std::sin(i * M_PI / 12);
    }
    doc->Aperture.Save(clsShape::kPolygon, 24, px, py);
    for (int ring = 1; ring <= 20; ++ring) {
      std::vector<double> x(101), y(101);
      for (int i = 1; i <= 100; ++i) {
        x[i] = kCx + ring * 40 * std::cos(i * M_PI / 50);
        y[i] = kCy + ring * 40 * std::sin(i * M_PI / 50);
      }
      doc->Fringes.InsertOrder(ring, 100, x, y);
    }
    doc->ActiveView = viewtype::kImage;
    table.ActiveDocIndex = doc->ovDocIndex;
    display = std::make_unique<ImageViewDisplay>(settings, frame);
    editor = std::make_unique<ImageEditController>(*doc, *display, frame, nullptr, port);
    display->Geometry.ZoomFactor = zoom;
    display->RefreshBitmapFromData(doc->ImageData(), kWidth, kHeight);
    display->ImageReady = true;
    display->ResizeWindow(kAreaWidth, kAreaHeight);
    editor->PaintImage();
  }

  GeneralSettings settings;
  MainFrame frame;
  DocumentTable table;
  clsDocument* doc = nullptr;
  NoWindow port;
  std::unique_ptr<ImageViewDisplay> display;
  std::unique_ptr<ImageEditController> editor;
};

void BM_PaintView(benchmark::State& state) {
  ViewScene scene(static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) scene.editor->PaintImage();
}
BENCHMARK(BM_PaintView)->Arg(100)->Arg(25)->Unit(benchmark::kMillisecond);

// One step of the scroll bar's arrow: the origin moves and the view repaints.
void BM_ScrollStep(benchmark::State& state) {
  ViewScene scene(100);
  ImageViewGeometry& g = scene.display->Geometry;
  g.Horizontal.Value = 400;
  std::int32_t step = 1;
  for (auto _ : state) {
    g.Horizontal.Value += step;
    step = -step;
    if (g.SyncOrigin()) scene.editor->PaintImage();
  }
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond);

// One mouse move while the polygon aperture is dragged: erase, move, draw with XOR.
void BM_XorDragFrame(benchmark::State& state) {
  ViewScene scene(100);
  // The middle of the polygon's edge near the top of the visible area.
  double vx = 0, vy = 0, wx = 0, wy = 0;
  scene.doc->Aperture.GetVertex(vx, vy, 17);
  scene.doc->Aperture.GetVertex(wx, wy, 18);
  const double sx = (vx + wx) / 2 - scene.display->Geometry.OriginX;
  const double sy = (vy + wy) / 2 - scene.display->Geometry.OriginY;
  scene.editor->MouseDown(mousebutton::kLeft, 0, sx, sy);
  if (scene.editor->SelectedObject().Kind != ImageObject::kAperture)
    state.SkipWithError("the polygon was not grabbed");
  double d = 0;
  for (auto _ : state) {
    d = d > 20 ? 0 : d + 1;
    scene.editor->MouseMove(mousebutton::kLeft, 0, sx + d, sy + d / 2);
  }
}
BENCHMARK(BM_XorDragFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvale
