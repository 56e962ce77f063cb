#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/profile/PrivateProfile.h"

namespace orvale {
namespace {

class PrivateProfileWriteTest : public ::testing::Test {
 protected:
  PrivateProfileWriteTest() { profile_.SetRoot("/root"); }
  void SetFile(std::string text) { files_->SetText("/root/w.ini", std::move(text)); }
  std::string File() const { return files_->Text("/root/w.ini").value_or("(none)"); }

  std::shared_ptr<MemoryProfileFiles> files_ = std::make_shared<MemoryProfileFiles>();
  PrivateProfile profile_{files_};
};

TEST_F(PrivateProfileWriteTest, WritingIntoANewFileMakesTheSectionAndKey) {
  EXPECT_TRUE(profile_.WriteString("CurrentVersion", "SelectedDevice", "2", "w.ini"));
  EXPECT_TRUE(profile_.WriteString("CurrentVersion", "DefaultWidth", "640", "w.ini"));
  EXPECT_EQ(File(), "[CurrentVersion]\r\nSelectedDevice=2\r\nDefaultWidth=640\r\n");
}

TEST_F(PrivateProfileWriteTest, ReplacingKeepsTheFilesSpellingAndEveryOtherLine) {
  SetFile(
      "; keep me\n"
      "[Board]\n"
      "Latency = 32\n"
      "garbage line\n"
      "\n"
      "[Other]\n"
      "Key=v\n");
  EXPECT_TRUE(profile_.WriteString("BOARD", "latency", "16", "w.ini"));
  EXPECT_TRUE(profile_.WriteString("board", "BurstThresh", "4", "w.ini"));  // after the last line
  EXPECT_TRUE(profile_.WriteString("New", "A", " padded ", "w.ini"));
  EXPECT_EQ(File(),
            "; keep me\r\n"
            "[Board]\r\n"
            "Latency=16\r\n"
            "garbage line\r\n"
            "BurstThresh=4\r\n"
            "\r\n"
            "[Other]\r\n"
            "Key=v\r\n"
            "\r\n"
            "[New]\r\n"
            "A= padded \r\n");
  EXPECT_EQ(profile_.Value("new", "a", "w.ini"), "padded");
}

TEST_F(PrivateProfileWriteTest, NullValueDeletesTheKeyAndNullKeyTheSection) {
  SetFile("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n[a]\r\nw=4\r\n");
  EXPECT_TRUE(profile_.WriteString("a", "X", nullptr, "w.ini"));
  EXPECT_EQ(File(), "[A]\r\ny=2\r\n[B]\r\nz=3\r\n[a]\r\nw=4\r\n");
  EXPECT_TRUE(profile_.WriteString("A", nullptr, nullptr, "w.ini"));  // every copy of it
  EXPECT_EQ(File(), "[B]\r\nz=3\r\n");
}

TEST_F(PrivateProfileWriteTest, AWriteThatChangesNothingLeavesTheFileAlone) {
  const std::string lfFile = "[S]\nK=v\n";
  SetFile(lfFile);
  EXPECT_TRUE(profile_.WriteString("S", "Missing", nullptr, "w.ini"));
  EXPECT_TRUE(profile_.WriteString("Gone", nullptr, nullptr, "w.ini"));
  EXPECT_TRUE(profile_.WriteString("s", "k", "v", "w.ini"));
  EXPECT_EQ(File(), lfFile);
}

TEST_F(PrivateProfileWriteTest, RefusesWritesThatWouldBreakTheFile) {
  const std::string before = "[S]\r\nK=v\r\n";
  SetFile(before);
  const struct {
    const char* section;
    const char* key;
    const char* value;
    const char* file;
  } refused[] = {
      {nullptr, "K", "v", "w.ini"},  {"S", "K", "v", nullptr},     {"S", "K", "v", ""},
      {"S", "K", "a\r\nX=1", "w.ini"}, {"S", "a=b", "v", "w.ini"}, {"S", "", "v", "w.ini"},
      {"S", "  ", "v", "w.ini"},     {"S", "[T]", "v", "w.ini"},   {"S", ";c", "v", "w.ini"},
      {"S]", "K", "v", "w.ini"},     {"S\n", nullptr, nullptr, "w.ini"},
  };
  for (const auto& r : refused) {
    EXPECT_FALSE(profile_.WriteString(r.section, r.key, r.value, r.file))
        << (r.section ? r.section : "(null)") << " / " << (r.key ? r.key : "(null)");
  }
  EXPECT_EQ(File(), before);
}

TEST_F(PrivateProfileWriteTest, ASectionBatchWritesAllOrNothing) {
  SetFile("[Config]\r\nOld=1\r\nGone=2\r\n");
  const std::vector<ProfileEntry> batch = {
      {"SignalType", "1"}, {"Gamma", "1.00"}, {"Gone", std::nullopt}, {"Old", "5"}};
  EXPECT_TRUE(profile_.WriteSection("Config", batch, "w.ini"));
  const std::string written = "[Config]\r\nOld=5\r\nSignalType=1\r\nGamma=1.00\r\n";
  EXPECT_EQ(File(), written);

  // One bad entry refuses the whole batch.
  const std::vector<ProfileEntry> bad = {{"SignalType", "2"}, {"Bad=Key", "3"}};
  EXPECT_FALSE(profile_.WriteSection("Config", bad, "w.ini"));
  EXPECT_EQ(File(), written);

  // So does a failed write.
  files_->SetWritesFail(true);
  const std::vector<ProfileEntry> good = {{"SignalType", "2"}, {"Gamma", "2.20"}};
  EXPECT_FALSE(profile_.WriteSection("Config", good, "w.ini"));
  EXPECT_FALSE(profile_.WriteString("Config", "Old", "6", "w.ini"));
  EXPECT_EQ(File(), written);
}

}  // namespace
}  // namespace orvale
