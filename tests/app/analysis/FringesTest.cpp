#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "FailingTextOutput.h"
#include "app/analysis/LineParser.h"
#include "app/analysis/clsFringes.h"
#include "platform/runtime/LineInput.h"
#include "platform/runtime/TextOutput.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

// 1-based point buffers as the store takes them.
struct Buffers {
  std::vector<double> x{0.0};
  std::vector<double> y{0.0};
  void Add(double px, double py) {
    x.push_back(px);
    y.push_back(py);
  }
  std::int32_t Count() const { return static_cast<std::int32_t>(x.size()) - 1; }
};

// Point k of the fringe with order o lies at (100 o + k, k): every point is traceable.
Buffers PointsOf(std::int32_t order, std::int32_t count) {
  Buffers b;
  for (std::int32_t k = 1; k <= count; ++k) b.Add(100.0 * order + k, k);
  return b;
}

// One fringe per order, with the given number of points each.
clsFringes MakeStore(const std::vector<std::int32_t>& orders, std::int32_t pointsEach = 2) {
  clsFringes store;
  for (std::int32_t order : orders) {
    const Buffers b = PointsOf(order, pointsEach);
    EXPECT_NE(store.InsertOrder(order, b.Count(), b.x, b.y), kNoOrder);
  }
  return store;
}

std::vector<std::int32_t> OrdersOf(const clsFringes& store) {
  std::vector<std::int32_t> orders;
  for (std::int32_t i = 1; i <= store.NumFringes(); ++i) orders.push_back(store.GetFringeOrder(i));
  return orders;
}

std::vector<PointD> PointsAt(const clsFringes& store, std::int32_t index) {
  std::vector<PointD> points;
  std::int32_t idx = index;
  const std::int32_t n = store.GetNumTicks(0, idx);
  for (std::int32_t t = 1; t <= n; ++t) {
    PointD p;
    store.GetCenter(0, t, p.x, p.y, idx);
    points.push_back(p);
  }
  return points;
}

std::vector<double> XsAt(const clsFringes& store, std::int32_t index) {
  std::vector<double> xs;
  for (const PointD& p : PointsAt(store, index)) xs.push_back(p.x);
  return xs;
}

TEST(FringeStore, StartsEmptyAndSmall) {
  clsFringes store;
  EXPECT_EQ(store.NumFringes(), 0);
  EXPECT_EQ(store.TotalNumTicks(), 0);
  EXPECT_EQ(store.GetFringeOrder(1), kNoOrder);
  EXPECT_EQ(store.GetFringeOrder(200), kNoOrder);
  // Points are allocated as they are added: a hundred open documents must not each
  // carry 200 x 4000 points.
  EXPECT_LT(sizeof(clsFringes), 16u * 1024u);
}

TEST(FringeStore, AddOrderTakesOnlyOrdersOneTo200) {
  for (std::int32_t bad : {0, -1, 201, kNoOrder}) {
    clsFringes store;
    EXPECT_EQ(store.AddOrder(bad), kNoOrder) << bad;
    EXPECT_EQ(store.NumFringes(), 0) << bad;
  }
  clsFringes store;
  EXPECT_EQ(store.AddOrder(1), 1);
  EXPECT_EQ(store.AddOrder(200), 2);
  EXPECT_EQ(store.NumFringes(), 2);
  EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 200}));
}

TEST(FringeStore, FullStoreRefusesAnotherFringe) {
  clsFringes store;
  for (std::int32_t o = 1; o <= kMaxFringes; ++o) ASSERT_EQ(store.AddOrder(o), o);
  EXPECT_EQ(store.AddOrder(5), kNoOrder);
  const Buffers b = PointsOf(1, 1);
  EXPECT_EQ(store.InsertOrder(5, 1, b.x, b.y), kNoOrder);
  EXPECT_EQ(store.NumFringes(), kMaxFringes);
}

TEST(FringeStore, InsertOrderRefusesBadPointSets) {
  const Buffers big = PointsOf(1, kMaxFringeTicks + 1);
  const Buffers three = PointsOf(1, 3);
  Buffers notANumber = PointsOf(1, 2);
  notANumber.y[2] = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    std::int32_t order;
    std::int32_t npts;
    const Buffers& b;
  } cases[] = {
      {"4001 points", 1, kMaxFringeTicks + 1, big},
      {"negative count", 1, -1, three},
      {"count beyond the buffers", 1, 4, three},
      {"order 0", 0, 3, three},
      {"infinite coordinate", 1, 2, notANumber},
  };
  for (const Case& c : cases) {
    clsFringes store;
    EXPECT_EQ(store.InsertOrder(c.order, c.npts, c.b.x, c.b.y), kNoOrder) << c.what;
    EXPECT_EQ(store.NumFringes(), 0) << c.what;
  }
  clsFringes store;
  EXPECT_EQ(store.InsertOrder(7, kMaxFringeTicks, big.x, big.y), 1);
  EXPECT_EQ(store.TotalNumTicks(), kMaxFringeTicks);
  EXPECT_EQ(store.InsertOrder(8, 0, three.x, three.y), 2);
}

TEST(FringeStore, AddCentersStopsAtThe4000PointLimit) {
  clsFringes store;
  const Buffers start = PointsOf(1, kMaxFringeTicks - 2);
  ASSERT_EQ(store.InsertOrder(1, start.Count(), start.x, start.y), 1);
  const Buffers three = PointsOf(2, 3);
  std::int32_t index = kNoOrder;
  store.AddCenters(1, 3, three.x, three.y, index);  // would make 4001
  EXPECT_EQ(index, 1);
  EXPECT_EQ(store.GetNumTicks(1, index), kMaxFringeTicks - 2);

  store.AddCenters(1, 0, three.x, three.y, index);
  store.AddCenters(1, -5, three.x, three.y, index);
  EXPECT_EQ(store.GetNumTicks(1, index), kMaxFringeTicks - 2);

  store.AddCenters(1, 2, three.x, three.y, index);  // exactly 4000
  EXPECT_EQ(store.GetNumTicks(1, index), kMaxFringeTicks);
  double x = 0, y = 0;
  store.GetCenter(1, kMaxFringeTicks, x, y, index);
  EXPECT_EQ(x, 202.0);

  store.AddCenter(1, 1, 1, index);
  EXPECT_EQ(store.GetNumTicks(1, index), kMaxFringeTicks);
}

TEST(FringeStore, PointsGoOnlyToFringesInUse) {
  clsFringes store = MakeStore({1});
  const Buffers b = PointsOf(1, 2);
  std::int32_t missing = kNoOrder;
  store.AddCenters(9, 2, b.x, b.y, missing);
  EXPECT_EQ(missing, kNoOrder);
  std::int32_t free = 2;  // a free record inside 1..200
  store.AddCenter(0, 5, 5, free);
  store.AddCenters(0, 2, b.x, b.y, free);
  EXPECT_EQ(store.GetNumTicks(0, free), 0);
  EXPECT_EQ(store.TotalNumTicks(), 2);
}

TEST(FringeStore, GetCenterMarksMissingPoints) {
  clsFringes store = MakeStore({4}, 3);
  double x = 0, y = 0;
  std::int32_t index = kNoOrder;
  store.GetCenter(4, 2, x, y, index);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(x, 402.0);
  EXPECT_EQ(y, 2.0);

  index = kNoOrder;
  store.GetCenter(5, 1, x, y, index);  // missing order
  EXPECT_EQ(x, kNotGivenDouble);
  EXPECT_EQ(y, kNotGivenDouble);

  for (std::int32_t tick : {0, 4}) {
    x = y = 0;
    index = 1;
    store.GetCenter(0, tick, x, y, index);
    EXPECT_EQ(x, kNotGivenDouble) << tick;
  }
  for (std::int32_t bad : {0, 201}) {
    x = y = 7;
    index = bad;
    store.GetCenter(0, 1, x, y, index);
    EXPECT_EQ(x, 7.0) << bad;
    EXPECT_EQ(y, 7.0) << bad;
  }
}

TEST(FringeStore, GetNumTicksAnswersNoOrderForNoFringe) {
  clsFringes store = MakeStore({3}, 5);
  std::int32_t index = kNoOrder;
  EXPECT_EQ(store.GetNumTicks(kNoOrder, index), kNoOrder);
  EXPECT_EQ(store.GetNumTicks(8, index), kNoOrder);
  index = 201;
  EXPECT_EQ(store.GetNumTicks(3, index), kNoOrder);
  index = kNoOrder;
  EXPECT_EQ(store.GetNumTicks(3, index), 5);
  EXPECT_EQ(index, 1);
}

TEST(FringeStore, SetAndDeleteCenter) {
  clsFringes store = MakeStore({2}, 4);
  std::int32_t index = kNoOrder;
  store.DeleteCenter(2, 2, index);
  EXPECT_EQ(XsAt(store, 1), (std::vector<double>{201, 203, 204}));
  store.DeleteCenter(2, 4, index);  // beyond NumTicks
  store.DeleteCenter(2, 0, index);
  EXPECT_EQ(store.GetNumTicks(2, index), 3);

  store.SetCenter(2, 3, 9.5, 8.5, index);
  store.SetCenter(2, 4, 1, 1, index);  // beyond NumTicks
  store.SetCenter(2, 1, std::numeric_limits<double>::quiet_NaN(), 1, index);
  EXPECT_EQ(XsAt(store, 1), (std::vector<double>{201, 203, 9.5}));
}

TEST(FringeStore, CombineAppendsSourceAfterDestination) {
  clsFringes store;
  const Buffers three = PointsOf(1, 3);
  const Buffers four = PointsOf(2, 4);
  store.InsertOrder(1, 3, three.x, three.y);
  store.InsertOrder(2, 4, four.x, four.y);
  std::int32_t dest = kNoOrder, src = kNoOrder;
  ASSERT_TRUE(store.CombineOrders(1, 2, dest, src));
  EXPECT_EQ(dest, 1);
  EXPECT_EQ(src, 2);
  EXPECT_EQ(XsAt(store, 1), (std::vector<double>{101, 102, 103, 201, 202, 203, 204}));
  EXPECT_EQ(store.GetFringeOrder(2), kNoOrder);
  EXPECT_EQ(store.NumFringes(), 2);  // the caller compacts
  store.Defrag(kNoOrder);
  EXPECT_EQ(store.NumFringes(), 1);
  EXPECT_EQ(store.TotalNumTicks(), 7);
}

TEST(FringeStore, CombineRefusesWithoutChange) {
  struct Case {
    const char* what;
    std::int32_t orderDest, orderSrc, indexDest, indexSrc;
  } cases[] = {
      {"missing destination order", 9, 2, kNoOrder, kNoOrder},
      {"missing source order", 1, 9, kNoOrder, kNoOrder},
      {"fringe onto itself", 1, 1, kNoOrder, kNoOrder},
      {"same record", 0, 0, 2, 2},
      {"record beyond 200", 0, 0, 1, 201},
      {"free record", 0, 0, 1, 3},
  };
  for (const Case& c : cases) {
    clsFringes store = MakeStore({1, 2}, 3);
    std::int32_t dest = c.indexDest, src = c.indexSrc;
    EXPECT_FALSE(store.CombineOrders(c.orderDest, c.orderSrc, dest, src)) << c.what;
    EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 2})) << c.what;
    EXPECT_EQ(store.TotalNumTicks(), 6) << c.what;
  }
  clsFringes store;
  const Buffers big = PointsOf(1, 3999);
  const Buffers two = PointsOf(2, 2);
  store.InsertOrder(1, big.Count(), big.x, big.y);
  store.InsertOrder(2, 2, two.x, two.y);
  std::int32_t dest = kNoOrder, src = kNoOrder;
  EXPECT_FALSE(store.CombineOrders(1, 2, dest, src));
  EXPECT_EQ(store.TotalNumTicks(), 4001);
}

TEST(FringeStore, OneDefragClosesTheHolesOfTwoCombines) {
  clsFringes store = MakeStore({1, 2, 3, 4, 5}, 2);
  std::int32_t d = kNoOrder, s = kNoOrder;
  ASSERT_TRUE(store.CombineOrders(1, 2, d, s));
  d = s = kNoOrder;
  ASSERT_TRUE(store.CombineOrders(3, 4, d, s));
  store.Defrag(kNoOrder);
  EXPECT_EQ(store.NumFringes(), 3);
  EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 3, 5}));
  EXPECT_EQ(XsAt(store, 2), (std::vector<double>{301, 302, 401, 402}));
  EXPECT_EQ(XsAt(store, 3), (std::vector<double>{501, 502}));
  EXPECT_EQ(store.GetFringeOrder(4), kNoOrder);
  EXPECT_EQ(store.TotalNumTicks(), 10);
}

TEST(FringeStore, AddOrderFillsAHoleInsideTheCount) {
  clsFringes store = MakeStore({1, 2, 3});
  std::int32_t d = kNoOrder, s = kNoOrder;
  ASSERT_TRUE(store.CombineOrders(1, 2, d, s));
  EXPECT_EQ(store.AddOrder(9), 2);
  EXPECT_EQ(store.NumFringes(), 3);
  EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 9, 3}));
}

TEST(FringeStore, DeleteOrderThreeOfOneToFive) {
  clsFringes store = MakeStore({1, 2, 3, 4, 5});
  std::int32_t index = kNoOrder;
  store.DeleteOrder(3, index);
  EXPECT_EQ(index, 3);
  EXPECT_EQ(store.NumFringes(), 4);
  EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 2, 3, 4}));
  // The former orders 4 and 5 moved down with their points.
  EXPECT_EQ(XsAt(store, 3), (std::vector<double>{401, 402}));
  EXPECT_EQ(XsAt(store, 4), (std::vector<double>{501, 502}));
  EXPECT_EQ(store.GetFringeOrder(5), kNoOrder);
  EXPECT_EQ(store.TotalNumTicks(), 8);
}

TEST(FringeStore, DeleteOrderOfNoFringeChangesNothing) {
  struct Case {
    const char* what;
    std::int32_t order, index;
  } cases[] = {
      {"missing order", 9, kNoOrder},
      {"index above NumFringes", 0, 4},
      {"index 200", 0, 200},
      {"index 0", 0, 0},
  };
  for (const Case& c : cases) {
    clsFringes store = MakeStore({1, 2, 3});
    std::int32_t index = c.index;
    store.DeleteOrder(c.order, index);
    EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 2, 3})) << c.what;
    EXPECT_EQ(store.TotalNumTicks(), 6) << c.what;
  }
  clsFringes empty;
  std::int32_t index = kNoOrder;
  empty.DeleteOrder(1, index);
  EXPECT_EQ(empty.NumFringes(), 0);
}

TEST(FringeStore, DefragOfOneRecordKeepsFringesInUse) {
  clsFringes store = MakeStore({1, 2, 3});
  store.Defrag(2);  // record 2 holds a fringe: nothing to close
  EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(store.TotalNumTicks(), 6);
}

TEST(FringeStore, RenumberShiftsOrders) {
  clsFringes store = MakeStore({1, 2, 3});
  EXPECT_TRUE(store.Renumber(2, false));
  EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 3, 4}));
  EXPECT_TRUE(store.Renumber(2, true));
  EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST(FringeStore, RenumberKeepsOrdersInsideOneTo200) {
  clsFringes top = MakeStore({5, 200});
  EXPECT_FALSE(top.Renumber(7, false));
  EXPECT_EQ(OrdersOf(top), (std::vector<std::int32_t>{5, 200}));
  clsFringes bottom = MakeStore({1, 4});
  EXPECT_FALSE(bottom.Renumber(0, true));
  EXPECT_EQ(OrdersOf(bottom), (std::vector<std::int32_t>{1, 4}));
}

TEST(FringeStore, SetOrderRenamesOnlyFringesInUse) {
  clsFringes store = MakeStore({1, 2});
  store.SetOrder(7, 2);
  store.SetOrder(201, 1);
  store.SetOrder(0, 1);
  store.SetOrder(9, 3);  // free record
  EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{1, 7}));
  EXPECT_EQ(store.NumFringes(), 2);
  EXPECT_EQ(store.GetFringeOrder(3), kNoOrder);
}

TEST(FringeStore, LookupByOrderFindsTheLowestRecord) {
  clsFringes store = MakeStore({4, 6, 4});
  EXPECT_EQ(store.GetFringeIndex(4), 1);
  EXPECT_EQ(store.GetFringeIndex(6), 2);
  EXPECT_EQ(store.GetFringeIndex(5), kNoOrder);
  // The no-order marker does not find a free record left by a combine.
  std::int32_t d = kNoOrder, s = 2;
  ASSERT_TRUE(store.CombineOrders(4, 0, d, s));
  EXPECT_EQ(store.GetFringeIndex(kNoOrder), kNoOrder);
}

TEST(FringeStore, DeleteAllEmptiesEveryRecord) {
  clsFringes store = MakeStore({1, 2, 3});
  store.DeleteAll();
  EXPECT_EQ(store.NumFringes(), 0);
  EXPECT_EQ(store.TotalNumTicks(), 0);
  EXPECT_EQ(store.GetFringeOrder(1), kNoOrder);
  EXPECT_EQ(store.AddOrder(5), 1);
  std::int32_t index = 1;
  EXPECT_EQ(store.GetNumTicks(0, index), 0);
}

TEST(FringeStore, SetNumFringesFreesRecordsAboveTheCount) {
  clsFringes store = MakeStore({1, 2, 3});
  store.SetNumFringes(201);
  store.SetNumFringes(-1);
  EXPECT_EQ(store.NumFringes(), 3);
  store.SetNumFringes(1);
  EXPECT_EQ(store.NumFringes(), 1);
  EXPECT_EQ(store.GetFringeOrder(2), kNoOrder);
  EXPECT_EQ(store.AddOrder(8), 2);
}

TEST(FringeStore, TransposeAndHalve) {
  clsFringes store = MakeStore({1}, 2);
  store.TransposeAll();
  EXPECT_EQ(PointsAt(store, 1)[1].x, 2.0);
  EXPECT_EQ(PointsAt(store, 1)[1].y, 102.0);
  store.HalfFringeData();
  EXPECT_EQ(PointsAt(store, 1)[1].x, 1.0);
  EXPECT_EQ(PointsAt(store, 1)[1].y, 51.0);
}

TEST(FringeStore, FindHitsWithinThreePixels) {
  clsFringes store;
  Buffers a, b;
  a.Add(10, 10);
  a.Add(50, 50);
  b.Add(12, 11);  // touches the first fringe's point
  store.InsertOrder(3, 2, a.x, a.y);
  store.InsertOrder(8, 1, b.x, b.y);

  struct Case {
    double x, y;
    std::int32_t order, center, index;
  } cases[] = {
      {11, 10.5, 3, 1, 1},    // both fringes in reach: the lower record
      {15, 14, 8, 1, 2},      // only the second
      {53, 47, 3, 2, 1},      // exactly 3 away in both directions
      {53.001, 50, kNoOrder, kNoOrder, kNoOrder},
      {100, 100, kNoOrder, kNoOrder, kNoOrder},
  };
  for (const Case& c : cases) {
    std::int32_t order = 0, center = 0, index = 0;
    store.Find(c.x, c.y, order, center, index);
    EXPECT_EQ(order, c.order) << c.x << "," << c.y;
    EXPECT_EQ(center, c.center) << c.x << "," << c.y;
    EXPECT_EQ(index, c.index) << c.x << "," << c.y;
  }
}

TEST(FringeStore, FindInOtherFringeTellsOwnFromOthers) {
  clsFringes store = MakeStore({1, 2}, 1);  // (101, 1) and (201, 1)
  EXPECT_TRUE(store.FindInOtherFringe(203, 2, 1, 2.0, true));
  EXPECT_FALSE(store.FindInOtherFringe(203, 2, 2, 2.0, true));
  EXPECT_TRUE(store.FindInOtherFringe(203, 2, 2, 2.0, false));
  EXPECT_FALSE(store.FindInOtherFringe(204, 2, 2, 2.0, false));
}

// ---- Writing the section ----

std::string Saved(const clsFringes& store) {
  StringTextOutput out;
  EXPECT_TRUE(store.SaveToFile(out));
  return out.Text();
}

TEST(FringeSection, WritesTheDescribedForms) {
  clsFringes store;
  Buffers a;
  a.Add(12.5, 40);
  a.Add(-0.25, 1E+20);
  store.InsertOrder(3, 2, a.x, a.y);
  store.AddOrder(12);
  EXPECT_EQ(Saved(store),
            "Fringes\r\n"
            "NumFringes, 2 \r\n"
            "Order, 3 \r\n"
            "NumTicks, 2 \r\n"
            "Center, 12.5, 40\r\n"
            "Center,-.25, 1E+20\r\n"
            "Order, 12 \r\n"
            "NumTicks, 0 \r\n"
            "EndFringes\r\n");
}

TEST(FringeSection, SkipsTheHoleOfACombine) {
  clsFringes store = MakeStore({1, 2, 3}, 1);
  std::int32_t d = kNoOrder, s = kNoOrder;
  ASSERT_TRUE(store.CombineOrders(1, 2, d, s));
  EXPECT_EQ(Saved(store),
            "Fringes\r\nNumFringes, 2 \r\n"
            "Order, 1 \r\nNumTicks, 2 \r\nCenter, 101, 1\r\nCenter, 201, 1\r\n"
            "Order, 3 \r\nNumTicks, 1 \r\nCenter, 301, 1\r\n"
            "EndFringes\r\n");
}

TEST(FringeSection, WriteFailuresFollowTheUsersAnswer) {
  clsFringes store = MakeStore({1}, 1);
  const std::string whole =
      "Fringes\r\nNumFringes, 1 \r\nOrder, 1 \r\nNumTicks, 1 \r\nCenter, 101, 1\r\nEndFringes\r\n";
  struct Case {
    const char* what;
    int answer;
    bool result;
    std::string text;
  } cases[] = {
      {"retry writes the line again", idbutton::kRetry, true, whole},
      {"ignore goes on", idbutton::kIgnore, true,
       "Fringes\r\nNumFringes, 1 \r\nNumTicks, 1 \r\nCenter, 101, 1\r\nEndFringes\r\n"},
      {"abort ends the section", idbutton::kAbort, false, "Fringes\r\nNumFringes, 1 \r\n"},
  };
  for (const Case& c : cases) {
    ScriptedMessageService messages;
    ScopedMessageService scope(messages);
    messages.QueueAnswer(c.answer);
    FailingTextOutput out(3);  // the "Order" line
    EXPECT_EQ(store.SaveToFile(out), c.result) << c.what;
    EXPECT_EQ(out.Text(), c.text) << c.what;
    ASSERT_EQ(messages.Messages().size(), 1u) << c.what;
    EXPECT_EQ(messages.Messages()[0].title, "Error");
  }
}

// ---- Reading the section ----

// Reads `section` (the lines after "Fringes") into `store`.
FringeLoadResult Load(clsFringes& store, const std::string& section) {
  StringLineSource file(section);
  clsParser parser;
  return store.LoadFromFile(file, parser);
}

TEST(FringeSection, RoundTripGivesTheSameBytes) {
  clsFringes store;
  Buffers a;
  a.Add(12.5, 40);
  a.Add(-0.25, 1E+20);
  a.Add(1.0 / 3.0, -2.0 / 7.0);
  a.Add(123456.789012345, 1.5E-07);
  a.Add(0, -0.0);
  store.InsertOrder(4, a.Count(), a.x, a.y);
  store.AddOrder(200);
  const Buffers b = PointsOf(7, 5);
  store.InsertOrder(7, b.Count(), b.x, b.y);

  const std::string first = Saved(store);
  const std::string header = "Fringes\r\n";
  ASSERT_EQ(first.rfind(header, 0), 0u);
  clsFringes loaded;
  ASSERT_EQ(Load(loaded, first.substr(header.size())), FringeLoadResult::Complete);
  EXPECT_EQ(Saved(loaded), first);

  EXPECT_EQ(OrdersOf(loaded), (std::vector<std::int32_t>{4, 200, 7}));
  const std::vector<PointD> points = PointsAt(loaded, 1);
  ASSERT_EQ(points.size(), 5u);
  for (std::size_t k = 0; k < points.size(); ++k) {
    EXPECT_NEAR(points[k].x, a.x[k + 1], std::fabs(a.x[k + 1]) * 1E-14) << k;
    EXPECT_NEAR(points[k].y, a.y[k + 1], std::fabs(a.y[k + 1]) * 1E-14) << k;
  }
}

TEST(FringeSection, ReadingTakesCountsFromWhatIsThere) {
  struct Case {
    const char* what;
    std::string section;
    FringeLoadResult result;
    std::vector<std::int32_t> orders;
    std::vector<std::int32_t> ticks;
  } cases[] = {
      {"'Order, 0 ' stops with that record free",
       "NumFringes, 2 \r\nOrder, 1 \r\nNumTicks, 1 \r\nCenter, 1, 2\r\n"
       "Order, 0 \r\nNumTicks, 1 \r\nCenter, 3, 4\r\nEndFringes\r\n",
       FringeLoadResult::BadValue, {1}, {1}},
      {"'NumFringes, 300 ' gives an empty store",
       "NumFringes, 300 \r\nOrder, 1 \r\nNumTicks, 0 \r\nEndFringes\r\n",
       FringeLoadResult::BadValue, {}, {}},
      {"NumFringes above the Order lines",
       "NumFringes, 5 \r\nOrder, 1 \r\nNumTicks, 0 \r\nOrder, 2 \r\nNumTicks, 0 \r\n"
       "EndFringes\r\n",
       FringeLoadResult::Complete, {1, 2}, {0, 0}},
      {"NumFringes below the Order lines",
       "NumFringes, 1 \r\nOrder, 3 \r\nOrder, 2 \r\nOrder, 1 \r\nEndFringes\r\n",
       FringeLoadResult::Complete, {3, 2, 1}, {0, 0, 0}},
      {"fewer Center lines than NumTicks",
       "NumFringes, 1 \r\nOrder, 1 \r\nNumTicks, 5 \r\nCenter, 1, 2\r\nCenter, 3, 4\r\n"
       "EndFringes\r\n",
       FringeLoadResult::Complete, {1}, {2}},
      {"more Center lines than NumTicks",
       "Order, 1 \r\nNumTicks, 1 \r\nCenter, 1, 2\r\nCenter, 3, 4\r\nEndFringes\r\n",
       FringeLoadResult::Complete, {1}, {1}},
      {"no NumTicks line", "Order, 1 \r\nCenter, 1, 2\r\nCenter, 3, 4\r\nEndFringes\r\n",
       FringeLoadResult::Complete, {1}, {2}},
      {"NumTicks 4001 frees the record",
       "Order, 1 \r\nCenter, 1, 2\r\nOrder, 2 \r\nNumTicks, 4001 \r\nEndFringes\r\n",
       FringeLoadResult::BadValue, {1}, {1}},
      {"negative NumTicks", "Order, 1 \r\nNumTicks,-1 \r\n", FringeLoadResult::BadValue, {}, {}},
      {"lines before the first Order are skipped",
       "NumTicks, 3 \r\nCenter, 1, 2\r\nOrder, 6 \r\nCenter, 5, 6\r\nEndFringes\r\n",
       FringeLoadResult::Complete, {6}, {1}},
      {"missing order value", "Order, 1 \r\nOrder,\r\nEndFringes\r\n",
       FringeLoadResult::BadValue, {1}, {0}},
      {"order that is not a number", "Order, abc\r\nEndFringes\r\n", FringeLoadResult::BadValue,
       {}, {}},
      {"order far out of range", "Order, 1E+20\r\n", FringeLoadResult::BadValue, {}, {}},
      {"whole numbers round half to even", "Order, 2.5\r\nOrder, 3.5\r\nEndFringes\r\n",
       FringeLoadResult::Complete, {2, 4}, {0, 0}},
      {"keys in any case, several on one line",
       "ORDER, 9 numticks, 1 Center, 1, 2\r\nendFRINGES\r\n", FringeLoadResult::Complete, {9},
       {1}},
      {"unknown keys and empty lines are skipped",
       "Order, 1 \r\n\r\nColour, 5, Center, 1, 1\r\nCenter, 2, 2\r\nEndFringes\r\n",
       FringeLoadResult::Complete, {1}, {1}},
      {"infinite coordinates are dropped",
       "Order, 1 \r\nNumTicks, 2 \r\nCenter, 1E+999, 2\r\nCenter, 3,-1E+999\r\n"
       "Center, 5, 6\r\nEndFringes\r\n",
       FringeLoadResult::Complete, {1}, {1}},
      {"truncated section keeps what was read",
       "NumFringes, 2 \r\nOrder, 1 \r\nNumTicks, 3 \r\nCenter, 1, 2\r\n",
       FringeLoadResult::Truncated, {1}, {1}},
      {"empty file", "", FringeLoadResult::Truncated, {}, {}},
  };
  for (const Case& c : cases) {
    clsFringes store = MakeStore({50, 51});  // replaced by what the section holds
    EXPECT_EQ(Load(store, c.section), c.result) << c.what;
    EXPECT_EQ(OrdersOf(store), c.orders) << c.what;
    std::vector<std::int32_t> ticks;
    for (std::int32_t i = 1; i <= store.NumFringes(); ++i) ticks.push_back(store.GetNumTicks(0, i));
    EXPECT_EQ(ticks, c.ticks) << c.what;
    EXPECT_EQ(store.GetFringeOrder(store.NumFringes() + 1), kNoOrder) << c.what;
    // A store read from any section saves and reads back unchanged.
    const std::string saved = Saved(store);
    clsFringes again;
    EXPECT_EQ(Load(again, saved.substr(9)), FringeLoadResult::Complete) << c.what;
    EXPECT_EQ(Saved(again), saved) << c.what;
  }
}

TEST(FringeSection, ShortCenterLinesReadAsZero) {
  clsFringes store;
  ASSERT_EQ(Load(store, "Order, 1 \r\nCenter, 7\r\nCenter, x, y\r\nEndFringes\r\n"),
            FringeLoadResult::Complete);
  const std::vector<PointD> points = PointsAt(store, 1);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].x, 7.0);
  EXPECT_EQ(points[0].y, 0.0);
  EXPECT_EQ(points[1].x, 0.0);
}

TEST(FringeSection, ReadingStopsAtTheStoreLimits) {
  std::string many;
  for (int o = 1; o <= 201; ++o) many += "Order, " + std::to_string(o % 200 + 1) + " \r\n";
  clsFringes store;
  EXPECT_EQ(Load(store, many + "EndFringes\r\n"), FringeLoadResult::BadValue);
  EXPECT_EQ(store.NumFringes(), kMaxFringes);

  std::string long_fringe = "Order, 1 \r\n";
  for (int k = 1; k <= kMaxFringeTicks + 2; ++k)
    long_fringe += "Center, " + std::to_string(k) + ", 1\r\n";
  clsFringes full;
  EXPECT_EQ(Load(full, long_fringe + "EndFringes\r\n"), FringeLoadResult::Complete);
  EXPECT_EQ(full.TotalNumTicks(), kMaxFringeTicks);
  double x = 0, y = 0;
  std::int32_t index = 1;
  full.GetCenter(0, kMaxFringeTicks, x, y, index);
  EXPECT_EQ(x, kMaxFringeTicks);
}

TEST(FringeSection, TheCallerReadsOnAfterTheSection) {
  struct Case {
    const char* section;
    const char* nextToken;
  } cases[] = {
      {"Order, 1 \r\nEndFringes\r\nRMS, .5\r\n", "RMS"},
      {"Order, 0 , Center, 1, 1\r\nRMS, .5\r\n", "RMS"},  // rest of the bad line skipped
  };
  for (const Case& c : cases) {
    StringLineSource file(c.section);
    clsParser parser;
    clsFringes store;
    store.LoadFromFile(file, parser);
    std::string token = parser.GetToken();
    if (token.empty() && parser.Readline(file)) token = parser.GetToken();
    EXPECT_EQ(token, c.nextToken) << c.section;
  }
}

// Lines, then a read failure on every later read.
class BrokenLineSource final : public LineSource {
 public:
  explicit BrokenLineSource(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  ReadStatus ReadLine(std::string& line, RunError& error) override {
    if (next_ < lines_.size()) {
      line = lines_[next_++];
      return ReadStatus::Line;
    }
    error = RunError::FromNumber(errnum::kDeviceIOError);
    return ReadStatus::Failed;
  }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

TEST(FringeSection, AReadFailureKeepsWhatWasRead) {
  ScriptedMessageService messages;
  ScopedMessageService scope(messages);
  messages.QueueAnswer(idbutton::kAbort);
  BrokenLineSource file({"Order, 3 ", "NumTicks, 2 ", "Center, 1, 2"});
  clsParser parser;
  clsFringes store = MakeStore({8});
  EXPECT_EQ(store.LoadFromFile(file, parser), FringeLoadResult::Truncated);
  EXPECT_EQ(OrdersOf(store), (std::vector<std::int32_t>{3}));
  EXPECT_EQ(store.TotalNumTicks(), 1);
  EXPECT_EQ(messages.Messages().size(), 1u);
}

}  // namespace
}  // namespace orvale
