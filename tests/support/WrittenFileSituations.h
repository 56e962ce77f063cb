#pragma once
// Files as users keep them, written by every writer: an ordinary file, a file with a
// second hard link, a read-only file, another user's file written by root, a file with
// extended attributes, and a symbolic link. Each situation is made afresh in a folder of
// its own, which is the current folder while the writer writes "./name"; afterwards:
//   - what may be written holds the new text (and, for writers that change only a part of
//     a file, the old one beside it), with its owner, group, mode, attributes and every
//     name it had, and nothing is left beside it;
//   - a read-only file is not written: the write fails and the folder is as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/LinkedFileLayouts.h"

namespace orvale::testing {

struct FileSituation {
  const char* name;
  bool rootOnly;
  // Makes the situation around the file `file` (which holds kKeptText); false when this
  // system cannot make it.
  std::function<bool(const std::filesystem::path& file)> make;
  bool written;  // whether the write must succeed
  // Further checks of the file afterwards, given its status before.
  std::function<void(const std::filesystem::path& file, const struct stat& before)> check;
};

inline std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline struct stat StatusOf(const std::filesystem::path& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
  return st;
}

inline const std::vector<FileSituation>& FileSituations() {
  namespace fs = std::filesystem;
  static const std::vector<FileSituation> situations = {
      {"OrdinaryFile", false,
       [](const fs::path& file) { return ::chmod(file.c_str(), 0640) == 0; }, true,
       [](const fs::path& file, const struct stat&) { EXPECT_EQ(StatusOf(file).st_mode & 07777, 0640u); }},
      {"SecondHardLink", false,
       [](const fs::path& file) {
         fs::create_hard_link(file, file.parent_path() / "second-name");
         return true;
       },
       true,
       [](const fs::path& file, const struct stat& before) {
         const struct stat after = StatusOf(file);
         EXPECT_EQ(after.st_ino, before.st_ino);
         EXPECT_EQ(after.st_nlink, 2u);
         EXPECT_EQ(FileText(file.parent_path() / "second-name"), FileText(file));
       }},
      {"ReadOnlyFile", false, [](const fs::path& file) { return ::chmod(file.c_str(), 0444) == 0; }, false,
       [](const fs::path& file, const struct stat&) { EXPECT_EQ(StatusOf(file).st_mode & 07777, 0444u); }},
      {"AnotherUsersFileWrittenByRoot", true,
       [](const fs::path& file) { return ::chown(file.c_str(), 65534, 65534) == 0 && ::chmod(file.c_str(), 0644) == 0; },
       true,
       [](const fs::path& file, const struct stat&) {
         const struct stat after = StatusOf(file);
         EXPECT_EQ(after.st_uid, 65534u);
         EXPECT_EQ(after.st_gid, 65534u);
         EXPECT_EQ(after.st_mode & 07777, 0644u);
       }},
      {"ExtendedAttributes", false,
       [](const fs::path& file) { return ::setxattr(file.c_str(), "user.orvale", "kept", 4, 0) == 0; }, true,
       [](const fs::path& file, const struct stat&) {
         char value[8] = {};
         EXPECT_EQ(::getxattr(file.c_str(), "user.orvale", value, sizeof value), 4);
         EXPECT_EQ(std::string(value), "kept");
       }},
      {"SymbolicLink", false,
       [](const fs::path& file) {
         fs::rename(file, file.parent_path() / "named");
         fs::create_symlink("named", file);
         return true;
       },
       true,
       [](const fs::path& file, const struct stat&) {
         EXPECT_TRUE(fs::is_symlink(file));
         EXPECT_EQ(fs::read_symlink(file), "named");
       }},
  };
  return situations;
}

// Runs `write` (given "./name", in the current folder) in every situation; a file
// written then holds `written`, and kKeptText too when the writer `keepsOtherText`.
inline void ExpectWritesInEveryFileSituation(const std::string& name,
                                             const std::function<bool(const char* file)>& write,
                                             const std::string& written, bool keepsOtherText = true) {
  namespace fs = std::filesystem;
  static int made = 0;
  const fs::path root =
      fs::temp_directory_path() / ("orvale-situations-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
  const fs::path before = fs::current_path();
  for (const FileSituation& situation : FileSituations()) {
    SCOPED_TRACE(situation.name);
    if (situation.rootOnly && ::geteuid() != 0) {
      std::printf("%s skipped: it needs root\n", situation.name);
      continue;
    }
    fs::remove_all(root);
    fs::create_directories(root);
    const fs::path file = root / name;
    std::ofstream(file, std::ios::binary) << kKeptText;
    if (!situation.make(file)) {
      std::printf("%s skipped: this system cannot make it\n", situation.name);
      continue;
    }
    const struct stat status = StatusOf(file);
    const auto old = FolderSnapshot(root);

    fs::current_path(root);
    const bool done = write(("./" + name).c_str());  // with a folder: a profile's bare name lives elsewhere
    fs::current_path(before);

    if (!situation.written) {
      EXPECT_FALSE(done);
      EXPECT_EQ(FolderSnapshot(root), old);
    } else {
      EXPECT_TRUE(done);
      const std::string text = FileText(file);
      EXPECT_NE(text.find(written), std::string::npos) << text;
      if (keepsOtherText) {
        EXPECT_NE(text.find("Kept=1"), std::string::npos) << text;
      }
      const auto now = FolderSnapshot(root);
      for (const auto& [entry, was] : old) {
        EXPECT_TRUE(now.count(entry)) << entry << " went";
      }
      for (const auto& [entry, is] : now) {
        EXPECT_EQ(entry.find(".tmp-"), std::string::npos) << entry << " was left";
      }
    }
    situation.check(file, status);
    ::chmod(file.c_str(), 0644);
  }
  fs::remove_all(root);
}

}  // namespace orvale::testing
