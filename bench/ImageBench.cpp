#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageWriter>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/document/ImageLoader.h"
#include "platform/runtime/ByteFields.h"

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

// A 1 KB run-length coded bitmap whose header claims 320 x 524528 pixels, its data one
// end-of-bitmap code.
fs::path MakeClaimingRle() {
  constexpr std::uint32_t kBitsOffset = 14 + 40 + 1024;
  std::vector<std::uint8_t> file(kBitsOffset + 2, 0);
  file[0] = 'B', file[1] = 'M';
  WriteLE32(&file[2], static_cast<std::uint32_t>(file.size()));
  WriteLE32(&file[10], kBitsOffset);
  WriteLE32(&file[14], 40);
  WriteLE32(&file[18], 320);
  WriteLE32(&file[22], 524528);
  WriteLE16(&file[26], 1);
  WriteLE16(&file[28], 8);
  WriteLE32(&file[30], 1);  // run-length coded, 8 bits
  WriteLE32(&file[34], 2);
  for (int i = 0; i < 256; ++i) file[54 + 4 * i] = file[55 + 4 * i] = file[56 + 4 * i] = static_cast<std::uint8_t>(i);
  file[kBitsOffset + 1] = 1;  // end of bitmap
  const fs::path path = fs::temp_directory_path() / ("orvale-bench-" + std::to_string(::getpid()) + ".rle");
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return path;
}

// Refusing that picture from its header.
void BM_RefusePictureBeyondItsData(benchmark::State& state) {
  const fs::path path = MakeClaimingRle();
  for (auto _ : state) {
    LoadedImage image;
    if (LoadFileIntoDataBuffer(path, true, image) != ImageLoadStatus::OpenFailed)
      state.SkipWithError("the picture was not refused");
    benchmark::DoNotOptimize(image.Data.data());
  }
  fs::remove(path);
}
BENCHMARK(BM_RefusePictureBeyondItsData)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace orvale
