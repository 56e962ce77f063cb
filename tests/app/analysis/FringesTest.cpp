#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "app/analysis/clsFringes.h"
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

std::vector<FringePoint> PointsAt(const clsFringes& store, std::int32_t index) {
  std::vector<FringePoint> points;
  std::int32_t idx = index;
  const std::int32_t n = store.GetNumTicks(0, idx);
  for (std::int32_t t = 1; t <= n; ++t) {
    FringePoint p;
    store.GetCenter(0, t, p.X, p.Y, idx);
    points.push_back(p);
  }
  return points;
}

std::vector<double> XsAt(const clsFringes& store, std::int32_t index) {
  std::vector<double> xs;
  for (const FringePoint& p : PointsAt(store, index)) xs.push_back(p.X);
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
  EXPECT_EQ(PointsAt(store, 1)[1].X, 2.0);
  EXPECT_EQ(PointsAt(store, 1)[1].Y, 102.0);
  store.HalfFringeData();
  EXPECT_EQ(PointsAt(store, 1)[1].X, 1.0);
  EXPECT_EQ(PointsAt(store, 1)[1].Y, 51.0);
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

TEST(FringeSection, WritesTheDescribedForms) {
  clsFringes store;
  Buffers a;
  a.Add(12.5, 40);
  a.Add(-0.25, 1E+20);
  store.InsertOrder(3, 2, a.x, a.y);
  store.AddOrder(12);
  StringTextOutput out;
  ASSERT_TRUE(store.SaveToFile(out));
  EXPECT_EQ(out.Text(),
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
  StringTextOutput out;
  ASSERT_TRUE(store.SaveToFile(out));
  EXPECT_EQ(out.Text(),
            "Fringes\r\nNumFringes, 2 \r\n"
            "Order, 1 \r\nNumTicks, 2 \r\nCenter, 101, 1\r\nCenter, 201, 1\r\n"
            "Order, 3 \r\nNumTicks, 1 \r\nCenter, 301, 1\r\n"
            "EndFringes\r\n");
}

// Fails the writes whose numbers (from 1) are listed, each once.
class FailingOutput final : public TextOutput {
 public:
  explicit FailingOutput(std::vector<int> failing) : failing_(std::move(failing)) {}
  bool Write(std::string_view text, RunError& error) override {
    ++writes_;
    for (int& n : failing_) {
      if (n == writes_) {
        n = 0;
        error = RunError::FromNumber(errnum::kDiskFull);
        return false;
      }
    }
    text_ += text;
    return true;
  }
  const std::string& Text() const { return text_; }

 private:
  std::vector<int> failing_;
  int writes_ = 0;
  std::string text_;
};

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
    FailingOutput out({3});  // the "Order" line
    EXPECT_EQ(store.SaveToFile(out), c.result) << c.what;
    EXPECT_EQ(out.Text(), c.text) << c.what;
    ASSERT_EQ(messages.Messages().size(), 1u) << c.what;
    EXPECT_EQ(messages.Messages()[0].title, "Error");
  }
}

}  // namespace
}  // namespace orvale
