#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <malloc.h>
#include <unistd.h>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <random>

#include "app/pictures/PictureFileBytes.h"
#include "app/pictures/ImageFileChecks.h"
#include "app/pictures/ImageLoader.h"
#include "platform/runtime/ByteFields.h"
#include "tests/app/pictures/HonestPictures.h"
#include "tests/app/pictures/LibjpegCoding.h"
#include "tests/app/pictures/LyingPictures.h"

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


fs::path SaveBench(const std::string& suffix, const std::vector<std::uint8_t>& bytes) {
  const fs::path path = fs::temp_directory_path() / ("orvale-bench-" + std::to_string(::getpid()) + suffix);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// A bitmap header with `code` as its run-length coded pixels.
std::vector<std::uint8_t> RunLengthBitmap(int width, int height, int bitCount, std::uint32_t compression,
                                          const std::vector<std::uint8_t>& code) {
  constexpr std::uint32_t kBitsOffset = 14 + 40 + 1024;
  std::vector<std::uint8_t> file(kBitsOffset + code.size(), 0);
  file[0] = 'B', file[1] = 'M';
  WriteLE32(&file[2], static_cast<std::uint32_t>(file.size()));
  WriteLE32(&file[10], kBitsOffset);
  WriteLE32(&file[14], 40);
  WriteLE32(&file[18], static_cast<std::uint32_t>(width));
  WriteLE32(&file[22], static_cast<std::uint32_t>(height));
  WriteLE16(&file[26], 1);
  WriteLE16(&file[28], static_cast<std::uint16_t>(bitCount));
  WriteLE32(&file[30], compression);
  std::copy(code.begin(), code.end(), file.begin() + kBitsOffset);
  return file;
}

// An 8-bit bitmap header of `width` x `height` whose pixels start at `offset`.
std::vector<std::uint8_t> BitmapWithPixelsAt(int width, int height, std::uint32_t offset) {
  std::vector<std::uint8_t> file = RunLengthBitmap(width, height, 8, 0, {});
  WriteLE32(&file[10], offset);
  return file;
}

// Refusing each kind of file whose header claims far more than its data can describe,
// through the whole load.
void BM_RefusePictureBeyondItsData(benchmark::State& state, const std::string& suffix,
                           const std::vector<std::uint8_t>& bytes, std::uintmax_t size) {
  const fs::path path = SaveBench(suffix, bytes);
  if (size > bytes.size()) fs::resize_file(path, size);
  for (auto _ : state) {
    LoadedImage image;
    if (LoadFileIntoDataBuffer(path, true, image) != ImageLoadStatus::OpenFailed)
      state.SkipWithError("the picture was not refused");
    benchmark::DoNotOptimize(image.Data.data());
  }
  fs::remove(path);
}
// A 1 KB run-length coded bitmap whose header claims 320 x 524528 pixels, its data one
// end-of-bitmap code.
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, rle8_ended_320x524528, ".rle", RunLengthBitmap(320, 524528, 8, 1, {0, 1}), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, gif_screen_16000x15000, ".bmp", testing::GifWithScreen(16000, 15000), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, jpeg_decoy_frame_30000x8000, ".jpg",
                  testing::JpegWithDecoyFrame(30000, 8000, false), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, jpeg_progressive_padded_470KB, ".jpg",
                  testing::JpegPaddedWithComments(30000, 8000, 470 * 1024), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, png_1bit_16000x15000, ".bmp", testing::BlankPng(16000, 15000, 1), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, png_8bit_10000x10000, ".jpg", testing::BlankPng(10000, 10000, 8), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, rle8_sixteenth_32767x7629, ".rle",
                  RunLengthBitmap(32767, 7629, 8, 1, testing::Rle8PaintingASixteenth(32767, 7629)), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, rle4_with_8bit_codes_32767x7629, ".rle",
                  RunLengthBitmap(32767, 7629, 8, 2, testing::Rle8PaintingASixteenth(32767, 7629)), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, truncated_2GB_bmp, ".bmp", std::vector<std::uint8_t>{},
                  std::uintmax_t{2} << 30)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
// A whole small picture whose header claims far more, then 2 GB: read up to its end.
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, jpeg_ended_12000x12000_in_2GB, ".jpg", testing::JpegClaiming(12000, 12000),
                  std::uintmax_t{2} << 30)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, gif_ended_16000x15000_in_2GB, ".bmp", testing::GifWithScreen(16000, 15000),
                  std::uintmax_t{2} << 30)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, png_ended_1bit_16000x15000_in_2GB, ".bmp", testing::BlankPng(16000, 15000, 1),
                  std::uintmax_t{2} << 30)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
// A bitmap whose pixels lie past the end of its 2 GB file.
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, bmp_pixels_past_its_end_2GB, ".bmp", BitmapWithPixelsAt(4000, 3000, 0xFFFF0000),
                  std::uintmax_t{2} << 30)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
// A format only Qt's readers know, whose size they cannot tell from its head.
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, xpm_head_in_2GB, ".jpg",
                  std::vector<std::uint8_t>{'/', '*', ' ', 'X', 'P', 'M', ' ', '*', '/', '\n', '/', '*'},
                  std::uintmax_t{2} << 30)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
// Costly codings: more scans or passes over the picture than any encoder writes, and
// 4:4:4 CMYK kept whole.
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, jpeg_301_scans, ".jpg", testing::ProgressiveJpegOfScans(301), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, jpeg_17_passes, ".jpg", testing::ProgressiveJpegOfScans(17), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RefusePictureBeyondItsData, jpeg_cmyk_444_progressive_8192x8192, ".jpg",
                  testing::CmykJpegClaiming(8192, 8192), 0)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();

// A 24-megapixel camera frame: a 6000 x 4000 fringe pattern with sensor noise, coded by
// Qt's JPEG writer at quality 90.
const std::vector<std::uint8_t>& CameraJpeg24Megapixels() {
  static const std::vector<std::uint8_t> bytes = [] {
    const int width = 6000, height = 4000;
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 noise(7);
    std::uniform_int_distribution<int> jitter(-6, 6);
    for (int y = 0; y < height; ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < width; ++x) {
        const double u = (x - width / 2.0) / (height / 2.0);
        const double v = (y - height / 2.0) / (height / 2.0);
        const int level = std::clamp(static_cast<int>(127.5 + 110 * std::cos(2 * M_PI * (10 * u + 4 * (u * u + v * v)))) +
                                         jitter(noise), 0, 255);
        line[x] = qRgb(level, level, level * 7 / 8);
      }
    }
    return testing::JpegCodedByQt(image, false, 90);
  }();
  return bytes;
}

// A grey camera interferogram as a camera writes it: a disc of fringes (tilt and
// defocus, radius 0.3 x the height) with a little sensor noise on a black frame, coded
// by Qt's JPEG writer at quality 90.
std::vector<std::uint8_t> GreyDiscJpeg(int width, int height) {
  QImage image(width, height, QImage::Format_Grayscale8);
  image.fill(0);
  std::mt19937 noise(7);
  std::uniform_int_distribution<int> jitter(-2, 2);
  const double radius = 0.3 * height;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* line = image.scanLine(y);
    const double v = (y - height / 2.0) / radius;
    for (int x = 0; x < width; ++x) {
      const double u = (x - width / 2.0) / radius;
      const double q = u * u + v * v;
      if (q <= 1)
        line[x] = static_cast<std::uint8_t>(
            std::clamp(static_cast<int>(128 + 115 * std::cos(2 * M_PI * (6 * u + 2 * v + 5 * q))) + jitter(noise), 0, 255));
    }
  }
  return testing::JpegCodedByQt(image, false, 90);
}

// Resets the peak of the process's resident memory to what it holds now, which it
// gives in bytes; memory freed before is handed back first, so that a load cannot
// reuse it unseen.
std::int64_t ResetPeakMemory() {
  ::malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  std::ifstream status("/proc/self/status");
  std::int64_t kb = 0;
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) kb = std::stoll(line.substr(6));
  return kb * 1024;
}

// The peak of the process's resident memory since the last reset, in bytes.
std::int64_t PeakMemory() {
  std::ifstream status("/proc/self/status");
  std::int64_t kb = 0;
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) kb = std::stoll(line.substr(6));
  return kb * 1024;
}

// Loading a grey camera JPEG of `width` x `height` into the intensity buffer, every
// check included: its time, and the peak memory it takes over what the process held
// before, in bytes a pixel.
void BM_LoadGreyCameraJpeg(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  const std::vector<std::uint8_t> bytes = GreyDiscJpeg(width, height);
  const fs::path path = SaveBench(".jpg", bytes);
  double peak = 0;
  for (auto _ : state) {
    const std::int64_t before = ResetPeakMemory();
    LoadedImage image;
    if (LoadFileIntoDataBuffer(path, false, image) != ImageLoadStatus::Loaded) state.SkipWithError("the picture did not load");
    benchmark::DoNotOptimize(image.Data.data());
    peak = std::max(peak, static_cast<double>(PeakMemory() - before));
  }
  const double pixels = static_cast<double>(width) * height;
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
  state.counters["megapixels"] = pixels / 1e6;
  state.counters["peak_bytes_a_pixel"] = peak / pixels;
  fs::remove(path);
}
BENCHMARK(BM_LoadGreyCameraJpeg)->Args({6000, 4000})->Args({11648, 8736})->Unit(benchmark::kMillisecond)->UseRealTime();

// Loading it into the intensity buffer, every check included ...
void BM_Load24MegapixelJpeg(benchmark::State& state) {
  const fs::path path = SaveBench(".jpg", CameraJpeg24Megapixels());
  for (auto _ : state) {
    LoadedImage image;
    if (LoadFileIntoDataBuffer(path, false, image) != ImageLoadStatus::Loaded) state.SkipWithError("the picture did not load");
    benchmark::DoNotOptimize(image.Data.data());
  }
  state.counters["file_MB"] = static_cast<double>(CameraJpeg24Megapixels().size()) / 1e6;
  fs::remove(path);
}
BENCHMARK(BM_Load24MegapixelJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

// ... Qt's decoding of the same bytes alone, without any of the checks ...
void BM_Decode24MegapixelJpegWithoutChecks(benchmark::State& state) {
  const std::vector<std::uint8_t>& bytes = CameraJpeg24Megapixels();
  QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  for (auto _ : state) {
    QBuffer device(&raw);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device);
    QImage image;
    if (!reader.read(&image)) state.SkipWithError("the picture did not decode");
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_Decode24MegapixelJpegWithoutChecks)->Unit(benchmark::kMillisecond)->UseRealTime();

// ... and the checks alone: reading the file within its extent and walking its markers.
void BM_Check24MegapixelJpeg(benchmark::State& state) {
  const fs::path path = SaveBench(".jpg", CameraJpeg24Megapixels());
  for (auto _ : state) {
    std::vector<std::uint8_t> bytes;
    RunError error;
    if (!ReadPictureFileBytes(path, bytes, error)) state.SkipWithError("the file was not read");
    benchmark::DoNotOptimize(InspectPictureFile(bytes).CodingBytes);
  }
  fs::remove(path);
}
BENCHMARK(BM_Check24MegapixelJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

// Files whose coding or structure costs far more than their pixels, each beside the
// honest picture of the size it really decodes to. Each is made once, written to a file
// and loaded through the whole load; its time, and its peak memory over what the
// process held before, in bytes for each pixel of the picture its header claims.
struct BenchFile {
  fs::path path;
  std::int64_t pixels = 0;
};

std::vector<std::uint8_t> QtCoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, format).write(image);
  return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> Text(std::size_t bytes) {
  std::vector<std::uint8_t> text{'k', 0};
  text.resize(bytes, 'v');
  return text;
}

// The file of `name`, made by `make` the first time it is asked for and kept until the
// benchmarks end; `size`, when larger, makes it sparse up to that size.
BenchFile MadeFile(const std::string& name, std::int64_t pixels, const std::function<std::vector<std::uint8_t>()>& make,
                   std::uintmax_t size = 0) {
  static std::map<std::string, BenchFile> made;
  if (const auto found = made.find(name); found != made.end()) return found->second;
  const fs::path path = SaveBench("-" + name, make());
  if (size > fs::file_size(path)) fs::resize_file(path, size);
  return made[name] = BenchFile{path, pixels};
}

struct RemovesBenchFiles {
  ~RemovesBenchFiles() {
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
      if (entry.path().filename().string().rfind("orvale-bench-" + std::to_string(::getpid()) + "-", 0) == 0)
        fs::remove(entry.path());
  }
} removesBenchFiles;

constexpr std::int64_t k8192Squared = std::int64_t{8192} * 8192;

BenchFile CostlyOrHonestFile(const std::string& name) {
  testing::LibjpegCoding refinements;
  refinements.arithmetic = true;
  refinements.refinements = 10;
  testing::LibjpegCoding progressive;
  progressive.progressive = true;
  testing::LibjpegCoding arithmeticProgressive = progressive;
  arithmeticProgressive.arithmetic = true;
  testing::LibjpegCoding best = progressive;
  best.quality = 100;
  const auto black = [](int width, int height, QImage::Format format) {
    QImage image(width, height, format);
    image.fill(Qt::black);
    return image;
  };
  const std::map<std::string, std::function<BenchFile()>> files = {
      // Arithmetic-coded successive-approximation refinements of a black 8192 x 8192
      // 4:4:4 picture, beside honest progressive 4:4:4 pictures of that size.
      {"jpeg_arithmetic_refinements_8192", [&] { return MadeFile(name, k8192Squared, [&] { return testing::CodedByLibjpeg(black(8192, 8192, QImage::Format_RGB32), refinements); }); }},
      {"honest_jpeg_progressive_444_8192", [&] { return MadeFile(name, k8192Squared, [&] { return testing::CodedByLibjpeg(testing::DiscOfFringes(8192, 8192, QImage::Format_RGB32), progressive); }); }},
      {"honest_jpeg_arithmetic_progressive_444_8192", [&] { return MadeFile(name, k8192Squared, [&] { return testing::CodedByLibjpeg(testing::DiscOfFringes(8192, 8192, QImage::Format_RGB32), arithmeticProgressive); }); }},
      // A PNG of 8192 x 8192 whose zlib stream goes on for 4 GB of zeros past its rows,
      // beside an honest one.
      {"png_stream_past_its_rows_8192", [&] { return MadeFile(name, k8192Squared, [] { return testing::PngWhoseStreamGoesOn(8192, 8192, std::size_t{4} << 30); }); }},
      {"honest_png_grey_8192", [&] { return MadeFile(name, k8192Squared, [] { return QtCoded(testing::DiscOfFringes(8192, 8192, QImage::Format_Grayscale8), "png"); }); }},
      // 1 MB of GIF codes in a 1 x 1 frame, or in a frame never decoded, buying a screen.
      {"gif_idle_codes_16000x15000", [&] { return MadeFile(name, 16000 * 15000, [] { return testing::GifWithIdleCodes(16000, 15000, 1 << 20, false); }); }},
      {"gif_codes_never_decoded_16000x15000", [&] { return MadeFile(name, 16000 * 15000, [] { return testing::GifWithIdleCodes(16000, 15000, 1 << 20, true); }); }},
      {"gif_idle_codes_8192", [&] { return MadeFile(name, k8192Squared, [] { return testing::GifWithIdleCodes(8192, 8192, 1 << 20, false); }); }},
      // 44 bytes declaring a 2 GB text chunk.
      {"png_44_bytes_declaring_2GB_of_text", [&] { return MadeFile(name, 64 * 64, [] { return testing::PngDeclaringAChunkOf("tEXt", 0x7FFFFFFF); }); }},
      // Header values no decoder takes, at the head of 2 GB sparse files.
      {"jpeg_10_components_in_2GB", [&] { return MadeFile(name, 4000 * 4000, [] { return testing::JpegFrameOfComponents(4000, 4000, 10); }, std::uintmax_t{2} << 30); }},
      {"png_depth_255_in_2GB", [&] { return MadeFile(name, 4000 * 4000, [] { return testing::PngHeader(4000, 4000, 255, 0); }, std::uintmax_t{2} << 30); }},
      // 100 MB of metadata after the header of a black 8192 x 8192 picture.
      {"jpeg_100MB_comments_8192", [&] { return MadeFile(name, k8192Squared, [&] { return testing::WithJpegComments(testing::JpegCodedByQt(black(8192, 8192, QImage::Format_Grayscale8), false, 50), std::size_t{100} << 20); }); }},
      {"png_100MB_text_8192", [&] { return MadeFile(name, k8192Squared, [] { return testing::WithPngChunk(testing::BlankPng(8192, 8192, 1), "tEXt", Text(std::size_t{100} << 20)); }); }},
      // Honest pictures whose file is large beside their picture.
      {"honest_png_stored_16bit_rgba_4000x3000", [&] { return MadeFile(name, 4000 * 3000, [] { return testing::StoredBlankPng(4000, 3000, 16, true); }); }},
      {"honest_png_16bit_rgba_4000x3000", [&] { return MadeFile(name, 4000 * 3000, [] { return testing::BlankPng(4000, 3000, 16, true); }); }},
      {"honest_jpeg_q100_progressive_444_noise_4000x3000", [&] { return MadeFile(name, 4000 * 3000, [&] { return testing::CodedByLibjpeg(testing::Noise(4000, 3000), best); }); }},
  };
  return files.at(name)();
}

void BM_LoadCostlyOrHonestFile(benchmark::State& state, const std::string& name) {
  const BenchFile file = CostlyOrHonestFile(name);
  double peak = 0;
  bool loaded = false;
  for (auto _ : state) {
    const std::int64_t before = ResetPeakMemory();
    LoadedImage image;
    loaded = LoadFileIntoDataBuffer(file.path, true, image) == ImageLoadStatus::Loaded;
    benchmark::DoNotOptimize(image.Data.data());
    peak = std::max(peak, static_cast<double>(PeakMemory() - before));
  }
  state.counters["file_MB"] = static_cast<double>(fs::file_size(file.path)) / 1e6;
  state.counters["loaded"] = loaded ? 1 : 0;
  state.counters["peak_bytes_a_pixel"] = peak / static_cast<double>(file.pixels);
}
#define ORVALE_COSTLY_OR_HONEST(name) \
  BENCHMARK_CAPTURE(BM_LoadCostlyOrHonestFile, name, std::string(#name))->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)
ORVALE_COSTLY_OR_HONEST(jpeg_arithmetic_refinements_8192);
ORVALE_COSTLY_OR_HONEST(honest_jpeg_progressive_444_8192);
ORVALE_COSTLY_OR_HONEST(honest_jpeg_arithmetic_progressive_444_8192);
ORVALE_COSTLY_OR_HONEST(png_stream_past_its_rows_8192);
ORVALE_COSTLY_OR_HONEST(honest_png_grey_8192);
ORVALE_COSTLY_OR_HONEST(gif_idle_codes_16000x15000);
ORVALE_COSTLY_OR_HONEST(gif_codes_never_decoded_16000x15000);
ORVALE_COSTLY_OR_HONEST(gif_idle_codes_8192);
ORVALE_COSTLY_OR_HONEST(png_44_bytes_declaring_2GB_of_text);
ORVALE_COSTLY_OR_HONEST(jpeg_10_components_in_2GB);
ORVALE_COSTLY_OR_HONEST(png_depth_255_in_2GB);
ORVALE_COSTLY_OR_HONEST(jpeg_100MB_comments_8192);
ORVALE_COSTLY_OR_HONEST(png_100MB_text_8192);
ORVALE_COSTLY_OR_HONEST(honest_png_stored_16bit_rgba_4000x3000);
ORVALE_COSTLY_OR_HONEST(honest_png_16bit_rgba_4000x3000);
ORVALE_COSTLY_OR_HONEST(honest_jpeg_q100_progressive_444_noise_4000x3000);
#undef ORVALE_COSTLY_OR_HONEST

}  // namespace
}  // namespace orvale
