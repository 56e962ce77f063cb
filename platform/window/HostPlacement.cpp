#include "platform/window/HostPlacement.h"

#include <algorithm>

namespace orvale {

namespace {

// The first coordinate from which `extent` fits between `low` and `high` (inclusive),
// as near to `wanted` as it can be; `low` when it does not fit at all.
int Fit(int wanted, int extent, int low, int high) {
  return std::clamp(wanted, low, std::max(low, high + 1 - extent));
}

}  // namespace

QRect HostBars(const HostGeometry& host) {
  return QRect(host.Frame.topLeft(), QPoint(host.Frame.right(), host.WorkArea.top() - 1));
}

QPoint WorkAreaTopRight(const HostGeometry& host, QSize outer) {
  const QRect& screen = host.Screen;
  return {Fit(host.WorkArea.right() + 1 - outer.width(), outer.width(), screen.left(), screen.right()),
          Fit(host.WorkArea.top(), outer.height(), screen.top(), screen.bottom())};
}

QPoint ClearOfHostBars(QPoint wanted, QSize outer, const HostGeometry& host) {
  if (!QRect(wanted, outer).intersects(HostBars(host))) return wanted;
  const QRect& screen = host.Screen;
  const int top = Fit(wanted.y(), outer.height(), screen.top(), screen.bottom());
  const int left = host.Frame.left() - outer.width();
  const int right = host.Frame.right() + 1;
  const bool roomLeft = left >= screen.left();
  const bool roomRight = right + outer.width() <= screen.right() + 1;
  const bool leansLeft = wanted.x() + outer.width() / 2 < host.Frame.center().x();
  if (roomLeft && (leansLeft || !roomRight)) return {left, top};
  if (roomRight) return {right, top};
  return WorkAreaTopRight(host, outer);
}

}  // namespace orvale
