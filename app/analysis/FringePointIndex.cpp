#include "app/analysis/FringePointIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/analysis/clsFringes.h"

namespace orvale {

namespace {

// The same box test as the store's linear search, so both give the same answers.
bool Within(double px, double py, double X, double Y, double Distance) {
  return std::abs(px - X) <= Distance && std::abs(py - Y) <= Distance;
}

// A query range [centre - reach, centre + reach] widened by a margin well above the
// rounding of the differences the box test computes, so that the range never cuts off
// a point that the test takes. A NaN bound (from infinite arguments) opens that side.
struct Range {
  double low;
  double high;
};

Range Widened(double centre, double reach) {
  const double margin = 1.0 + (std::abs(centre) + reach) * 1e-12;
  Range range{centre - reach - margin, centre + reach + margin};
  if (std::isnan(range.low)) range.low = -std::numeric_limits<double>::infinity();
  if (std::isnan(range.high)) range.high = std::numeric_limits<double>::infinity();
  return range;
}

}  // namespace

FringePointIndex::FringePointIndex(std::int32_t rowCount)
    : rows_(static_cast<std::size_t>(std::max<std::int32_t>(rowCount, 0))) {}

void FringePointIndex::AddAll(const clsFringes& store) {
  for (std::int32_t i = 1; i <= store.NumFringes(); ++i) {
    const std::int32_t order = store.GetFringeOrder(i);
    if (order == kNoOrder) continue;
    for (const PointD& p : store.RecordPoints(i)) Add(order, p.x, p.y);
  }
}

std::int32_t FringePointIndex::BucketOf(double y) const {
  const double row = std::floor(y);
  if (!(row >= 0 && row < static_cast<double>(rows_.size()))) return kElsewhere;
  return static_cast<std::int32_t>(row);
}

FringePointIndex::Bucket& FringePointIndex::BucketAt(std::int32_t key) {
  return key == kElsewhere ? elsewhere_ : rows_[static_cast<std::size_t>(key)];
}

void FringePointIndex::Add(std::int32_t order, double x, double y) {
  const std::int32_t key = BucketOf(y);
  Bucket& bucket = BucketAt(key);
  // Sorted by x; a NaN x goes to the end, where no range search looks for it and the
  // box test would refuse it anyway.
  const auto place =
      std::isnan(x) ? bucket.end()
                    : std::upper_bound(bucket.begin(), bucket.end(), x,
                                       [](double value, const Entry& e) { return value < e.x; });
  bucket.insert(place, Entry{x, y, order});
  std::vector<std::int32_t>& keys = bucketsOfOrder_[order];
  if (keys.empty() || keys.back() != key) keys.push_back(key);
}

void FringePointIndex::RemoveOrder(std::int32_t order) {
  const auto found = bucketsOfOrder_.find(order);
  if (found == bucketsOfOrder_.end()) return;
  std::vector<std::int32_t>& keys = found->second;
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  for (const std::int32_t key : keys)
    std::erase_if(BucketAt(key), [order](const Entry& e) { return e.order == order; });
  bucketsOfOrder_.erase(found);
}

bool FringePointIndex::FindInBucket(const Bucket& bucket, double lowX, double highX, double X,
                                    double Y, std::int32_t Order, double Distance,
                                    bool OtherFringe) const {
  auto it = std::lower_bound(bucket.begin(), bucket.end(), lowX,
                             [](const Entry& e, double value) { return e.x < value; });
  for (; it != bucket.end() && it->x <= highX; ++it) {
    if ((it->order != Order) != OtherFringe) continue;
    if (Within(it->x, it->y, X, Y, Distance)) return true;
  }
  return false;
}

bool FringePointIndex::FindInOtherFringe(double X, double Y, std::int32_t Order, double Distance,
                                         bool OtherFringe) const {
  // No point passes the box test with a NaN or a negative distance, nor at a NaN place.
  if (!(Distance >= 0) || std::isnan(X) || std::isnan(Y)) return false;
  const Range xs = Widened(X, Distance);
  const Range ys = Widened(Y, Distance);
  for (const Entry& e : elsewhere_) {
    if ((e.order != Order) != OtherFringe) continue;
    if (Within(e.x, e.y, X, Y, Distance)) return true;
  }
  if (rows_.empty() || ys.high < 0) return false;
  const double lastRow = static_cast<double>(rows_.size() - 1);
  if (ys.low > lastRow) return false;
  const auto first = static_cast<std::size_t>(std::max(0.0, std::floor(ys.low)));
  const auto last = static_cast<std::size_t>(std::min(lastRow, std::floor(ys.high)));
  for (std::size_t row = first; row <= last; ++row) {
    if (FindInBucket(rows_[row], xs.low, xs.high, X, Y, Order, Distance, OtherFringe)) return true;
  }
  return false;
}

}  // namespace orvale
