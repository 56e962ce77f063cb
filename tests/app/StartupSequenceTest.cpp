#include "app/StartupSequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/registry/IniFormat.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

// Logs each step; the windows can be made to fail.
class RecordingSteps : public StartupSteps {
 public:
  void CreateWindows() override {
    Log("CreateWindows");
    if (failWindows) throw std::runtime_error("Out of memory");
  }
  void ShowSplash() override { Log("ShowSplash"); }
  void FindGrabbers() override { Log("FindGrabbers"); }
  void ReadSettings() override {
    Log("ReadSettings");
    GetSettingLong("CurrentVersion", "MainLeft", 0, 100, 0);
  }
  void LoadFrame() override { Log("LoadFrame"); }
  void ShowFrame() override { Log("ShowFrame"); }
  void CloseSplash() override { Log("CloseSplash"); }
  void SelectGrabber() override { Log("SelectGrabber"); }
  void ResetFrameStates() override { Log("ResetFrameStates"); }
  void StartAutomation(bool embedding) override { Log(embedding ? "Automation 1" : "Automation 0"); }
  void OpenFile(const std::string& path) override { Log("OpenFile " + path); }

  // Position of a step in the log; -1 when it did not run.
  int At(const std::string& step) const {
    const auto found = std::find(log.begin(), log.end(), step);
    return found == log.end() ? -1 : static_cast<int>(found - log.begin());
  }

  std::vector<std::string> log;
  bool failWindows = false;

 private:
  void Log(const std::string& step) { log.push_back(step); }
};

class StartupSequenceTest : public ::testing::Test {
 protected:
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  RecordingSteps steps_;
};

TEST_F(StartupSequenceTest, SettingsComeBeforeTheFrameAndAutomationComesLast) {
  ASSERT_TRUE(RunStartupSequence(steps_, {false, "/d/a.jpg"}));
  EXPECT_LT(steps_.At("ReadSettings"), steps_.At("LoadFrame"));
  EXPECT_LT(steps_.At("LoadFrame"), steps_.At("ShowFrame"));
  EXPECT_LT(steps_.At("CloseSplash"), steps_.At("SelectGrabber"));
  EXPECT_LT(steps_.At("SelectGrabber"), steps_.At("ResetFrameStates"));
  EXPECT_LT(steps_.At("ResetFrameStates"), steps_.At("OpenFile /d/a.jpg"));
  EXPECT_EQ(steps_.log.back(), "Automation 0");
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(StartupSequenceTest, EmbeddingOpensNothingButStartsAsUsual) {
  ASSERT_TRUE(RunStartupSequence(steps_, {true, ""}));
  EXPECT_GE(steps_.At("ShowFrame"), 0);
  EXPECT_GE(steps_.At("Automation 1"), 0);
  EXPECT_EQ(steps_.log.back(), "Automation 1");
}

TEST_F(StartupSequenceTest, NoPathOpensNothing) {
  ASSERT_TRUE(RunStartupSequence(steps_, {false, ""}));
  EXPECT_EQ(steps_.log.back(), "Automation 0");
}

TEST_F(StartupSequenceTest, FailedWindowsAreReportedAndEndTheStartWithNothingWritten) {
  MemorySettingsStore store;
  ScopedSettingsStore installedStore(store);
  GetSettingLong("CurrentVersion", "MainLeft", 0, 100000, 0);
  SaveSettingLong("CurrentVersion", "MainLeft", 1500);
  const std::string before = FormatIniSettings(store.Contents());
  steps_.failWindows = true;

  EXPECT_FALSE(RunStartupSequence(steps_, {false, "/d/a.jpg"}));

  EXPECT_EQ(steps_.log, std::vector<std::string>{"CreateWindows"});
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Out of memory");
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
  EXPECT_EQ(messages_.Messages()[0].flags, 0x2010u);
  EXPECT_EQ(FormatIniSettings(store.Contents()), before);
}

}  // namespace
}  // namespace orvale
