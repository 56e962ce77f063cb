#pragma once
// A row index over the points of a fringe store, for the tracer's proximity tests,
// which it asks for every point it accepts: each whole pixel row keeps its points
// sorted by x, so a box query reads only the rows and the stretch of x it covers
// instead of every point of the store. It gives the answers of
// clsFringes::FindInOtherFringe as long as every point added to or removed from the
// store is added to or removed from the index too.
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace orvale {

class clsFringes;

class FringePointIndex {
 public:
  // Rows 0..rowCount-1 get a bucket each; points on any other row share one list.
  explicit FringePointIndex(std::int32_t rowCount);

  // Adds every point of the store's fringes 1..NumFringes.
  void AddAll(const clsFringes& store);
  void Add(std::int32_t order, double x, double y);
  // Forgets every point of the fringes with this order (the other orders stay as they
  // are: the tracer only ever removes the fringe it traced last).
  void RemoveOrder(std::int32_t order);

  // True when a point within Distance of (X, Y) in both directions belongs to a fringe
  // whose order differs from (OtherFringe) or equals (not OtherFringe) `Order`.
  bool FindInOtherFringe(double X, double Y, std::int32_t Order, double Distance,
                         bool OtherFringe) const;

 private:
  struct Entry {
    double x;
    double y;
    std::int32_t order;
  };
  using Bucket = std::vector<Entry>;
  static constexpr std::int32_t kElsewhere = -1;

  std::int32_t BucketOf(double y) const;
  Bucket& BucketAt(std::int32_t key);
  // The first hit in `bucket` among the points with lowX <= x <= highX.
  bool FindInBucket(const Bucket& bucket, double lowX, double highX, double X, double Y,
                    std::int32_t Order, double Distance, bool OtherFringe) const;

  std::vector<Bucket> rows_;
  Bucket elsewhere_;
  // The buckets each order has points in, so that removing a short fringe is cheap.
  std::unordered_map<std::int32_t, std::vector<std::int32_t>> bucketsOfOrder_;
};

}  // namespace orvale
