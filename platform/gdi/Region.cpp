#include "platform/gdi/Region.h"

#include <QPolygon>

#include "platform/gdi/DrawModes.h"
#include "platform/gdi/RegionQt.h"

namespace orvale::gdi {

Region::Region() : impl_(std::make_shared<const Impl>()) {}
Region::Region(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}

Region Region::FromRect(const Rect& rect) {
  const Rect r = rect.Normalized();
  if (r.IsEmpty()) return Region();
  return FromQRegion(QRegion(ToQRect(r)));
}

Region Region::FromPolygon(std::span<const Point> points, int fillMode) {
  if (points.size() < 3) return Region();
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& p : points) polygon.append(QPoint(p.x, p.y));
  return FromQRegion(
      QRegion(polygon, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

Region Region::FromEllipse(const Rect& box) {
  const Rect r = box.Normalized();
  if (r.IsEmpty()) return Region();
  return FromQRegion(QRegion(ToQRect(r), QRegion::Ellipse));
}

bool Region::IsEmpty() const { return impl_->region.isEmpty(); }

int Region::Complexity() const {
  const int count = impl_->region.rectCount();
  return count == 0 ? NULLREGION : count == 1 ? SIMPLEREGION : COMPLEXREGION;
}

Rect Region::Box() const {
  if (IsEmpty()) return Rect{};
  const QRect b = impl_->region.boundingRect();
  return Rect{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
}

bool Region::Contains(Point p) const { return impl_->region.contains(QPoint(p.x, p.y)); }

std::vector<Rect> Region::Rects() const {
  std::vector<Rect> rects;
  for (const QRect& r : impl_->region) {
    rects.push_back(Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
  }
  return rects;
}

Region Region::Offset(int dx, int dy) const {
  return FromQRegion(impl_->region.translated(dx, dy));
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
  const QRegion& qa = a.impl_->region;
  const QRegion& qb = b.impl_->region;
  switch (mode) {
    case RGN_AND: return FromQRegion(qa.intersected(qb));
    case RGN_OR: return FromQRegion(qa.united(qb));
    case RGN_XOR: return FromQRegion(qa.xored(qb));
    case RGN_DIFF: return FromQRegion(qa.subtracted(qb));
    default: return a;
  }
}

bool operator==(const Region& a, const Region& b) {
  return a.impl_->region == b.impl_->region;
}

int CombineRgn(Region& dest, const Region& a, const Region& b, int mode) {
  if (mode < RGN_AND || mode > RGN_COPY) return RGN_ERROR;
  dest = Region::Combine(a, b, mode);
  return dest.Complexity();
}

}  // namespace orvale::gdi
