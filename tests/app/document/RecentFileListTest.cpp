#include <gtest/gtest.h>

#include "app/document/RecentFileList.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"

namespace orvale {
namespace {

class RecentFileListTest : public ::testing::Test {
 protected:
  std::vector<std::string> Shown() const {
    std::vector<std::string> paths;
    for (int k = 0; k < list_.NumRecentFiles(); ++k) {
      EXPECT_TRUE(menu_.Visible(k));
      paths.push_back(list_.Path(k));
    }
    for (int k = list_.NumRecentFiles(); k < kRecentFileEntries; ++k)
      EXPECT_FALSE(menu_.Visible(k));
    EXPECT_EQ(menu_.SeparatorVisible(), list_.NumRecentFiles() > 0);
    return paths;
  }
  std::string Stored(int number) const {
    return GetSettingString(kRecentFileSection, "File" + std::to_string(number), "");
  }

  MemorySettingsStore store_;
  ScopedSettingsStore installed_{store_};
  MemoryRecentFileMenu menu_;
  RecentFileList list_{menu_};
};

using Paths = std::vector<std::string>;

TEST_F(RecentFileListTest, KeepsTheFourMostRecentNewestFirst) {
  for (const char* path : {"/d/a.ovd", "/d/b.bmp", "c.jpg", "/e/d.ovd"}) list_.AddRecentFile(path);
  EXPECT_EQ(Shown(), (Paths{"/e/d.ovd", "c.jpg", "/d/b.bmp", "/d/a.ovd"}));
  EXPECT_EQ(menu_.Caption(2), "b.bmp");
  EXPECT_EQ(menu_.Tag(2), "/d");

  list_.AddRecentFile("/f/e.ovd");  // a fifth drops the oldest
  EXPECT_EQ(Shown(), (Paths{"/f/e.ovd", "/e/d.ovd", "c.jpg", "/d/b.bmp"}));

  list_.AddRecentFile("/f/e.ovd");  // already first: unchanged
  EXPECT_EQ(Shown(), (Paths{"/f/e.ovd", "/e/d.ovd", "c.jpg", "/d/b.bmp"}));

  list_.AddRecentFile("c.jpg");  // re-opened: moves to the top
  EXPECT_EQ(Shown(), (Paths{"c.jpg", "/f/e.ovd", "/e/d.ovd", "/d/b.bmp"}));

  list_.AddRecentFile("/F/e.ovd");  // names are compared as they are
  EXPECT_EQ(Shown(), (Paths{"/F/e.ovd", "c.jpg", "/f/e.ovd", "/e/d.ovd"}));
}

TEST_F(RecentFileListTest, RemovesAnEntryAndHidesTheSeparatorWhenEmpty) {
  list_.AddRecentFile("/d/a.ovd");
  list_.AddRecentFile("/d/b.ovd");
  list_.RemoveRecentFile("/d/x.ovd");  // not there
  EXPECT_EQ(Shown(), (Paths{"/d/b.ovd", "/d/a.ovd"}));
  list_.RemoveRecentFile("/d/b.ovd");
  EXPECT_EQ(Shown(), (Paths{"/d/a.ovd"}));
  list_.RemoveRecentFile("/d/a.ovd");
  EXPECT_EQ(Shown(), Paths{});
}

TEST_F(RecentFileListTest, SavesAndLoadsTheSettingsSection) {
  for (const char* path : {"/d/a.ovd", "/d/b.bmp", "c.jpg"}) list_.AddRecentFile(path);
  list_.SaveRecentFileList();
  EXPECT_EQ(Stored(1), "c.jpg");
  EXPECT_EQ(Stored(2), "/d/b.bmp");
  EXPECT_EQ(Stored(3), "/d/a.ovd");

  MemoryRecentFileMenu menu;
  RecentFileList loaded(menu);
  loaded.LoadRecentFileList();
  EXPECT_EQ(loaded.NumRecentFiles(), 3);
  EXPECT_EQ(loaded.Path(0), "c.jpg");
  EXPECT_EQ(loaded.Path(2), "/d/a.ovd");
  EXPECT_TRUE(menu.SeparatorVisible());

  // A file taken out of the list does not come back at the next start.
  list_.RemoveRecentFile("/d/b.bmp");
  list_.SaveRecentFileList();
  EXPECT_EQ(Stored(2), "/d/a.ovd");
  EXPECT_EQ(Stored(3), "");
}

TEST_F(RecentFileListTest, LoadingStopsAtTheFirstEmptyValue) {
  GetSettingString(kRecentFileSection, "File1", "");  // creates the section
  SaveSettingString(kRecentFileSection, "File1", "/d/a.ovd");
  SaveSettingString(kRecentFileSection, "File3", "/d/c.ovd");
  list_.LoadRecentFileList();
  EXPECT_EQ(Shown(), (Paths{"/d/a.ovd"}));
}

}  // namespace
}  // namespace orvale
