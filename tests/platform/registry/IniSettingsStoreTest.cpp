#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/registry/GeneralSettings.h"
#include "platform/registry/IniFormat.h"
#include "platform/registry/IniSettingsStore.h"
#include "platform/registry/SettingsBatch.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/LockedFileUpdate.h"
#include "tests/support/BoundedChild.h"
#include "tests/support/FileHead.h"
#include "tests/support/FileNearTheLimit.h"
#include "tests/support/LinkedFileLayouts.h"
#include "tests/support/WrittenFileSituations.h"

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
  EXPECT_FALSE(other.Read("Toolbox", "Top", value, true));  // each copy makes its own
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

// A store's write of Camera/Gain=7 into `file`, its section made first.
bool WriteGain(const char* file) {
  IniSettingsStore store(file);
  std::string value;
  store.Read("Camera", "Gain", value, true);
  return store.Write("Camera", "Gain", "7");
}

TEST_F(IniSettingsStoreTest, AWriteThroughALinkWritesTheFileItNamesAndKeepsTheLink) {
  testing::ExpectWritesThroughLinks(WriteGain, "[Camera]\r\nGain=7\r\n");
}

TEST_F(IniSettingsStoreTest, AWriteInEveryFileSituation) {
  testing::ExpectWritesInEveryFileSituation("cam.ini", WriteGain, "[Camera]\r\nGain=7\r\n");
}

struct Report {
  int number;
  bool onPurpose;
};

// A settings file made read-only on purpose is left as it is: the store goes on with its
// settings in memory, says so once, and writes them all when the file can be written again.
TEST_F(IniSettingsStoreTest, AReadOnlyFileKeepsTheSettingsInMemoryUntilItCanBeWritten) {
  const std::string original = "[CurrentVersion]\r\nA=1\r\n";
  WriteFile(original);
  ::chmod(file_.c_str(), 0444);
  IniSettingsStore store(file_);
  std::vector<Report> reports;
  store.SetProblemReport([&reports](const RunError& e, bool onPurpose) { reports.push_back({e.Number, onPurpose}); });
  EXPECT_FALSE(store.Write("CurrentVersion", "A", "2"));
  EXPECT_FALSE(store.Write("CurrentVersion", "B", "3"));
  std::string value;
  EXPECT_FALSE(store.Read("Toolbox", "Left", value, true));
  EXPECT_FALSE(store.Write("Toolbox", "Left", "5"));
  store.Delete("CurrentVersion", "B");
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "A"), "2");
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "B"), "(missing)");
  EXPECT_EQ(ReadValue(store, "Toolbox", "Left"), "5");
  EXPECT_EQ(Slurp(), original);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].number, errnum::kPermissionDenied);
  EXPECT_TRUE(reports[0].onPurpose);
  EXPECT_EQ(store.Problem().Number, errnum::kPermissionDenied);

  ::chmod(file_.c_str(), 0644);
  EXPECT_TRUE(store.Write("CurrentVersion", "C", "4"));
  EXPECT_EQ(Slurp(), "[CurrentVersion]\r\nA=2\r\nC=4\r\n\r\n[Toolbox]\r\nLeft=5\r\n");
  EXPECT_EQ(reports.size(), 1u);
}

// Anything else that keeps the store from its file is reported once too, as no choice of
// the user's.
TEST_F(IniSettingsStoreTest, AFileThatCannotBeReadIsReportedOnce) {
  fs::create_directories(file_);
  IniSettingsStore store(file_);
  std::vector<Report> reports;
  store.SetProblemReport([&reports](const RunError& e, bool onPurpose) { reports.push_back({e.Number, onPurpose}); });
  std::string value;
  EXPECT_FALSE(store.Read("CurrentVersion", "k", value, true));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(store.Write("CurrentVersion", "k", std::to_string(i)));
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "k"), "2");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].number, errnum::kPathFileAccessError);
  EXPECT_FALSE(reports[0].onPurpose);
  EXPECT_TRUE(fs::is_directory(file_));
}

// A file far larger than any settings file (here 2 GB, mostly a hole) is refused without
// being read, and never written over.
TEST_F(IniSettingsStoreTest, AFileLargerThanAnySettingsFileIsRefusedAndKept) {
  const std::string head = "[CurrentVersion]\r\nA=1\r\n";
  WriteFile(head);
  fs::resize_file(file_, std::uintmax_t{2} << 30);
  EXPECT_TRUE(testing::RunsWithinBounds([this] {
    IniSettingsStore store(file_);
    std::string value;
    const bool read = store.Read("CurrentVersion", "A", value, false);
    const bool written = store.Write("CurrentVersion", "A", "2");
    const std::string reason = store.Problem().Description;
    if (read || written || reason.find("larger than 16 MB") == std::string::npos ||
        reason.find(file_.string()) == std::string::npos) {
      std::fprintf(stderr, "read %d, written %d: %s\n", read, written, reason.c_str());
      throw 1;
    }
  }));
  EXPECT_EQ(fs::file_size(file_), std::uintmax_t{2} << 30);
  EXPECT_EQ(testing::FileHead(file_, head.size()), head);
}

// The typed calls hand the store names that live only for the call: what the store keeps
// for a file that cannot take it owns its names, and the file gets exactly these once it
// can be written.
TEST_F(IniSettingsStoreTest, TypedCallsOnAnUnusableFileAreKeptAndWrittenOnceItIsUsable) {
  const std::string original = "[CurrentVersion]\r\nA=1\r\n";
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> spoil;
    std::function<void(const fs::path&)> mend;
  };
  const Case cases[] = {
      {"read-only", [](const fs::path& f) { ::chmod(f.c_str(), 0444); },
       [](const fs::path& f) { ::chmod(f.c_str(), 0644); }},
      {"a folder in its place",
       [](const fs::path& f) {
         fs::remove(f);
         fs::create_directories(f / "inside");
       },
       [&original](const fs::path& f) {
         fs::remove_all(f);
         std::ofstream(f, std::ios::binary) << original;
       }},
      {"too large", [](const fs::path& f) { fs::resize_file(f, std::uintmax_t{2} << 30); },
       [&original](const fs::path& f) { fs::resize_file(f, original.size()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(file_);
    WriteFile(original);
    c.spoil(file_);
    {
      IniSettingsStore store(file_);
      ScopedSettingsStore installed(store);
      EXPECT_EQ(GetSettingString("CurrentVersion", "B", "none"), "none");
      EXPECT_EQ(GetSettingString("ToolboxWindowPlacement", "Left", "10"), "10");
      SaveSettingString("CurrentVersion", "B", "2");
      SaveSettingLong("ToolboxWindowPlacement", "Left", 5);
      EXPECT_EQ(GetSettingString("CurrentVersion", "B", "none"), "2");
      EXPECT_EQ(GetSettingLong("ToolboxWindowPlacement", "Left", 0, 100, 10), 5);
      EXPECT_NE(store.Problem().Number, 0);
      c.mend(file_);
      SaveSettingString("CurrentVersion", "C", "3");
    }
    EXPECT_EQ(Slurp(), "[CurrentVersion]\r\nA=1\r\nB=2\r\nC=3\r\n\r\n"
                       "[ToolboxWindowPlacement]\r\nLeft=5\r\n");
  }
}

// A file that the store's CR LF line ends would take past the limit is not written: the
// change stays in memory, the reason is the limit's, and the file keeps every byte.
TEST_F(IniSettingsStoreTest, AWriteThatWouldPassTheLimitLeavesTheFileAsItWas) {
  const std::string original = testing::LfTextOneByteUnderTheLimit();
  WriteFile(original);
  IniSettingsStore store(file_);
  EXPECT_EQ(ReadValue(store, "Camera", "K0"), "0");
  EXPECT_FALSE(store.Write("Camera", "Gain", "7"));
  EXPECT_NE(store.Problem().Description.find("Invalid file format: larger than 16 MB"), std::string::npos)
      << store.Problem().Description;
  EXPECT_EQ(ReadValue(store, "Camera", "Gain"), "7");
  EXPECT_TRUE(Slurp() == original);
}

// The reads of a batch that find their sections missing, as a first start does, write
// the file once, when the batch ends: the file is untouched until then.
TEST_F(IniSettingsStoreTest, TheSectionsABatchCreatesAreWrittenTogetherAtItsEnd) {
  const std::string original = "[Board]\r\nLatency=16\r\n";
  WriteFile(original);
  const std::optional<FileIdentity> before = FileIdentity::Of(file_);
  IniSettingsStore store(file_);
  {
    ScopedSettingsStore installed(store);
    const ScopedSettingsReadBatch reads;
    EXPECT_EQ(GetSettingLong("CurrentVersion", "Open File Filter", 1, 3, 2), 2);
    EXPECT_EQ(GetSettingString("Toolbox", "Left", "10"), "10");
    EXPECT_EQ(GetSettingString("Grid_Window", "Top", "20"), "20");
    EXPECT_EQ(GetSettingString("Toolbox", "Top", "30"), "30");
    EXPECT_TRUE(FileIdentity::Of(file_) == before);
    EXPECT_EQ(Slurp(), original);
  }
  EXPECT_EQ(Slurp(), original + "\r\n[CurrentVersion]\r\n\r\n[Toolbox]\r\n\r\n[Grid_Window]\r\n");
}

// An editor's save that lands while the store writes a change is read again: the file
// keeps the editor's values and the store's change, and the store reads both.
TEST_F(IniSettingsStoreTest, AnEditorsSaveDuringAWriteIsKeptWithTheChange) {
  WriteFile("[CurrentVersion]\r\nA=1\r\n");
  IniSettingsStore store(file_);
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "A"), "1");
  bool saved = false;
  const FileUpdateInterference editor([&saved](const fs::path& file) {
    if (saved) return;
    saved = true;
    const fs::path edited = file.string() + "~";
    std::ofstream(edited, std::ios::binary) << "[CurrentVersion]\nA=1\nEdited=yes\n";
    fs::rename(edited, file);
  });
  EXPECT_TRUE(store.Write("CurrentVersion", "B", "2"));
  EXPECT_EQ(Slurp(), "[CurrentVersion]\r\nA=1\r\nEdited=yes\r\nB=2\r\n");
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "Edited"), "yes");
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "B"), "2");
}

// /proc/kmsg is a regular file whose read waits for the kernel's next message: as the
// settings file it reads as no settings, at once.
TEST_F(IniSettingsStoreTest, AFileWhoseReadBlocksReadsAsUnreadable) {
  if (::access("/proc/kmsg", R_OK) != 0) GTEST_SKIP() << "/proc/kmsg is not readable here (it needs root)";
  fs::create_directories(file_.parent_path());
  fs::create_symlink("/proc/kmsg", file_);
  EXPECT_TRUE(testing::RunsWithinBounds([this] {
    IniSettingsStore store(file_);
    std::string value;
    if (store.Read("CurrentVersion", "A", value, true) || store.Write("CurrentVersion", "A", "1")) throw 1;
    if (store.Problem().Number != errnum::kPathFileAccessError) throw 2;
  }));
}

// Many reads of a file of 100,000 values in 50,000 sections, outside any batch, each
// right after the file was written: the file is parsed in one pass, and not again while
// its text is the same.
TEST_F(IniSettingsStoreTest, ManyReadsOfAFileOfManyValuesAndSectionsFinish) {
  std::string text;
  for (int i = 0; i < 50000; ++i) {
    text += "[S" + std::to_string(i) + "]\r\na=" + std::to_string(i) + "\r\nB=x\r\n";
  }
  WriteFile(text);
  EXPECT_TRUE(testing::RunsWithinBounds(
      [this] {
        IniSettingsStore store(file_);
        for (int i = 0; i < 200; ++i) {
          std::string value;
          if (!store.Read("s" + std::to_string(i * 250), "A", value, false) || value != std::to_string(i * 250)) throw 1;
        }
        if (!store.Write("S49999", "a", "new")) throw 2;
        if (ReadValue(store, "S49999", "A") != "new") throw 3;
      },
      std::size_t{1} << 30));
}

// Another program's change shows at the next read, also when it keeps the file's size
// and its time of last modification: a kept reading is used only while the file keeps
// its identity, change time included.
TEST_F(IniSettingsStoreTest, AChangeThatKeepsSizeAndTimeIsSeenAtTheNextRead) {
  WriteFile("[CurrentVersion]\r\nA=1\r\n");
  IniSettingsStore store(file_);
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "A"), "1");
  std::ofstream(file_, std::ios::binary | std::ios::in | std::ios::out) << "[CurrentVersion]\r\nA=2\r\n";
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "A"), "2");  // just written: read again anyway

  // Settled (file times tick coarsely, so a kept reading waits for that), then changed
  // in place with its modification time put back.
  std::this_thread::sleep_for(std::chrono::seconds(5));
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "A"), "2");
  struct stat before {};
  ASSERT_EQ(::stat(file_.c_str(), &before), 0);
  std::ofstream(file_, std::ios::binary | std::ios::in | std::ios::out) << "[CurrentVersion]\r\nA=3\r\n";
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, file_.c_str(), times, 0), 0);
  EXPECT_EQ(ReadValue(store, "CurrentVersion", "A"), "3");
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
