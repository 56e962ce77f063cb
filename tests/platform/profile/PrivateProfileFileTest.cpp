#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/profile/PrivateProfile.h"
#include "platform/runtime/TextOutput.h"
#include "tests/support/BoundedChild.h"
#include "tests/support/FileHead.h"
#include "tests/support/OtherUserProcess.h"
#include "tests/support/TempConfigHome.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(PrivateProfileFileTest, BareNamesLiveInTheConfigFolderAndPathsWhereTheySay) {
  testing::TempConfigHome home;
  PrivateProfile profile;
  EXPECT_EQ(profile.Resolve("krg.ini"), home.Folder() / "Halvern" / "krg.ini");
  ASSERT_TRUE(profile.WriteString("Board", "Latency", "16", "krg.ini"));
  EXPECT_EQ(Slurp(home.Folder() / "Halvern" / "krg.ini"), "[Board]\r\nLatency=16\r\n");

  const fs::path elsewhere = home.Folder() / "sub" / "own.ini";
  fs::create_directories(elsewhere.parent_path());
  ASSERT_TRUE(profile.WriteString("S", "K", "v", elsewhere.c_str()));
  EXPECT_EQ(Slurp(elsewhere), "[S]\r\nK=v\r\n");

  // A root of our own, as the card libraries' tests set it.
  profile.SetRoot(home.Folder() / "windows");
  char value[8];
  EXPECT_EQ(profile.GetString("Board", "Latency", "-1", value, sizeof value, "krg.ini"), 2u);
  EXPECT_STREQ(value, "-1");
  ASSERT_TRUE(profile.WriteString("Board", "Latency", "8", "krg.ini"));
  EXPECT_EQ(profile.GetString("Board", "Latency", "-1", value, sizeof value, "krg.ini"), 1u);
  EXPECT_STREQ(value, "8");
  EXPECT_TRUE(fs::exists(home.Folder() / "windows" / "krg.ini"));
}

// As the profile call: a file whose folder is missing is not written and the folder not
// made. A bare name lives in the stand-in of the Windows folder, which is made when
// missing, as that one always exists.
TEST(PrivateProfileFileTest, AWriteIntoAMissingFolderFailsAndMakesNothing) {
  testing::TempConfigHome home;
  PrivateProfile profile;
  const fs::path missing = home.Folder() / "gone" / "deeper";
  const std::string file = (missing / "own.ini").string();
  EXPECT_FALSE(profile.WriteString("S", "K", "v", file.c_str()));
  const std::vector<ProfileEntry> batch = {{"K", "v"}};
  EXPECT_FALSE(profile.WriteSection("S", batch, file));
  EXPECT_FALSE(profile.WriteString("S", nullptr, nullptr, file.c_str()));
  EXPECT_FALSE(fs::exists(home.Folder() / "gone"));

  ASSERT_FALSE(fs::exists(home.Folder() / "Halvern"));
  EXPECT_TRUE(profile.WriteString("S", "K", "v", "bare.ini"));
  EXPECT_EQ(Slurp(home.Folder() / "Halvern" / "bare.ini"), "[S]\r\nK=v\r\n");
}

// Every kind of write leaves the file alone in its folder: no lock or temporary file.
TEST(PrivateProfileFileTest, WritesLeaveNothingBesideTheFile) {
  testing::TempConfigHome home;
  PrivateProfile profile;
  ASSERT_TRUE(profile.WriteString("S", "K", "v", "krg.ini"));
  ASSERT_TRUE(profile.WriteSection("T", std::vector<ProfileEntry>{{"A", "1"}, {"B", "2"}}, "krg.ini"));
  ASSERT_TRUE(profile.WriteString("S", "K", nullptr, "krg.ini"));
  ASSERT_TRUE(profile.WriteString("T", nullptr, nullptr, "krg.ini"));
  const fs::path own = home.Folder() / "own.ini";
  ASSERT_TRUE(profile.WriteString("S", "K", "v", own.c_str()));
  std::vector<std::string> names;
  for (const fs::path& folder : {home.Folder(), home.Folder() / "Halvern"}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Halvern", "krg.ini", "own.ini"}));
}

TEST(PrivateProfileFileTest, AFileThatCannotBeReadGivesDefaultsAndIsNeverOverwritten) {
  testing::TempConfigHome home;
  PrivateProfile profile;
  profile.SetRoot(home.Folder());
  fs::create_directories(home.Folder() / "dir.ini");  // a folder where the file should be
  char value[8];
  EXPECT_EQ(profile.GetString("S", "K", "d", value, sizeof value, "dir.ini"), 1u);
  EXPECT_FALSE(profile.WriteString("S", "K", "v", "dir.ini"));
  EXPECT_TRUE(fs::is_directory(home.Folder() / "dir.ini"));
}

// Files no profile file is: one of 2 GB (mostly a hole) is not read whole, and
// /proc/kmsg, whose read waits for the kernel's next message, is not waited for. Both
// read as missing and are never written over.
TEST(PrivateProfileFileTest, AFileTooLargeOrBlockingGivesDefaultsAtOnceAndIsNeverWritten) {
  testing::TempConfigHome home;
  const fs::path large = home.Folder() / "large.ini";
  std::ofstream(large, std::ios::binary) << "[S]\r\nK=stored\r\n";
  fs::resize_file(large, std::uintmax_t{2} << 30);
  std::vector<fs::path> files = {large};
  if (::access("/proc/kmsg", R_OK) == 0) {
    fs::create_symlink("/proc/kmsg", home.Folder() / "kmsg.ini");
    files.push_back(home.Folder() / "kmsg.ini");
  } else {
    std::printf("/proc/kmsg is not readable here (it needs root): only the large file is tried\n");
  }
  for (const fs::path& file : files) {
    SCOPED_TRACE(file);
    EXPECT_TRUE(testing::RunsWithinBounds([&file] {
      PrivateProfile profile;
      char value[8];
      if (profile.GetString("S", "K", "d", value, sizeof value, file.c_str()) != 1u) throw 1;
      if (profile.WriteString("S", "K", "v", file.c_str())) throw 2;
    }));
  }
  EXPECT_EQ(fs::file_size(large), std::uintmax_t{2} << 30);
  EXPECT_EQ(testing::FileHead(large, 15), "[S]\r\nK=stored\r\n");
}

// Listing the keys or sections of a large file takes one pass, however many there are.
TEST(PrivateProfileFileTest, ListingTheNamesOfALargeFileFinishes) {
  testing::TempConfigHome home;
  const fs::path file = home.Folder() / "many.ini";
  {
    std::ofstream out(file, std::ios::binary);
    out << "[Keys]\r\n";
    for (int i = 0; i < 100000; ++i) out << "Key" << i << "=v\r\n";
    for (int i = 0; i < 100000; ++i) out << "[S" << i << "]\r\nK=v\r\n";
  }
  EXPECT_TRUE(testing::RunsWithinBounds(
      [&file] {
        PrivateProfile profile;
        if (profile.SectionNames(file.c_str()).size() != 100001u) throw 1;
        if (profile.KeyNames("keys", file.c_str()).size() != 100000u) throw 2;
      },
      std::size_t{1} << 30));
}

TEST(PrivateProfileFileTest, AFailedSectionWriteLeavesTheFileAsItWas) {
  testing::TempConfigHome home;
  PrivateProfile profile;
  ASSERT_TRUE(profile.WriteString("Config", "SignalType", "1", "zelvo.ini"));
  const std::string before = Slurp(profile.Resolve("zelvo.ini"));
  const std::vector<ProfileEntry> batch = {{"SignalType", "2"}, {"Contrast", "128"}};
  {
    const AtomicWriteFailure fullDisk(AtomicWriteFailure::At::Write, 10);
    EXPECT_FALSE(profile.WriteSection("Config", batch, "zelvo.ini"));
  }
  EXPECT_EQ(Slurp(profile.Resolve("zelvo.ini")), before);
  EXPECT_TRUE(profile.WriteSection("Config", batch, "zelvo.ini"));
  EXPECT_EQ(profile.Value("Config", "Contrast", "zelvo.ini"), "128");
}

TEST(PrivateProfileFileTest, WritersInSeveralThreadsLoseNoValue) {
  testing::TempConfigHome home;
  PrivateProfile profile;
  constexpr int kThreads = 2;
  constexpr int kKeys = 20;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&profile, t] {
      for (int k = 0; k < kKeys; ++k) {
        const std::string key = "T" + std::to_string(t) + "K" + std::to_string(k);
        EXPECT_TRUE(profile.WriteString("Shared", key.c_str(), "x", "shared.ini"));
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(profile.KeyNames("Shared", "shared.ini").size(),
            static_cast<std::size_t>(kThreads * kKeys));
}

// In a folder another user may write, a symbolic link of theirs is not followed by a
// write: root's profile write through it fails, and the file it names (a copy of
// /etc/passwd here) is left as it was. Root's own link there, and another user's link in a
// folder only root may write, are followed as ever.
TEST(PrivateProfileFileTest, ALinkOfAnotherUserInAFolderTheyMayWriteIsNotFollowed) {
  if (!testing::CanActAsOtherUser()) GTEST_SKIP() << testing::kNeedsAnotherUser;
  testing::TempConfigHome home;
  PrivateProfile profile;
  const fs::path victim = home.Folder() / "passwd";
  const std::string accounts = "root:x:0:0:root:/root:/bin/sh\n";
  struct Case {
    const char* what;
    mode_t mode;
    bool folderOfTheirs;
    bool linkOfTheirs;
    bool followed;
  };
  const Case cases[] = {
      {"a folder of another user", 0755, true, true, false},
      {"a folder every user may write", 0777, false, true, false},
      {"a sticky folder every user may write", 01777, false, true, false},
      {"root's own link in a folder every user may write", 0777, false, false, true},
      {"another user's link in a folder only root may write", 0755, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path folder = home.Folder() / "settings";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ASSERT_EQ(::chmod(folder.c_str(), c.mode), 0);
    if (c.folderOfTheirs) {
      ASSERT_EQ(::chown(folder.c_str(), testing::kOtherUser, testing::kOtherGroup), 0);
    }
    std::ofstream(victim, std::ios::binary) << accounts;
    const fs::path link = folder / "cam.ini";
    if (c.linkOfTheirs && (c.folderOfTheirs || (c.mode & S_IWOTH))) {
      ASSERT_TRUE(testing::RunAsOtherUser({"ln", "-s", victim.string(), link.string()}));
    } else {
      fs::create_symlink(victim, link);
      if (c.linkOfTheirs) {
        ASSERT_EQ(::lchown(link.c_str(), testing::kOtherUser, testing::kOtherGroup), 0);
      }
    }
    EXPECT_EQ(profile.WriteString("Camera", "Gain", "7", link.c_str()), c.followed);
    EXPECT_TRUE(fs::is_symlink(link));
    if (c.followed) {
      EXPECT_NE(Slurp(victim).find("[Camera]\r\nGain=7\r\n"), std::string::npos);
    } else {
      EXPECT_EQ(Slurp(victim), accounts);
    }
  }
}

}  // namespace
}  // namespace orvale
