#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageWriter>

#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "app/document/ImageLoader.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

// A camera-sized colour interferogram: cosine fringes of a tilted, defocused wavefront.
fs::path MakeCameraJpeg() {
  const int width = 2592, height = 1944;
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const double u = (x - width / 2.0) / (height / 2.0);
      const double v = (y - height / 2.0) / (height / 2.0);
      const double phase = 2 * M_PI * (12 * u + 3 * v + 6 * (u * u + v * v));
      const int level = static_cast<int>(127.5 + 120 * std::cos(phase));
      line[x] = qRgb(level, level * 3 / 4, level / 3);
    }
  }
  const fs::path path = fs::temp_directory_path() / ("orvale-bench-" + std::to_string(::getpid()) + ".jpg");
  QImageWriter writer(QString::fromStdString(path.string()), "jpeg");
  writer.setQuality(90);
  writer.write(image);
  return path;
}

// Loading and converting a 2592 x 1944 colour JPEG into the intensity buffer.
void BM_LoadCameraJpeg(benchmark::State& state) {
  const fs::path path = MakeCameraJpeg();
  for (auto _ : state) {
    LoadedImage image;
    const ImageLoadStatus status = LoadFileIntoDataBuffer(path, false, image);
    if (status != ImageLoadStatus::Loaded) state.SkipWithError("the picture did not load");
    benchmark::DoNotOptimize(image.Data.data());
  }
  fs::remove(path);
}
BENCHMARK(BM_LoadCameraJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace orvale
