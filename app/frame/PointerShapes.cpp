#include "app/frame/PointerShapes.h"

namespace orvale {

namespace {

QPainterPath Thumb() { return Outline({{4.5, 12.5}, {1.0, 8.8}, {2.4, 7.6}, {5.5, 10.0}}); }

}  // namespace

QPainterPath Outline(std::initializer_list<QPointF> corners) {
  QPainterPath path;
  for (const QPointF& corner : corners) {
    if (path.elementCount() == 0) path.moveTo(corner); else path.lineTo(corner);
  }
  path.closeSubpath();
  return path;
}

QPainterPath OpenHandShape() {
  QPainterPath hand;
  hand.setFillRule(Qt::WindingFill);
  hand.addRoundedRect(QRectF(4.0, 7.0, 9.0, 8.0), 2.5, 2.5);
  const qreal tops[] = {2.5, 1.0, 1.5, 3.5};
  for (int k = 0; k < 4; ++k) hand.addRoundedRect(QRectF(4.0 + k * 2.3, tops[k], 2.0, 9.0), 1.0, 1.0);
  hand.addPath(Thumb());
  return hand.simplified();
}

QPainterPath ArrowPointerShape() {
  return Outline({{3, 1}, {3, 13}, {6, 10.2}, {8.3, 15}, {10.3, 14}, {8, 9.3}, {12, 9.3}});
}

QPainterPath PointingHandShape() {
  QPainterPath hand;
  hand.setFillRule(Qt::WindingFill);
  hand.addRoundedRect(QRectF(4.0, 7.5, 9.0, 7.5), 2.5, 2.5);
  hand.addRoundedRect(QRectF(5.0, 0.5, 2.2, 10.0), 1.1, 1.1);  // index finger
  for (int k = 0; k < 3; ++k) hand.addRoundedRect(QRectF(7.3 + k * 2.0, 6.0 + k * 0.4, 2.0, 4.0), 1.0, 1.0);
  hand.addPath(Thumb());
  return hand.simplified();
}

}  // namespace orvale
