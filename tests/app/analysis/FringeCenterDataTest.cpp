#include "app/analysis/FringeCenterData.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/analysis/clsFringes.h"

namespace orvale {
namespace {

// Adds a fringe of `n` points (x = base + i, y = 2 x base) and returns its record.
std::int32_t AddFringe(clsFringes& fringes, std::int32_t order, std::int32_t n, double base) {
  std::vector<double> x(static_cast<std::size_t>(n) + 1), y(static_cast<std::size_t>(n) + 1);
  for (std::int32_t i = 1; i <= n; ++i) {
    x[static_cast<std::size_t>(i)] = base + i;
    y[static_cast<std::size_t>(i)] = 2 * base;
  }
  return fringes.InsertOrder(order, n, x, y);
}

TEST(FringeCenterData, FillsFringeByFringeWithTheOrderAsHeight) {
  clsFringes fringes;
  AddFringe(fringes, 7, 2, 10);
  AddFringe(fringes, 3, 3, 20);
  ASSERT_EQ(GetFringeNumTicks(fringes), 5);
  std::vector<double> X(5), Y(5), z(5);
  GetFringeCenterData(fringes, X, Y, z);
  EXPECT_EQ(X, (std::vector<double>{11, 12, 21, 22, 23}));
  EXPECT_EQ(Y, (std::vector<double>{20, 20, 40, 40, 40}));
  EXPECT_EQ(z, (std::vector<double>{7, 7, 3, 3, 3}));
}

TEST(FringeCenterData, EmptyStoreFillsNothingAndShortArraysAreNotOverrun) {
  clsFringes fringes;
  EXPECT_EQ(GetFringeNumTicks(fringes), 0);
  std::vector<double> X(2, 9.0), Y(2, 9.0), z(2, 9.0);
  GetFringeCenterData(fringes, X, Y, z);
  EXPECT_EQ(X, (std::vector<double>{9, 9}));

  AddFringe(fringes, 1, 4, 0);
  std::vector<double> shortZ(1, 0.0);
  GetFringeCenterData(fringes, X, Y, shortZ);  // the shortest array bounds the copy
  EXPECT_EQ(X, (std::vector<double>{1, 9}));
  EXPECT_EQ(shortZ[0], 1.0);
}

TEST(FringeCenterData, HoleLeftByACombineIsSkipped) {
  clsFringes fringes;
  AddFringe(fringes, 4, 1, 0);
  AddFringe(fringes, 5, 2, 10);
  AddFringe(fringes, 6, 1, 20);
  std::int32_t dest = kNoOrder, src = kNoOrder;
  ASSERT_TRUE(fringes.CombineOrders(4, 5, dest, src));  // record 2 is free until Defrag
  std::vector<double> X(4), Y(4), z(4);
  GetFringeCenterData(fringes, X, Y, z);
  EXPECT_EQ(z, (std::vector<double>{4, 4, 4, 6}));
  EXPECT_EQ(X, (std::vector<double>{1, 11, 12, 21}));
}

}  // namespace
}  // namespace orvale
