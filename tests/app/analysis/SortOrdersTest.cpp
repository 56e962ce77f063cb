#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TraceTestSupport.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"

namespace orvale {
namespace {

using analysis_test::AllFringes;

// A vertical run of points at column x from row y0 to y1, every 6 rows.
std::vector<std::pair<double, double>> Column(double x, int y0, int y1) {
  std::vector<std::pair<double, double>> points;
  for (int y = y0; y <= y1; y += 6) points.emplace_back(x, y);
  if (points.back().second != y1) points.emplace_back(x, y1);
  return points;
}

// Adds a fringe of the given points with a placeholder order.
void AddFringe(clsFringes& store, std::int32_t order,
               const std::vector<std::pair<double, double>>& points) {
  std::int32_t index = store.AddOrder(order);
  for (const auto& [x, y] : points) store.AddCenter(order, x, y, index);
}

// A 200 x 200 pupil of radius 90 about (100, 100) with obstruction discs (centre,
// radius), which may reach beyond the pupil.
struct Disc {
  double x, y, r;
};
void ObstructedPupil(clsAnalysis& analysis, std::initializer_list<Disc> obstructions) {
  ASSERT_TRUE(analysis.CreateMask(200, 200));
  auto bytes = analysis.MaskBytes();
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      std::uint8_t value = std::hypot(x - 100, y - 100) <= 90 ? 1 : 0;
      for (const Disc& d : obstructions)
        if (std::hypot(x - d.x, y - d.y) < d.r) value = 2;
      bytes[static_cast<std::size_t>(y) * 200 + x] = value;
    }
}

// Orders follow the leftmost rounded point (halves to even); ties go to the lower record.
TEST(SortOrders, NumbersFromTheLeftByTheRoundedLeftmostPoint) {
  clsAnalysis analysis;
  analysis.SetAutoTraceParameters(3);
  clsFringes store;
  AddFringe(store, 7, {{30.0, 1}, {10.5, 2}});  // leftmost rounds to 10
  AddFringe(store, 8, {{10.4, 5}});             // 10 as well: after record 1
  AddFringe(store, 9, {{11.5, 5}, {40, 6}});    // 12
  AddFringe(store, 3, {{-4.0, 9}});
  analysis.SortOrders(store);
  ASSERT_EQ(store.NumFringes(), 4);
  EXPECT_EQ(store.GetFringeOrder(1), 2);
  EXPECT_EQ(store.GetFringeOrder(2), 3);
  EXPECT_EQ(store.GetFringeOrder(3), 4);
  EXPECT_EQ(store.GetFringeOrder(4), 1);
}

TEST(SortOrders, JoinsTheHalvesOfAFringeCutByTheObstruction) {
  clsAnalysis analysis;
  analysis.SetAutoTraceParameters(3);
  ObstructedPupil(analysis, {{100, 100, 30}});
  clsFringes store;
  AddFringe(store, 1, Column(160, 40, 160));   // passes beside the obstruction
  AddFringe(store, 2, Column(100, 134, 185));  // below it: its top end is broken
  AddFringe(store, 3, Column(99, 15, 66));     // above it: its bottom end is broken
  const auto before = AllFringes(store);
  analysis.SortOrders(store);

  ASSERT_EQ(store.NumFringes(), 2);
  const auto after = AllFringes(store);
  EXPECT_EQ(after[0].order, 2);
  EXPECT_EQ(after[0].points, before[0].points);
  // The leftmost half takes the first order and the other half's points after its own.
  EXPECT_EQ(after[1].order, 1);
  auto joined = before[2].points;
  joined.insert(joined.end(), before[1].points.begin(), before[1].points.end());
  EXPECT_EQ(after[1].points, joined);
}

// An end near the pupil's edge is not tested for the obstruction: an obstruction that
// reaches over the edge does not join what stops at it to another broken fringe.
TEST(SortOrders, EndsNearThePupilEdgeAreNotJoined) {
  clsAnalysis analysis;
  analysis.SetAutoTraceParameters(3);
  ObstructedPupil(analysis, {{100, 185, 20}, {160, 100, 10}});
  clsFringes store;
  AddFringe(store, 1, Column(100, 20, 160));   // stops 5 rows above the edge obstruction
  AddFringe(store, 2, Column(160, 115, 170));  // top end broken at the inner obstruction
  analysis.SortOrders(store);
  ASSERT_EQ(store.NumFringes(), 2);
  EXPECT_EQ(store.GetFringeOrder(1), 1);
  EXPECT_EQ(store.GetFringeOrder(2), 2);

  // The same fringe ending well inside the pupil does join.
  clsAnalysis inner;
  inner.SetAutoTraceParameters(3);
  ObstructedPupil(inner, {{100, 150, 12}, {160, 100, 10}});
  clsFringes joined;
  AddFringe(joined, 1, Column(100, 20, 130));
  AddFringe(joined, 2, Column(160, 115, 170));
  inner.SortOrders(joined);
  EXPECT_EQ(joined.NumFringes(), 1);
}

}  // namespace
}  // namespace orvale
