#include "app/frame/OrvaleLogo.h"

#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace orvale {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Fringe intensity 0..1 at a pupil point (-1..1): a little tilt, defocus and
// astigmatism, as a real test shows.
double FringeIntensity(double x, double y) {
  const double r2 = x * x + y * y;
  const double waves = 1.6 * x + 2.4 * r2 + 0.6 * (x * x - y * y) + 1.1 * r2 * r2;
  return 0.5 + 0.5 * std::cos(kTwoPi * waves);
}

}  // namespace

QPixmap OrvaleLogo(int size) {
  size = std::max(size, 16);
  const int scale = 3;  // drawn larger, then smoothed down: soft fringe edges
  const int big = size * scale;
  QImage fringes(big, big, QImage::Format_ARGB32_Premultiplied);
  fringes.fill(Qt::transparent);
  const double radius = big * 0.44;
  const double centre = big / 2.0;
  const double obstruction = 0.22;
  for (int py = 0; py < big; ++py) {
    auto* line = reinterpret_cast<QRgb*>(fringes.scanLine(py));
    for (int px = 0; px < big; ++px) {
      const double x = (px + 0.5 - centre) / radius;
      const double y = (py + 0.5 - centre) / radius;
      const double r = std::sqrt(x * x + y * y);
      if (r > 1.0 || r < obstruction) continue;
      const double v = FringeIntensity(x, y);
      line[px] = qRgb(static_cast<int>(40 + 120 * v), static_cast<int>(60 + 170 * v),
                      static_cast<int>(110 + 145 * v));
    }
  }

  QPixmap logo(size, size);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QRectF disc(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
  // The mirror cell: a dark ring with a soft highlight.
  QRadialGradient rim(disc.center(), disc.width() / 2.0);
  rim.setColorAt(0.85, QColor(30, 36, 52));
  rim.setColorAt(1.0, QColor(90, 100, 120));
  painter.setPen(Qt::NoPen);
  painter.setBrush(rim);
  painter.drawEllipse(disc.adjusted(-size * 0.04, -size * 0.04, size * 0.04, size * 0.04));
  painter.drawImage(QRectF(0, 0, size, size), fringes);
  painter.setPen(QPen(QColor(200, 210, 225), std::max(1.0, size / 64.0)));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(disc);
  // The secondary's shadow.
  const double inner = disc.width() / 2.0 * obstruction;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(20, 24, 36));
  painter.drawEllipse(disc.center(), inner, inner);
  return logo;
}

QIcon OrvaleIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(OrvaleLogo(size));
  return icon;
}

}  // namespace orvale
