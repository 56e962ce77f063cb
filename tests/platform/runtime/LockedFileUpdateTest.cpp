// The locked read-change-write that settings and profile files share between running
// copies of the program and the libraries: no change lost, nothing left beside the file,
// and no folder made for it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/LockedFileUpdate.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

class LockedFileUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("orvale-locked-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::vector<std::string> Names(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  static bool AddLine(const fs::path& file, const std::string& line) {
    return UpdateFileLocked(file, [&line](std::string& text) {
      text += line + "\n";
      return true;
    });
  }
  static std::string LineOf(int process, int i) {
    return "P" + std::to_string(process) + "-" + std::to_string(i);
  }
  // kProcesses processes at once each add kLinesEach lines, process p to fileOf(p); every
  // update must succeed.
  static void AddLinesFromProcesses(const std::function<fs::path(int process)>& fileOf) {
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        int failures = 0;
        for (int i = 0; i < kLinesEach; ++i) {
          if (!AddLine(fileOf(p), LineOf(p, i))) ++failures;
        }
        ::_exit(failures == 0 ? 0 : 1);
      }
      children.push_back(child);
    }
    for (const pid_t child : children) {
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
  }
  static constexpr int kProcesses = 4;
  static constexpr int kLinesEach = 30;
  fs::path folder_;
};

TEST_F(LockedFileUpdateTest, SeveralProcessesLoseNoChangeAndLeaveOnlyTheFile) {
  const fs::path file = folder_ / "Shared.ini";
  AddLinesFromProcesses([&file](int) { return file; });
  std::string text;
  ASSERT_TRUE(ReadWholeFile(file, text));
  for (int p = 0; p < kProcesses; ++p) {
    for (int i = 0; i < kLinesEach; ++i) {
      EXPECT_NE(text.find(LineOf(p, i) + "\n"), std::string::npos) << LineOf(p, i);
    }
  }
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kProcesses * kLinesEach);
  EXPECT_EQ(Names(folder_), std::vector<std::string>{"Shared.ini"});
}

TEST_F(LockedFileUpdateTest, WritersThroughALinkAndTheFileItselfTakeTurns) {
  fs::create_directories(folder_ / "cfg");
  fs::create_directories(folder_ / "kept");
  const fs::path file = folder_ / "kept" / "Shared.ini";
  const fs::path link = folder_ / "cfg" / "Shared.ini";
  fs::create_symlink("../kept/Shared.ini", link);
  AddLinesFromProcesses([&](int p) { return p % 2 == 0 ? file : link; });
  std::string text;
  ASSERT_TRUE(ReadWholeFile(file, text));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kProcesses * kLinesEach);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Names(folder_ / "kept"), std::vector<std::string>{"Shared.ini"});
  EXPECT_EQ(Names(folder_ / "cfg"), std::vector<std::string>{"Shared.ini"});
}

TEST_F(LockedFileUpdateTest, AFileInAMissingFolderIsNotWrittenAndNoFolderIsMade) {
  const fs::path missing = folder_ / "no" / "such";
  EXPECT_FALSE(AddLine(missing / "x.ini", "line"));
  EXPECT_FALSE(fs::exists(folder_ / "no"));
  EXPECT_TRUE(Names(folder_).empty());
}

TEST_F(LockedFileUpdateTest, AnUnchangedFileIsNotWrittenAndLeavesNothingBehind) {
  const fs::path file = folder_ / "Quiet.ini";
  EXPECT_TRUE(UpdateFileLocked(file, [](std::string&) { return true; }));
  EXPECT_FALSE(UpdateFileLocked(file, [](std::string&) { return false; }));
  EXPECT_TRUE(Names(folder_).empty());
}

}  // namespace
}  // namespace orvale
