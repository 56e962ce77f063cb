#include <gtest/gtest.h>

#include "DocumentTestSupport.h"
#include "app/document/FilePaths.h"

namespace orvale {
namespace {

TEST(FilePaths, SplitsFolderNameAndExtension) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
    const char* title;
    const char* extension;
  };
  const Case cases[] = {
      {"/data/mirror.ovd", "/data", "mirror.ovd", "mirror", "ovd"},
      {"/data/Photo.JPG", "/data", "Photo.JPG", "Photo", "JPG"},
      {"readme.txt", "", "readme.txt", "readme", "txt"},
      {"/mirror.ovd", "/", "mirror.ovd", "mirror", "ovd"},
      {"/a.b/c", "/a.b", "c", "c", ""},
      {"rel/dir/x.tar.gz", "rel/dir", "x.tar.gz", "x.tar", "gz"},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetFilePath(c.path), c.folder) << c.path;
    EXPECT_EQ(GetFileTitle(c.path, false), c.name) << c.path;
    EXPECT_EQ(GetFileTitle(c.path, true), c.title) << c.path;
    EXPECT_EQ(GetFileExtension(c.path), c.extension) << c.path;
    // Folder and name put together again give the path back.
    if (*c.path) {
      EXPECT_EQ(JoinFilePath(GetFilePath(c.path), GetFileTitle(c.path, false)), c.path);
    }
  }
}

TEST(FilePaths, AnEmptyFolderIsTheCurrentFolderNeverTheRoot) {
  EXPECT_EQ(JoinFilePath("", "mirror.bmp"), "mirror.bmp");
  EXPECT_EQ(JoinFilePath("/data/", "mirror.bmp"), "/data/mirror.bmp");
}

class FileExistsTest : public testing::ScratchFolderTest {};

TEST_F(FileExistsTest, OnlyExistingRegularFilesCount) {
  testing::WriteBytes(Path("a.bmp"), {1, 2});
  EXPECT_TRUE(FileExists(Path("a.bmp").string()));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(Path("missing.bmp").string()));
  EXPECT_FALSE(FileExists(dir_.string()));           // a folder
  EXPECT_FALSE(FileExists(Path("*.bmp").string()));  // a pattern
}

}  // namespace
}  // namespace orvale
