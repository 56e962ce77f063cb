#pragma once
// The Qt side of Region, for the backends.
#include <QRegion>

#include "platform/gdi/Region.h"

namespace orvale::gdi {

struct Region::Impl {
  QRegion region;
};

inline const QRegion& ToQRegion(const Region& region) { return region.impl().region; }
inline Region FromQRegion(QRegion region) {
  return Region(std::make_shared<const Region::Impl>(Region::Impl{std::move(region)}));
}
inline QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace orvale::gdi
