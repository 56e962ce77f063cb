// The profile-string exports as a client reaches them: writes leave the user's folder
// holding the file alone, a file in a folder that does not exist is not written, and a
// file reached through a symbolic link is written where the link points.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/FileNearTheLimit.h"
#include "tests/support/LinkedFileLayouts.h"
#include "tests/support/WrittenFileSituations.h"
#include "tests/support/TempConfigHome.h"

namespace orvale::korrin {
namespace {

namespace fs = std::filesystem;

using WriteProfileString = std::int32_t(const char*, const char*, const char*, const char*);

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ProfileFilesTest, WritesLeaveNoLockFileAndNeedTheirFolder) {
  testing::TempConfigHome home;
  void* library = dlopen(KORRIN32_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto* write = reinterpret_cast<WriteProfileString*>(dlsym(library, "KR_WritePrivateProfileString"));
  ASSERT_NE(write, nullptr);

  EXPECT_EQ(write("Board", "Latency", "16", "krg.ini"), 1);  // the Windows folder's stand-in
  EXPECT_EQ(write("Board", "Latency", "32", "krg.ini"), 1);
  const fs::path own = home.Folder() / "own.ini";
  EXPECT_EQ(write("S", "K", "v", own.c_str()), 1);
  EXPECT_EQ(write("S", "K", nullptr, own.c_str()), 1);
  EXPECT_EQ(Names(home.Folder()), (std::vector<std::string>{"Halvern", "own.ini"}));
  EXPECT_EQ(Names(home.Folder() / "Halvern"), std::vector<std::string>{"krg.ini"});

  const fs::path missing = home.Folder() / "gone" / "krg.ini";
  EXPECT_EQ(write("Board", "Latency", "16", missing.c_str()), 0);
  EXPECT_FALSE(fs::exists(home.Folder() / "gone"));
  dlclose(library);
}

// Runs `check` with the library's KR_WritePrivateProfileString writing Camera/Gain=7.
void WithGainWriter(const std::function<void(const std::function<bool(const char*)>&)>& check) {
  void* library = dlopen(KORRIN32_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto* write = reinterpret_cast<WriteProfileString*>(dlsym(library, "KR_WritePrivateProfileString"));
  ASSERT_NE(write, nullptr);
  check([write](const char* file) { return write("Camera", "Gain", "7", file) == 1; });
  dlclose(library);
}

TEST(ProfileFilesTest, AWriteThroughALinkWritesTheFileItNamesAndKeepsTheLink) {
  WithGainWriter([](const auto& write) { testing::ExpectWritesThroughLinks(write, "[Camera]\r\nGain=7\r\n"); });
}

// A read-only file fails (0) and is left as it is; hard links, owners and modes are kept.
TEST(ProfileFilesTest, AWriteInEveryFileSituation) {
  WithGainWriter([](const auto& write) {
    testing::ExpectWritesInEveryFileSituation("krg.ini", write, "[Camera]\r\nGain=7\r\n");
  });
}

// A write that the writer's CR LF line ends would take past the size limit fails and
// leaves the file as it was, byte for byte, still readable.
TEST(ProfileFilesTest, AWriteThatWouldPassTheLimitFailsAndKeepsTheFile) {
  testing::TempConfigHome home;
  const fs::path file = home.Folder() / "large.ini";
  const std::string original = testing::LfTextOneByteUnderTheLimit();
  std::ofstream(file, std::ios::binary) << original;
  WithGainWriter([&file](const auto& write) { EXPECT_FALSE(write(file.c_str())); });
  EXPECT_TRUE(testing::FileText(file) == original);
}

}  // namespace
}  // namespace orvale::korrin
