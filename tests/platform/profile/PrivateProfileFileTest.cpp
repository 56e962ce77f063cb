#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/profile/PrivateProfile.h"
#include "platform/runtime/TextOutput.h"
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

}  // namespace
}  // namespace orvale
