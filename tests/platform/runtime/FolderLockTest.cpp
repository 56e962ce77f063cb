// Anyone who may open a folder may hold its lock: a writer waits a few seconds for it and
// then fails with the reason, losing nothing, and a reader reads without it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/runtime/LockedFileUpdate.h"
#include "tests/support/BoundedChild.h"
#include "tests/support/OtherUserProcess.h"
#include "tests/support/WrittenFileSituations.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

// Another user (this user in a process of its own, where the test cannot act as one)
// holds the settings folder's lock, as `flock -x <folder> sleep 600` would, until the
// test ends.
TEST(FolderLockTest, ALockAnotherProgramKeepsFailsTheWriteWithTheReasonAndTheReadStillReads) {
  const bool otherUser = testing::CanActAsOtherUser();
  if (!otherUser) std::printf("the lock is held by this user in another process: %s\n", testing::kNeedsAnotherUser);
  const fs::path folder = fs::temp_directory_path() / ("orvale-locked-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  ::chmod(folder.c_str(), 0755);
  const fs::path file = folder / "Orvale.ini";
  std::ofstream(file, std::ios::binary) << "[CurrentVersion]\r\nA=1\r\n";

  testing::OtherUserProcess holder({"flock", "-x", folder.string(), "sh", "-c", "echo held; exec cat"}, otherUser);
  ASSERT_TRUE(holder.Started());
  ASSERT_EQ(holder.ReadLine(), "held");

  // Bounded far beyond the lock's own wait, only so that a writer that waited for ever
  // fails the test instead of hanging it.
  EXPECT_TRUE(testing::RunsWithinBounds(
      [&file] {
        RunError error;
        const bool written = UpdateFileLocked(
            file,
            [](std::string& text) {
              text += "B=2\r\n";
              return true;
            },
            &error);
        if (written) throw 1;
        if (error.Description != "Path/File access error: " + file.string() + " is locked by another program") {
          std::fprintf(stderr, "%s\n", error.Description.c_str());
          throw 2;
        }
        std::string text;
        if (!ReadWholeFile(file, text) || text != "[CurrentVersion]\r\nA=1\r\n") throw 3;
      },
      std::size_t{256} << 20, 60));
  EXPECT_EQ(testing::FileText(file), "[CurrentVersion]\r\nA=1\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

  holder.Wait();  // its end lets the lock go
  ASSERT_TRUE(UpdateFileLocked(file, [](std::string& text) {
    text += "B=2\r\n";
    return true;
  }));
  EXPECT_EQ(testing::FileText(file), "[CurrentVersion]\r\nA=1\r\nB=2\r\n");
  fs::remove_all(folder);
}

}  // namespace
}  // namespace orvale
