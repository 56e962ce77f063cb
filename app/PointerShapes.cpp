#include "app/PointerShapes.h"

namespace orvale {

namespace {

QPainterPath Thumb() {
  QPainterPath thumb;
  thumb.moveTo(4.5, 12.5);
  thumb.lineTo(1.0, 8.8);
  thumb.lineTo(2.4, 7.6);
  thumb.lineTo(5.5, 10.0);
  thumb.closeSubpath();
  return thumb;
}

}  // namespace

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
  QPainterPath arrow;
  arrow.moveTo(3, 1);
  arrow.lineTo(3, 13);
  arrow.lineTo(6, 10.2);
  arrow.lineTo(8.3, 15);
  arrow.lineTo(10.3, 14);
  arrow.lineTo(8, 9.3);
  arrow.lineTo(12, 9.3);
  arrow.closeSubpath();
  return arrow;
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
