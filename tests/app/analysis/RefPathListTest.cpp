#include <gtest/gtest.h>

#include "app/analysis/RefPathList.h"

namespace orvale {
namespace {

TEST(RefPathList, NewListHoldsOnlyNone) {
  clsRefPath list;
  EXPECT_EQ(list.GetItem(0), "none");
  EXPECT_EQ(list.GetItem(1), "");
  EXPECT_EQ(list.GetItem(-1), "");
}

TEST(RefPathList, AddRemoveAndReplace) {
  clsRefPath list;
  list.AddItem("/refs/a.zrn");
  list.AddItem("/refs/b.zrn");
  list.AddItem("Custom");
  list.RemoveItem(1);
  EXPECT_EQ(list.GetItem(1), "/refs/b.zrn");
  EXPECT_EQ(list.GetItem(2), "Custom");
  EXPECT_EQ(list.GetItem(3), "");
  list.SetItem(2, "/refs/c.zrn");
  EXPECT_EQ(list.GetItem(2), "/refs/c.zrn");
  list.AddItem("/refs/d.zrn");
  EXPECT_EQ(list.GetItem(3), "/refs/d.zrn");
}

TEST(RefPathList, EntryZeroAndMissingEntriesAreLeftAlone) {
  clsRefPath list;
  list.AddItem("/refs/a.zrn");
  for (int i : {0, 2, -1}) {
    list.SetItem(i, "changed");
    list.RemoveItem(i);
  }
  EXPECT_EQ(list.GetItem(0), "none");
  EXPECT_EQ(list.GetItem(1), "/refs/a.zrn");
  EXPECT_EQ(list.GetItem(2), "");
}

}  // namespace
}  // namespace orvale
