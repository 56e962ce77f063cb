// The plug-in's settings file: defaults, ranges, the camera position against the cameras
// present, corrupt files, and the one value written.
#include "plugins/tavrel/TavrelSettings.h"

#include <gtest/gtest.h>

#include "plugins/tavrel/SettingsMenu.h"
#include "tests/plugins/tavrel/TavrelTestSupport.h"

namespace orvale {
namespace {

struct SettingCase {
  const char* file;
  std::size_t cameras;
  TavrelSettings expected;
};

TEST(TavrelSettingsTest, ValuesAreReadByTheirLeadingNumberAndKeptInRange) {
  const SettingCase cases[] = {
      {"", 3, {0, 640, 480, 0}},
      {"[CurrentVersion]\r\nSelectedDevice=2\r\n", 3, {2, 640, 480, 0}},
      {"[CurrentVersion]\r\nSelectedDevice=20\r\n", 3, {0, 640, 480, 0}},   // 16, not below 3
      {"[CurrentVersion]\r\nSelectedDevice=20\r\n", 17, {16, 640, 480, 0}},
      {"[CurrentVersion]\r\nSelectedDevice=-3\r\n", 3, {0, 640, 480, 0}},
      {"[CurrentVersion]\r\nSelectedDevice=\r\n", 3, {0, 640, 480, 0}},
      {"[CurrentVersion]\r\nSelectedDevice=1\r\n", 0, {0, 640, 480, 0}},
      {"[currentversion]\r\ndefaultwidth=8\r\nDefaultHeight=5000\r\n", 1, {0, 16, 4096, 0}},
      {"[CurrentVersion]\r\nDefaultWidth=800 pixels\r\nDefaultHeight=abc\r\n", 1, {0, 800, 16, 0}},
      {"[CurrentVersion]\r\nDefaultFrameTime=333333\r\n", 1, {0, 640, 480, 333333}},
      {"[CurrentVersion]\r\nDefaultFrameTime=99999999999999999999\r\n", 1, {0, 640, 480, 10000000}},
  };
  for (const SettingCase& c : cases) {
    testing::TavrelTestBench bench(std::nullopt);
    bench.SetSettingsText(c.file);
    const TavrelSettings read = ReadSettings(bench.Profile(), c.cameras);
    EXPECT_EQ(read.SelectedDevice, c.expected.SelectedDevice) << c.file;
    EXPECT_EQ(read.DefaultWidth, c.expected.DefaultWidth) << c.file;
    EXPECT_EQ(read.DefaultHeight, c.expected.DefaultHeight) << c.file;
    EXPECT_EQ(read.DefaultFrameTime, c.expected.DefaultFrameTime) << c.file;
  }
}

TEST(TavrelSettingsTest, ACorruptFileReadsAsTheDefaults) {
  std::string garbage = "\x7f" "ELF\x02\x01\x01";
  garbage += std::string("\0[CurrentVersion]\0SelectedDevice=2", 33);
  garbage += "\r\n" + std::string(100000, 'x') + "\r\n";
  for (int i = 0; i < 256; ++i) garbage += static_cast<char>(i);
  testing::TavrelTestBench bench(std::nullopt);
  bench.SetSettingsText(garbage);
  const TavrelSettings read = ReadSettings(bench.Profile(), 3);
  EXPECT_EQ(read.SelectedDevice, 0);
  EXPECT_EQ(read.DefaultWidth, 640);
  EXPECT_EQ(read.DefaultHeight, 480);
  EXPECT_EQ(read.DefaultFrameTime, 0);
}

TEST(TavrelSettingsTest, SavingWritesTheCameraPositionAlone) {
  testing::TavrelTestBench bench(std::nullopt);
  bench.SetSettingsText("[CurrentVersion]\r\nDefaultWidth=800\r\n");
  ASSERT_TRUE(SaveSelectedDevice(bench.Profile(), 2));
  EXPECT_EQ(bench.SettingsText(), "[CurrentVersion]\r\nDefaultWidth=800\r\nSelectedDevice=2\r\n");
  EXPECT_EQ(ReadSettings(bench.Profile(), 3).SelectedDevice, 2);
}

TEST(SettingsMenuTest, EntriesFollowWhatTheCameraLetsTheUserSet) {
  struct Case {
    const char* name;
    VideoCapabilities caps;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"none", {}, {}},
      {"controls", {true, false, false, false}, {"Video Capture Filter..."}},
      {"formats and tuner", {false, true, false, true}, {"Video Capture Pin...", "TV Tuner..."}},
      {"all",
       {true, true, true, true},
       {"Video Capture Filter...", "Video Capture Pin...", "Video Crossbar...", "TV Tuner..."}},
  };
  for (const Case& c : cases) {
    const auto entries = BuildSettingsMenu(c.caps);
    ASSERT_EQ(entries.size(), c.texts.size()) << c.name;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].Text, c.texts[i]) << c.name;
      EXPECT_EQ(entries[i].Id, 5000 + static_cast<std::int32_t>(i)) << c.name;
    }
  }
}

}  // namespace
}  // namespace orvale
