#include "HonestPictures.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace orvale::testing {

QImage DiscOfFringes(int width, int height, QImage::Format format, int mean, int swing) {
  QImage image(width, height, format);
  image.fill(Qt::black);
  const double radius = 0.3 * height;
  std::array<int, 1024> level{};  // over one turn of phase
  for (std::size_t i = 0; i < level.size(); ++i) level[i] = mean + static_cast<int>(swing * std::cos(2 * M_PI * i / 1024.0));
  for (int y = 0; y < height; ++y) {
    const double v = (y - height / 2.0) / radius;
    for (int x = 0; x < width; ++x) {
      const double u = (x - width / 2.0) / radius;
      const double q = u * u + v * v;
      if (q > 1) continue;
      const int grey = level[static_cast<std::size_t>(1024 * (6 * u + 2 * v + 5 * q + 10)) % 1024];
      if (format == QImage::Format_Grayscale8) {
        image.scanLine(y)[x] = static_cast<std::uint8_t>(grey);
      } else if (format == QImage::Format_Grayscale16) {
        reinterpret_cast<std::uint16_t*>(image.scanLine(y))[x] = static_cast<std::uint16_t>(grey * 257);
      } else {
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = qRgb(grey, grey, grey);
      }
    }
  }
  return image;
}

QImage Noise(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  std::uint32_t state = 12345;
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) line[x] = (state = state * 1664525u + 1013904223u) >> 8;
  }
  return image;
}

}  // namespace orvale::testing
