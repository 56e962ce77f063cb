#include "platform/window/HostPlacement.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <vector>

namespace orvale {

namespace {

// The first coordinate from which `extent` fits between `low` and `high` (inclusive),
// as near to `wanted` as it can be; `low` when it does not fit at all.
int Fit(int wanted, int extent, int low, int high) {
  return std::clamp(wanted, low, std::max(low, high + 1 - extent));
}

// The places beside the main window, on the side `wanted` leans to first, that the
// screen has room for, at `wanted`'s height kept on the screen.
std::vector<QPoint> BesideHost(QPoint wanted, QSize outer, const HostGeometry& host) {
  const QRect& screen = host.Screen;
  const int top = KeptOnScreen(wanted, outer, screen).y();
  const QPoint left(host.Frame.left() - outer.width(), top);
  const QPoint right(host.Frame.right() + 1, top);
  const bool roomLeft = left.x() >= screen.left();
  const bool roomRight = right.x() + outer.width() <= screen.right() + 1;
  const bool leansLeft = wanted.x() + outer.width() / 2 < host.Frame.center().x();
  std::vector<QPoint> places;
  if (roomLeft && leansLeft) places.push_back(left);
  if (roomRight) places.push_back(right);
  if (roomLeft && !leansLeft) places.push_back(left);
  return places;
}

bool ClearOf(const QRect& place, const HostGeometry& host, std::span<const QRect> others) {
  if (CoversHostBars(place, host)) return false;
  return std::none_of(others.begin(), others.end(), [&](const QRect& other) { return other.intersects(place); });
}

bool Free(const QRect& place, const HostGeometry& host, std::span<const QRect> others) {
  return host.Screen.contains(place) && ClearOf(place, host, others);
}

// The free place nearest to `from`, among those whose edges meet `from`'s lines or the
// others' edges: each window slides past the others along the screen's axes.
std::optional<QPoint> NearestFree(QPoint from, QSize outer, const HostGeometry& host,
                                  std::span<const QRect> others) {
  std::vector<int> xs{from.x()};
  std::vector<int> ys{from.y()};
  for (const QRect& other : others) {
    xs.insert(xs.end(), {other.right() + 1, other.left() - outer.width()});
    ys.insert(ys.end(), {other.bottom() + 1, other.top() - outer.height()});
  }
  std::optional<QPoint> nearest;
  int best = INT_MAX;
  for (const int y : ys) {
    for (const int x : xs) {
      const int distance = std::abs(x - from.x()) + std::abs(y - from.y());
      if (distance >= best || !Free(QRect(QPoint(x, y), outer), host, others)) continue;
      best = distance;
      nearest = QPoint(x, y);
    }
  }
  return nearest;
}

}  // namespace

QPoint KeptOnScreen(QPoint wanted, QSize outer, const QRect& screen) {
  return {Fit(wanted.x(), outer.width(), screen.left(), screen.right()),
          Fit(wanted.y(), outer.height(), screen.top(), screen.bottom())};
}

bool CoversHostBars(const QRect& place, const HostGeometry& host) {
  return place.intersects(HostBars(host));
}

QRect HostBars(const HostGeometry& host) {
  return QRect(host.Frame.topLeft(), QPoint(host.Frame.right(), host.WorkArea.top() - 1));
}

QPoint WorkAreaTopRight(const HostGeometry& host, QSize outer) {
  return KeptOnScreen(QPoint(host.WorkArea.right() + 1 - outer.width(), host.WorkArea.top()), outer, host.Screen);
}

QPoint ClearOfHostBars(QPoint wanted, QSize outer, const HostGeometry& host, std::span<const QRect> others) {
  if (ClearOf(QRect(wanted, outer), host, others)) return wanted;
  std::vector<QPoint> starts;
  if (!CoversHostBars(QRect(wanted, outer), host)) starts.push_back(wanted);
  for (const QPoint place : BesideHost(wanted, outer, host)) starts.push_back(place);
  starts.push_back(WorkAreaTopRight(host, outer));
  for (const QPoint start : starts) {
    if (const std::optional<QPoint> place = NearestFree(start, outer, host, others)) return *place;
  }
  return starts.front();
}

}  // namespace orvale
