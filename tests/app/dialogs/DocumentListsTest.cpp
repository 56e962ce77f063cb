#include "app/dialogs/DocumentLists.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvale {
namespace {

using Entries = std::vector<ListedDocument>;

TEST(AverageListsTest, EntriesAreKeyedBySlotAndFollowRenames) {
  AverageLists lists;
  lists.Enter(3, "scan.jpg");
  lists.Enter(5, "other.jpg");
  EXPECT_TRUE(lists.Include(3, "scan.jpg"));
  EXPECT_FALSE(lists.Include(3, "scan.jpg"));  // "Add All" and then the arrow: once

  // A save renamed the document: both lists show the new name, nothing is appended.
  lists.Enter(3, "scan.bmp");
  EXPECT_EQ(lists.Available(), (Entries{{3, "scan.bmp"}, {5, "other.jpg"}}));
  EXPECT_EQ(lists.Included(), (Entries{{3, "scan.bmp"}}));

  // A closed document leaves both lists; a later one in its slot is a new entry.
  lists.Remove(3);
  EXPECT_EQ(lists.Available(), (Entries{{5, "other.jpg"}}));
  EXPECT_TRUE(lists.Included().empty());
  lists.Enter(3, "new.jpg");
  EXPECT_EQ(lists.Available(), (Entries{{5, "other.jpg"}, {3, "new.jpg"}}));
  EXPECT_TRUE(lists.Included().empty());
}

TEST(AverageListsTest, ExcludingTakesTheChosenRowsInAnyOrder) {
  struct Case {
    std::vector<int> rows;
    std::vector<std::int32_t> left;
  };
  const Case cases[] = {
      {{0}, {2, 3, 4}},    {{3, 1}, {1, 3}},     {{1, 3}, {1, 3}},
      {{0, 0}, {2, 3, 4}}, {{-1, 7}, {1, 2, 3, 4}}, {{0, 1, 2, 3}, {}},
  };
  for (const Case& c : cases) {
    AverageLists lists;
    for (std::int32_t slot = 1; slot <= 4; ++slot) lists.Include(slot, "d" + std::to_string(slot));
    lists.Exclude(c.rows);
    EXPECT_EQ(lists.IncludedSlots(), c.left) << ::testing::PrintToString(c.rows);
  }
  AverageLists lists;
  lists.Include(1, "a");
  lists.ClearIncluded();
  EXPECT_TRUE(lists.Included().empty());
}

TEST(CombineChoicesTest, StartsWithNoneAndAddAndKeepsSelectionsOnTheirDocuments) {
  CombineChoices choices;
  EXPECT_EQ(choices.Entries(), (Entries{{0, "None"}}));
  EXPECT_EQ(choices.FirstSlot(), 0);
  EXPECT_EQ(choices.SecondSlot(), 0);
  EXPECT_EQ(choices.Operation(), 0);

  choices.Enter(4, "a.jpg");
  choices.Enter(7, "b.jpg");
  choices.Enter(9, "c.jpg");
  choices.SelectFirst(3);   // c.jpg
  choices.SelectSecond(2);  // b.jpg
  choices.SelectOperation(1);
  choices.SelectFirst(8);   // outside: ignored
  choices.SelectOperation(2);
  EXPECT_EQ(choices.FirstSlot(), 9);
  EXPECT_EQ(choices.Operation(), 1);

  // An entry above the selections goes: they stay on their documents.
  choices.Remove(4);
  EXPECT_EQ(choices.FirstSlot(), 9);
  EXPECT_EQ(choices.SecondSlot(), 7);
  // The selected one goes: that list shows "None".
  choices.Remove(9);
  EXPECT_EQ(choices.First(), 0);
  EXPECT_EQ(choices.SecondSlot(), 7);
  choices.Enter(7, "b.bmp");
  EXPECT_EQ(choices.Entries(), (Entries{{0, "None"}, {7, "b.bmp"}}));
  choices.Remove(0);  // "None" stays
  EXPECT_EQ(choices.Entries().size(), 2u);
  choices.SelectDefaults();
  EXPECT_EQ(choices.First() + choices.Second() + choices.Operation(), 0);
}

}  // namespace
}  // namespace orvale
