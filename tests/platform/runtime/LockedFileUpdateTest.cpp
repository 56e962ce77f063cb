// The locked read-change-write that settings and profile files share between running
// copies of the program and the libraries: no change lost, nothing left beside the file,
// and no folder made for it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/LockedFileUpdate.h"
#include "tests/support/FileNearTheLimit.h"

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
  // Saves `text` as an editor does: a new file renamed over the old one.
  static void SaveAsAnEditorDoes(const fs::path& file, const std::string& text) {
    const fs::path saved = file.string() + "~edit";
    std::ofstream(saved, std::ios::binary) << text;
    fs::rename(saved, file);
  }
  static std::string Text(const fs::path& file) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(file, text));
    return text;
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

// An editor takes no lock: what it saves while a change is being written is read again,
// and the change made to it, so that neither is lost.
TEST_F(LockedFileUpdateTest, AnEditorsSaveDuringAnUpdateIsKeptWithTheChange) {
  const fs::path file = folder_ / "Shared.ini";
  std::ofstream(file, std::ios::binary) << "first\n";
  int saves = 0;
  const FileUpdateInterference editor([&saves](const fs::path& target) {
    if (saves++ == 0) SaveAsAnEditorDoes(target, "first\nedited\n");
  });
  std::vector<std::string> edited;
  EXPECT_TRUE(UpdateFileLocked(file, [&edited](std::string& text) {
    edited.push_back(text);
    text += "changed\n";
    return true;
  }));
  EXPECT_EQ(edited, (std::vector<std::string>{"first\n", "first\nedited\n"}));
  EXPECT_EQ(Text(file), "first\nedited\nchanged\n");
  EXPECT_EQ(Names(folder_), std::vector<std::string>{"Shared.ini"});
}

// A file rewritten without pause is left to whoever keeps writing it, with a reason.
TEST_F(LockedFileUpdateTest, AFileThatKeepsChangingIsLeftAsItsWriterLeftIt) {
  const fs::path file = folder_ / "Shared.ini";
  std::ofstream(file, std::ios::binary) << "first\n";
  int saves = 0;
  const FileUpdateInterference editor([&saves](const fs::path& target) {
    SaveAsAnEditorDoes(target, "save " + std::to_string(++saves) + "\n");
  });
  RunError error;
  EXPECT_FALSE(UpdateFileLocked(file, [](std::string& text) {
    text += "changed\n";
    return true;
  }, &error));
  EXPECT_NE(error.Description.find("another program keeps changing it"), std::string::npos)
      << error.Description;
  EXPECT_EQ(Text(file), "save " + std::to_string(saves) + "\n");
  EXPECT_EQ(Names(folder_), std::vector<std::string>{"Shared.ini"});
}

// The limit holds for what is written, line ends and all: a file just under it that a
// change would take past it is refused as too large and stays as it was.
TEST_F(LockedFileUpdateTest, AChangeIsWrittenUpToTheLimitAndRefusedPastIt) {
  const fs::path file = folder_ / "Shared.ini";
  const std::string original = testing::LfTextOneByteUnderTheLimit();
  struct Case {
    std::size_t added;
    bool written;
  };
  for (const Case c : {Case{2, false}, Case{1, true}}) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << original;
    RunError error;
    const bool done = UpdateFileLocked(file, [&c](std::string& text) {
      text.append(c.added, 'x');
      return true;
    }, &error);
    EXPECT_EQ(done, c.written) << c.added;
    const std::string now = Text(file);
    EXPECT_EQ(now.size(), original.size() + (c.written ? c.added : 0)) << c.added;
    if (c.written) continue;
    EXPECT_TRUE(now == original);
    EXPECT_NE(error.Description.find("Invalid file format: larger than 16 MB"), std::string::npos)
        << error.Description;
    EXPECT_EQ(Names(folder_), std::vector<std::string>{"Shared.ini"});
  }
}

// A file that still has the identity a caller kept is not read: the kept text stands for
// it. Any other state of the file is read.
TEST_F(LockedFileUpdateTest, AKeptTextStandsForTheFileOnlyWhileItKeepsItsIdentity) {
  const fs::path file = folder_ / "Shared.ini";
  std::ofstream(file, std::ios::binary) << "on disk\n";
  const std::string keptText = "kept\n";
  const std::optional<FileIdentity> now = FileIdentity::Of(file);
  ASSERT_TRUE(now);
  FileIdentity other = *now;
  other.Size += 1;
  struct Case {
    FileIdentity identity;
    const char* seen;
  };
  for (const Case& c : {Case{*now, "kept\n"}, Case{other, "on disk\n"}}) {
    const KeptFileText kept{c.identity, &keptText};
    std::string seen;
    EXPECT_TRUE(UpdateFileLocked(file, [&seen](std::string& text) {
      seen = text;
      return true;
    }, nullptr, nullptr, &kept));
    EXPECT_EQ(seen, c.seen);
  }
}

}  // namespace
}  // namespace orvale
