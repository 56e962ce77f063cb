#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/registry/GeneralSettings.h"
#include "platform/registry/IniFormat.h"
#include "platform/registry/IniSettingsStore.h"
#include "platform/registry/SettingsBatch.h"
#include "tests/support/LinkedFileLayouts.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

class IniSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orvale-ini-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    file_ = dir_ / "Halvern" / "Orvale.ini";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Slurp() const {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  void WriteFile(const std::string& bytes) const {
    fs::create_directories(file_.parent_path());
    std::ofstream(file_, std::ios::binary) << bytes;
  }
  static std::string ReadValue(SettingsStore& store, const std::string& section,
                               const std::string& key) {
    std::string value;
    return store.Read(section, key, value, false) ? value : "(missing)";
  }
  fs::path dir_;
  fs::path file_;
};

TEST_F(IniSettingsStoreTest, AwkwardTextsRoundTripThroughTheFile) {
  const std::vector<std::string> texts = {
      "",        " lead",      "trail ",   "  both  ", " ",         "a\r\nb",  "\n",
      "\r",      "\tx\t",      "back\\slash", "\\",     "\\s",       "\\x41",   "a=b=c",
      "=start",  "[section]",  ";not a comment", "#hash", "]",       "\x01\x7f", "caf\xC3\xA9",
      std::string("nul\0byte", 8), "x\\",
  };
  {
    IniSettingsStore store(file_);
    std::string scratch;
    store.Read("Odd ]Section[ ", "x", scratch, true);
    for (std::size_t i = 0; i < texts.size(); ++i) {
      ASSERT_TRUE(store.Write("Odd ]Section[ ", "Value " + std::to_string(i), texts[i]));
      ASSERT_TRUE(store.Write("Odd ]Section[ ", texts[i] + "#key" + std::to_string(i), "k"));
    }
  }
  IniSettingsStore reopened(file_);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(ReadValue(reopened, "odd ]section[ ", "Value " + std::to_string(i)), texts[i]) << i;
    EXPECT_EQ(ReadValue(reopened, "Odd ]Section[ ", texts[i] + "#key" + std::to_string(i)), "k") << i;
  }
  // Every line is a section, a value or empty: nothing in the file is taken for a comment.
  const SettingsSections parsed = ParseIniSettings(Slurp());
  ASSERT_EQ(parsed.Sections().size(), 1u);
  for (const auto& entry : parsed.Sections()[0].Entries()) EXPECT_FALSE(entry.Raw) << entry.Value;
}

TEST_F(IniSettingsStoreTest, ReadsAHandWrittenFile) {
  WriteFile(
      "; settings of Orvale\n"
      "[currentversion]\r\n"
      "  Open File Filter = 3  \n"
      "Open File Dir=C:\\data\\Mirrors\n"
      "# a comment\n"
      "Save File Dir = \\s spaced \\s\n"
      "[Toolbox]\n");
  IniSettingsStore store(file_);
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "OPEN FILE FILTER"), "3");
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "Open File Dir"), "C:\\data\\Mirrors");
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "Save File Dir"), "  spaced  ");
  EXPECT_EQ(ReadValue(store, "Toolbox", "Shape"), "(missing)");
}

TEST_F(IniSettingsStoreTest, SectionsAreCreatedByReadsOnly) {
  IniSettingsStore store(file_);
  EXPECT_FALSE(store.Write("CurrentVersion", "k", "v"));
  EXPECT_FALSE(fs::exists(file_));
  std::string value;
  EXPECT_FALSE(store.Read("CurrentVersion", "k", value, true));  // creates folder, file, section
  EXPECT_EQ(Slurp(), "[CurrentVersion]\r\n");
  EXPECT_TRUE(store.Write("CurrentVersion", "k", "v"));
  EXPECT_EQ(Slurp(), "[CurrentVersion]\r\nk=v\r\n");
  store.Delete("CURRENTVERSION", "K");
  EXPECT_EQ(Slurp(), "[CurrentVersion]\r\n");
}

TEST_F(IniSettingsStoreTest, WritesLeaveNoTemporaryFiles) {
  IniSettingsStore store(file_);
  std::string value;
  store.Read("CurrentVersion", "k", value, true);
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(store.Write("CurrentVersion", "k", std::to_string(i)));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(file_.parent_path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Orvale.ini"}));  // no lock file either
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "k"), "19");
}

TEST_F(IniSettingsStoreTest, TwoStoresOnOneFileKeepEachOthersValues) {
  IniSettingsStore first(file_);
  IniSettingsStore second(file_);
  std::string value;
  first.Read("CurrentVersion", "x", value, true);
  ASSERT_TRUE(first.Write("CurrentVersion", "A", "1"));
  ASSERT_TRUE(second.Write("CurrentVersion", "B", "2"));  // sees the section made by the first
  ASSERT_TRUE(first.Write("CurrentVersion", "A", "3"));
  EXPECT_EQ(ReadValue(second, "CurrentVersion", "A"), "3");
  EXPECT_EQ(ReadValue(first, "CurrentVersion", "B"), "2");
}

// The reads of a batch share one reading of the file: what another copy writes
// meanwhile shows from the next batch on, never half of it inside this one.
TEST_F(IniSettingsStoreTest, TheReadsOfABatchSeeOneStateOfTheFile) {
  WriteFile("[CurrentVersion]\nA=1\n");
  IniSettingsStore mine(file_);
  IniSettingsStore other(file_);
  {
    ScopedSettingsStore installed(mine);
    const ScopedSettingsReadBatch outer;
    EXPECT_EQ(ReadValue(mine, "CurrentVersion", "A"), "1");
    ASSERT_TRUE(other.Write("CurrentVersion", "A", "2"));
    ASSERT_TRUE(other.Write("CurrentVersion", "B", "3"));
    {
      const ScopedSettingsReadBatch inner;  // batches nest
      EXPECT_EQ(ReadValue(mine, "CurrentVersion", "A"), "1");
    }
    EXPECT_EQ(ReadValue(mine, "CurrentVersion", "A"), "1");
    EXPECT_EQ(ReadValue(mine, "CurrentVersion", "B"), "(missing)");
  }
  EXPECT_EQ(ReadValue(mine, "CurrentVersion", "A"), "2");
  EXPECT_EQ(ReadValue(mine, "CurrentVersion", "B"), "3");
}

// A write inside a read batch still re-reads the file under the lock: it keeps what
// another copy wrote, and the batch's later reads see the file as written.
TEST_F(IniSettingsStoreTest, AWriteInsideAReadBatchKeepsOtherCopiesValues) {
  IniSettingsStore mine(file_);
  IniSettingsStore other(file_);
  ScopedSettingsStore installed(mine);
  const ScopedSettingsReadBatch reads;
  EXPECT_EQ(ReadValue(mine, "Toolbox", "Left"), "(missing)");
  std::string value;
  EXPECT_FALSE(mine.Read("Toolbox", "Left", value, true));  // creates the section
  ASSERT_TRUE(other.Write("Toolbox", "Top", "300"));
  ASSERT_TRUE(mine.Write("Toolbox", "Left", "200"));
  EXPECT_EQ(ReadValue(mine, "Toolbox", "Left"), "200");
  EXPECT_EQ(ReadValue(mine, "Toolbox", "Top"), "300");
  EXPECT_EQ(ReadValue(other, "Toolbox", "Left"), "200");
  EXPECT_EQ(ReadValue(other, "Toolbox", "Top"), "300");
}

TEST_F(IniSettingsStoreTest, ConcurrentWritersLoseNoValue) {
  {
    IniSettingsStore store(file_);
    std::string value;
    store.Read("CurrentVersion", "x", value, true);
  }
  constexpr int kWriters = 4;
  constexpr int kValuesEach = 25;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w)
    writers.emplace_back([this, w] {
      IniSettingsStore store(file_);  // each thread its own store, like separate copies
      for (int i = 0; i < kValuesEach; ++i)
        store.Write("CurrentVersion", "W" + std::to_string(w) + "-" + std::to_string(i),
                    std::to_string(i));
    });
  for (auto& t : writers) t.join();
  IniSettingsStore store(file_);
  for (int w = 0; w < kWriters; ++w)
    for (int i = 0; i < kValuesEach; ++i)
      EXPECT_EQ(ReadValue(store, "CurrentVersion", "W" + std::to_string(w) + "-" + std::to_string(i)),
                std::to_string(i));
}

TEST_F(IniSettingsStoreTest, AGarbageFileReadsWhatItCanAndKeepsTheRest) {
  const std::string garbage = std::string("\x00\xff\xfe junk\n", 10) +
                              "orphan=before any section\n"
                              "[Broken\n"
                              "[CurrentVersion]\n"
                              "no equals sign here\n"
                              "=no key\n"
                              "Surface Levels=1E20\n"
                              "Open File Filter=2\n"
                              "Open File Filter=3\n"
                              "\\xZZ=bad escape\n";
  WriteFile(garbage);
  IniSettingsStore store(file_);
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "Open File Filter"), "3");  // the last one wins
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "\\xZZ"), "bad escape");
  {
    ScopedSettingsStore installed(store);
    const GeneralSettings s = ReadGeneralSettings({1024, 768, 4, 18});
    EXPECT_EQ(s.SurfaceLevels, 100);
    EXPECT_EQ(s.OpenFileFilter, 3);
  }
  // A write keeps the lines it could not read.
  ASSERT_TRUE(store.Write("CurrentVersion", "Line Size", "200"));
  const std::string rewritten = Slurp();
  for (const char* kept : {"junk", "orphan=before any section", "[Broken", "no equals sign here",
                           "=no key"})
    EXPECT_NE(rewritten.find(kept), std::string::npos) << kept;
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "Line Size"), "200");
}

TEST_F(IniSettingsStoreTest, AFileThatCannotBeReadIsNeverOverwritten) {
  fs::create_directories(file_);  // a folder where the file should be
  IniSettingsStore store(file_);
  std::string value;
  EXPECT_FALSE(store.Read("CurrentVersion", "k", value, true));
  EXPECT_FALSE(store.Write("CurrentVersion", "k", "v"));
  EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(IniSettingsStoreTest, AWriteThroughALinkWritesTheFileItNamesAndKeepsTheLink) {
  testing::ExpectWritesThroughLinks(
      [](const char* file) {
        IniSettingsStore store(file);
        std::string value;
        store.Read("Camera", "Gain", value, true);
        return store.Write("Camera", "Gain", "7");
      },
      "[Camera]\r\nGain=7\r\n");
}

TEST_F(IniSettingsStoreTest, TheDefaultFileFollowsXdgConfigHome) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = oldXdg ? oldXdg : "";
  ::setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
  EXPECT_EQ(DefaultSettingsFile(), fs::path("/tmp/xdg/Halvern/Orvale.ini"));
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  const fs::path home = std::getenv("HOME") ? std::getenv("HOME") : "";
  if (!home.empty()) {
    EXPECT_EQ(DefaultSettingsFile(), home / ".config/Halvern/Orvale.ini");
  }
  if (oldXdg) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace orvale
