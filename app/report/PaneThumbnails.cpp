#include "app/report/PaneThumbnails.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "app/report/ReportPaneKinds.h"

namespace orvale {

namespace {

constexpr double kTwoPi = 6.283185307179586;
const QColor kInk(40, 40, 40);
const QColor kFaint(150, 150, 150);

QImage Canvas(int width, int height, const std::function<void(QPainter&)>& draw) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  return image;
}

// Rows of a text report: a caption bar and, when `values`, a value bar after a tab.
void TextRows(QPainter& p, int top, int rows, int width, bool values) {
  for (int r = 0; r < rows; ++r) {
    const int y = top + r * 7;
    p.fillRect(QRect(4, y, 16 + (r * 7) % 13, 3), kInk);
    if (values) p.fillRect(QRect(width / 2 + 4, y, 10 + (r * 5) % 9, 3), kFaint.darker(130));
  }
}

// Grey fringes through a circular pupil: `tilt` fringes across plus `power` of defocus.
void Fringes(QImage& image, double tilt, double power) {
  const double c = image.width() / 2.0, radius = image.width() * 0.42;
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const double u = (x + 0.5 - c) / radius, v = (y + 0.5 - c) / radius;
      const double r2 = u * u + v * v;
      if (r2 > 1) continue;
      const int grey = static_cast<int>(127.5 + 127.5 * std::cos(kTwoPi * (tilt * u + power * r2)));
      row[x] = qRgb(grey, grey, grey);
    }
  }
}

QImage Aberrations() {
  return Canvas(72, 56, [](QPainter& p) { TextRows(p, 5, 7, 72, true); });
}

QImage ContourPlot() {
  return Canvas(64, 64, [](QPainter& p) {
    const QColor ramp[] = {QColor(40, 60, 200), QColor(40, 170, 220), QColor(60, 190, 90),
                           QColor(230, 210, 50), QColor(230, 90, 40)};
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 5; ++k) {
      const double rx = 27 - 5 * k, ry = 24 - 4.6 * k;
      p.setBrush(ramp[k]);
      p.drawEllipse(QPointF(32 + k, 32 - k * 0.5), rx, ry);
    }
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 2.5, 59, 59));
  });
}

QImage Interferogram() {
  QImage image(64, 64, QImage::Format_RGB32);
  image.fill(Qt::black);
  Fringes(image, 2.2, 1.4);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(230, 40, 40), 1.5));
  p.drawEllipse(QPointF(32, 32), 26.9, 26.9);
  p.drawEllipse(QPointF(32, 32), 6, 6);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 220, 60));
  for (int k = -2; k <= 2; ++k) p.drawEllipse(QPointF(32 + 9 * k, 32 + 0.25 * k * k), 1.6, 1.6);
  return image;
}

QImage LineProfile() {
  return Canvas(64, 48, [](QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.drawLine(QPointF(6.5, 4), QPointF(6.5, 42.5));
    p.drawLine(QPointF(6.5, 42.5), QPointF(60, 42.5));
    QPainterPath curve;
    for (int i = 0; i <= 50; ++i) {
      const double u = i / 50.0 * 2 - 1;
      const QPointF point(9 + i, 10 + 26 * (1 - u * u) * (1 - 0.3 * u));
      if (i == 0) curve.moveTo(point); else curve.lineTo(point);
    }
    p.setPen(QPen(QColor(30, 80, 200), 1.5));
    p.drawPath(curve);
  });
}

QImage Logo() {
  return Canvas(72, 56, [](QPainter& p) {
    QRadialGradient disc(QPointF(36, 14), 11);
    disc.setColorAt(0, QColor(150, 210, 240));
    disc.setColorAt(1, QColor(40, 70, 130));
    p.setPen(QPen(QColor(30, 36, 52), 1.5));
    p.setBrush(disc);
    p.drawEllipse(QPointF(36, 14), 11, 11);
    TextRows(p, 32, 3, 72, false);
  });
}

QImage SurfacePlot() {
  return Canvas(64, 48, [](QPainter& p) {
    // A bowl seen from above at an angle: cells coloured by height, far ones first.
    constexpr int kCells = 8;
    const auto at = [](double u, double v) {
      return QPointF(32 + 22 * u - 10 * v, 36 + 6 * (u + v) - 7 * (u * u + v * v));
    };
    struct Cell {
      double depth, height;
      QPolygonF outline;
    };
    std::vector<Cell> cells;
    for (int i = 0; i < kCells; ++i)
      for (int j = 0; j < kCells; ++j) {
        const double u0 = 2.0 * i / kCells - 1, u1 = 2.0 * (i + 1) / kCells - 1;
        const double v0 = 2.0 * j / kCells - 1, v1 = 2.0 * (j + 1) / kCells - 1;
        const double um = (u0 + u1) / 2, vm = (v0 + v1) / 2;
        cells.push_back({um + vm, (um * um + vm * vm) / 2,
                         QPolygonF({at(u0, v0), at(u1, v0), at(u1, v1), at(u0, v1)})});
      }
    std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.depth < b.depth; });
    p.setPen(QPen(QColor(20, 60, 40), 0.6));
    for (const Cell& cell : cells) {
      p.setBrush(QColor::fromHsvF(0.66 * (1 - std::min(1.0, cell.height)), 0.8, 0.95));
      p.drawPolygon(cell.outline);
    }
  });
}

QImage SyntheticFringes() {
  QImage image(64, 64, QImage::Format_RGB32);
  image.fill(Qt::white);
  Fringes(image, 3.5, 0.6);
  return image;
}

QImage Zernikes() {
  return Canvas(72, 56, [](QPainter& p) {
    p.fillRect(QRect(4, 4, 40, 4), kInk);
    TextRows(p, 13, 6, 60, true);
  });
}

QImage GridResults() {
  return Canvas(64, 64, [](QPainter& p) {
    p.fillRect(QRect(4, 4, 30, 4), kInk);
    p.setPen(QPen(kFaint, 1));
    for (int k = 0; k <= 5; ++k) {
      p.drawLine(QPointF(4.5, 14.5 + 9 * k), QPointF(58.5, 14.5 + 9 * k));
      p.drawLine(QPointF(4.5 + 10.8 * k, 14.5), QPointF(4.5 + 10.8 * k, 59.5));
    }
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 5; ++c)
        if ((r * 3 + c) % 4 != 0) p.fillRect(QRectF(7 + 10.8 * c, 18 + 9 * r, 6, 2.5), kInk);
  });
}

}  // namespace

const QImage& PaneThumbnail(std::int32_t kind) {
  static const std::array<QImage, kPaneThumbnailCount + 1> pictures = {
      QImage(),      Aberrations(), ContourPlot(),     Interferogram(), LineProfile(),
      Logo(),        SurfacePlot(), SyntheticFringes(), Zernikes(),     GridResults()};
  static const QImage none;
  if (kind < 1 || kind > kPaneThumbnailCount) return none;
  return pictures[static_cast<std::size_t>(kind)];
}

}  // namespace orvale
