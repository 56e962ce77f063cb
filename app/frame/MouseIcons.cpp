#include "app/frame/MouseIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>
#include <cmath>
#include <map>
#include <numbers>
#include <string>

#include "app/frame/PointerShapes.h"

namespace orvale {

namespace {

constexpr int kSize = 32;
const QPointF kCentre(15.5, 15.5);

// Classic cursor look: black shapes with a white rim, readable on any picture.
void Outlined(QPainter& p, const QPainterPath& path, const QColor& fill = Qt::black) {
  p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(fill);
  p.drawPath(path);
}

void OutlinedLines(QPainter& p, const QPainterPath& lines, qreal width = 1.0) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::white, width + 2.0, Qt::SolidLine, Qt::FlatCap));
  p.drawPath(lines);
  p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap));
  p.drawPath(lines);
}

// Arrows from the centre: two opposite ones along `angle` (radians), or four (a cross).
QPainterPath Arrows(double angle, bool fourWay) {
  QPainterPath path;
  const int directions = fourWay ? 4 : 2;
  for (int k = 0; k < directions; ++k) {
    const double a = angle + k * 2.0 * std::numbers::pi / directions;
    const QPointF dir(std::cos(a), std::sin(a));
    const QPointF side(-dir.y(), dir.x());
    const QPointF tip = kCentre + dir * 11.0;
    const QPointF base = kCentre + dir * 6.0;
    path = path.united(Outline({tip, base + side * 4.0, base + side * 1.2, kCentre + side * 1.2,
                                kCentre - side * 1.2, base - side * 1.2, base - side * 4.0}));
  }
  return path;
}

QPainterPath Crosshair() {
  QPainterPath lines;
  lines.moveTo(kCentre.x(), 3);
  lines.lineTo(kCentre.x(), 12);
  lines.moveTo(kCentre.x(), 19);
  lines.lineTo(kCentre.x(), 28);
  lines.moveTo(3, kCentre.y());
  lines.lineTo(12, kCentre.y());
  lines.moveTo(19, kCentre.y());
  lines.lineTo(28, kCentre.y());
  return lines;
}

QPainterPath Scaled(const QPainterPath& shape, double factor, QPointF offset) {
  QTransform t;
  t.translate(offset.x(), offset.y());
  t.scale(factor, factor);
  return t.map(shape);
}

void Magnifier(QPainter& p, bool plus, bool colour) {
  QPainterPath handle;
  handle.moveTo(18, 18);
  handle.lineTo(27, 27);
  OutlinedLines(p, handle, 3.0);
  QPainterPath lens;
  lens.addEllipse(QPointF(12, 12), 8.5, 8.5);
  Outlined(p, lens, colour ? QColor(200, 225, 255) : QColor(Qt::white));
  QPainterPath sign;
  sign.moveTo(8, 12);
  sign.lineTo(16, 12);
  if (plus) {
    sign.moveTo(12, 8);
    sign.lineTo(12, 16);
  }
  p.setPen(QPen(Qt::black, 2.0));
  p.drawPath(sign);
}

void Badge(QPainter& p, bool cross) {
  // A small sign beside the crosshair: "+" to add, "x" to clear.
  QPainterPath disk;
  disk.addEllipse(QPointF(24, 24), 5.0, 5.0);
  Outlined(p, disk, cross ? QColor(220, 40, 40) : QColor(30, 150, 40));
  QPainterPath sign;
  if (cross) {
    sign.moveTo(21.8, 21.8);
    sign.lineTo(26.2, 26.2);
    sign.moveTo(26.2, 21.8);
    sign.lineTo(21.8, 26.2);
  } else {
    sign.moveTo(21, 24);
    sign.lineTo(27, 24);
    sign.moveTo(24, 21);
    sign.lineTo(24, 27);
  }
  p.setPen(QPen(Qt::white, 1.6));
  p.drawPath(sign);
}

struct Drawn {
  QPixmap Picture;
  QPoint HotSpot;
};

Drawn Draw(std::string_view key) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPoint hot(16, 16);
  const double pi = std::numbers::pi;

  if (key == "curHandTool") {
    Outlined(p, Scaled(OpenHandShape(), 1.6, QPointF(3, 3)), Qt::white);
  } else if (key == "curHyperLink") {
    Outlined(p, Scaled(PointingHandShape(), 1.6, QPointF(2, 2)), Qt::white);
    hot = QPoint(12, 3);
  } else if (key == "curMoveShapeMono") {
    Outlined(p, Arrows(0.0, true));
  } else if (key == "curMoveShape") {
    Outlined(p, Arrows(0.0, true), QColor(20, 70, 170));
  } else if (key == "curMoveShapeEW") {
    Outlined(p, Arrows(0.0, false));
  } else if (key == "curMoveShapeNS") {
    Outlined(p, Arrows(pi / 2.0, false));
  } else if (key == "curMoveShapeOrtho") {
    Outlined(p, Arrows(0.0, true));
    QPainterPath box;
    box.addRect(QRectF(12.5, 12.5, 6, 6));
    Outlined(p, box, Qt::white);
  } else if (key == "curResizeShape") {
    Outlined(p, Arrows(pi / 4.0, false));
  } else if (key == "curResizeShape2") {
    Outlined(p, Arrows(-pi / 4.0, false));
  } else if (key == "curRotateShape") {
    QPainterPath arc;
    arc.arcMoveTo(QRectF(6, 6, 20, 20), 120);
    arc.arcTo(QRectF(6, 6, 20, 20), 120, 270);
    OutlinedLines(p, arc, 2.0);
    const double end = (120.0 + 270.0) * pi / 180.0;
    const QPointF tip(kCentre.x() + 10 * std::cos(end), kCentre.y() - 10 * std::sin(end));
    const QPointF along(std::sin(end), std::cos(end));  // direction of travel
    const QPointF side(-along.y(), along.x());
    Outlined(p, Outline({tip + along * 5.0, tip + side * 4.0, tip - side * 4.0}));
  } else if (key == "curSelectFringe") {
    OutlinedLines(p, Crosshair());
    QPainterPath ring;
    ring.addEllipse(kCentre, 3.0, 3.0);
    OutlinedLines(p, ring);
  } else if (key == "curClearFringe" || key == "curAddShape") {
    OutlinedLines(p, Crosshair());
    Badge(p, key == "curClearFringe");
  } else if (key == "curZoomIn" || key == "curZoomInMono" || key == "curZoomOut" ||
             key == "curZoomOutMono") {
    const bool plus = key.starts_with("curZoomIn");
    Magnifier(p, plus, !key.ends_with("Mono"));
    hot = QPoint(12, 12);
  } else {
    p.end();
    return {};
  }
  p.end();
  return {pixmap, hot};
}

}  // namespace

QCursor MouseIconCursor(std::string_view key) {
  static std::map<std::string, QCursor, std::less<>> made;
  const auto found = made.find(key);
  if (found != made.end()) return found->second;
  const Drawn drawn = Draw(key);
  if (drawn.Picture.isNull()) return QCursor(Qt::ArrowCursor);
  const QCursor cursor(drawn.Picture, drawn.HotSpot.x(), drawn.HotSpot.y());
  made.emplace(std::string(key), cursor);
  return cursor;
}

}  // namespace orvale
