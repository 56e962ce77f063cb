#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "app/analysis/FringePointIndex.h"
#include "app/analysis/clsFringes.h"

namespace orvale {
namespace {

// The index must answer exactly as the store's own linear search, for points on the
// indexed rows, above, below and between them, and for any distance.
TEST(FringePointIndex, AnswersAsTheLinearSearch) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-20.0, 140.0);
  std::uniform_int_distribution<int> whole(-20, 140);
  clsFringes store;
  FringePointIndex index(120);
  for (std::int32_t order = 1; order <= 12; ++order) {
    std::int32_t record = store.AddOrder(order);
    for (int i = 0; i < 60; ++i) {
      // Whole pixels as the tracer makes them, and fractions as the user's edits.
      const double x = i % 2 ? coordinate(random) : whole(random);
      const double y = i % 3 ? coordinate(random) : whole(random);
      store.AddCenter(order, x, y, record);
      index.Add(order, x, y);
    }
  }
  const double inf = std::numeric_limits<double>::infinity();
  const double distances[] = {0.0,  0.5,   2.0,  4.0, 10.0,
                              12.0, 200.0, -1.0, inf, std::numeric_limits<double>::quiet_NaN()};
  auto compare = [&](const char* stage) {
    int hits = 0;
    for (int q = 0; q < 4000; ++q) {
      const double X = q % 2 ? coordinate(random) : whole(random);
      const double Y = q % 5 ? coordinate(random) : whole(random);
      const std::int32_t order = q % 14;
      const double distance = distances[q % std::size(distances)];
      for (const bool other : {true, false}) {
        const bool expected = store.FindInOtherFringe(X, Y, order, distance, other);
        hits += expected;
        ASSERT_EQ(index.FindInOtherFringe(X, Y, order, distance, other), expected)
            << stage << ": (" << X << ", " << Y << ") order " << order << " distance " << distance
            << (other ? " other" : " own");
      }
    }
    EXPECT_GT(hits, 1000) << stage;
  };
  compare("filled");
  for (const double X : {inf, -inf}) {
    EXPECT_EQ(index.FindInOtherFringe(X, 3, 1, inf, true),
              store.FindInOtherFringe(X, 3, 1, inf, true));
    EXPECT_EQ(index.FindInOtherFringe(3, X, 1, inf, true),
              store.FindInOtherFringe(3, X, 1, inf, true));
  }

  // The tracer drops the fringe it traced last.
  std::int32_t last = kNoOrder;
  store.DeleteOrder(12, last);
  index.RemoveOrder(12);
  compare("after removing the last fringe");

  FringePointIndex rebuilt(50);
  rebuilt.AddAll(store);
  for (int q = 0; q < 2000; ++q) {
    const double X = coordinate(random), Y = coordinate(random);
    ASSERT_EQ(rebuilt.FindInOtherFringe(X, Y, q % 12, 6.0, q % 2 == 0),
              store.FindInOtherFringe(X, Y, q % 12, 6.0, q % 2 == 0));
  }
}

}  // namespace
}  // namespace orvale
