#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/runtime/LineInput.h"
#include "platform/runtime/LockedFileUpdate.h"
#include "platform/runtime/TextOutput.h"
#include "tests/support/LinkedFileLayouts.h"
#include "tests/support/WrittenFileSituations.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

class TextFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orvale-textfiles-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  static std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  fs::path dir_;
};

std::vector<std::string> AllLines(LineSource& src) {
  std::vector<std::string> lines;
  std::string line;
  RunError err;
  while (src.ReadLine(line, err) == ReadStatus::Line) lines.push_back(line);
  return lines;
}

TEST_F(TextFilesTest, ReadsEveryLineEnd) {
  const fs::path p = dir_ / "mixed.txt";
  std::ofstream(p, std::ios::binary) << "a\r\nb\nc\rd\r\n\r\ne";
  RunError err;
  auto src = FileLineSource::Open(p, err);
  ASSERT_TRUE(src);
  EXPECT_EQ(AllLines(*src), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  StringLineSource mem("a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_EQ(AllLines(mem), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  StringLineSource trailing("x\r\n");
  EXPECT_EQ(AllLines(trailing), (std::vector<std::string>{"x"}));
}

// A line far longer than any our files write fails with its number; the rest of it is
// passed over, and reading goes on with the next line.
TEST_F(TextFilesTest, ALineLongerThanAMegabyteIsRefusedWithItsNumber) {
  const fs::path p = dir_ / "long.txt";
  std::ofstream(p, std::ios::binary) << "a\r\n" << std::string(kMaxTextLineLength, 'y') << "\r\n"
                                     << std::string(kMaxTextLineLength + 1, 'x') << "\r\nb";
  RunError err;
  auto src = FileLineSource::Open(p, err);
  ASSERT_TRUE(src);
  std::string line;
  ASSERT_EQ(src->ReadLine(line, err), ReadStatus::Line);
  EXPECT_EQ(line, "a");
  ASSERT_EQ(src->ReadLine(line, err), ReadStatus::Line);
  EXPECT_EQ(line.size(), kMaxTextLineLength);  // the longest line that is read
  EXPECT_EQ(src->ReadLine(line, err), ReadStatus::Failed);
  EXPECT_EQ(err.Number, errnum::kInvalidFileFormat);
  EXPECT_EQ(err.Description, "Invalid file format: line 3 is longer than 1048576 characters: " + p.string());
  EXPECT_FALSE(err.IsFileError());  // nothing to retry
  ASSERT_EQ(src->ReadLine(line, err), ReadStatus::Line);
  EXPECT_EQ(line, "b");
  EXPECT_EQ(src->ReadLine(line, err), ReadStatus::EndOfFile);
}

TEST_F(TextFilesTest, OpeningAMissingFileIsFileNotFound) {
  RunError err;
  EXPECT_FALSE(FileLineSource::Open(dir_ / "nope.ovd", err));
  EXPECT_EQ(err.Number, 53);
  EXPECT_TRUE(err.IsFileError());
  EXPECT_NE(err.Description.find("nope.ovd"), std::string::npos);
  EXPECT_FALSE(FileLineSource::Open(dir_, err));
  EXPECT_EQ(err.Number, 75);
}

TEST_F(TextFilesTest, AtomicWriteReplacesOnlyOnCommit) {
  const fs::path p = dir_ / "doc.ovd";
  std::ofstream(p, std::ios::binary) << "old";
  {
    RunError err;
    auto out = AtomicFileWriter::Open(p, err);
    ASSERT_TRUE(out);
    ASSERT_TRUE(out->WriteLine("new", err));
    EXPECT_EQ(Slurp(p), "old");  // not yet replaced
    // dropped without Commit: the old file stays, no temporary remains
  }
  EXPECT_EQ(Slurp(p), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  RunError err;
  ASSERT_TRUE(WriteFileAtomically(p, "new\r\n", err));
  EXPECT_EQ(Slurp(p), "new\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(TextFilesTest, AtomicWriteIntoAMissingFolderFails) {
  RunError err;
  EXPECT_FALSE(WriteFileAtomically(dir_ / "no" / "such.ovd", "x", err));
  EXPECT_EQ(err.Number, 76);
}

TEST_F(TextFilesTest, AtomicWriteKeepsTheReplacedFilesMode) {
  const fs::path p = dir_ / "mode.txt";
  std::ofstream(p) << "x";
  ::chmod(p.c_str(), 0640);
  RunError err;
  ASSERT_TRUE(WriteFileAtomically(p, "y", err));
  struct stat st {};
  ASSERT_EQ(::stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Adds a section to `file` through the atomic writer.
bool AddCameraSection(const char* file) {
  std::string text;
  RunError err;
  return ReadWholeFile(file, text) && WriteFileAtomically(file, text + "[Camera]\r\nGain=7\r\n", err);
}

TEST_F(TextFilesTest, AtomicWriteThroughALinkWritesTheFileItNamesAndKeepsTheLink) {
  testing::ExpectWritesThroughLinks(AddCameraSection, "Gain=7");
}

TEST_F(TextFilesTest, AtomicWriteThroughALinkKeepsTheModeOfTheFileItNames) {
  const fs::path p = dir_ / "mode.txt";
  std::ofstream(p) << "x";
  ::chmod(p.c_str(), 0640);
  fs::create_symlink("mode.txt", dir_ / "link.txt");
  RunError err;
  ASSERT_TRUE(WriteFileAtomically(dir_ / "link.txt", "y", err));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
  struct stat st {};
  ASSERT_EQ(::stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Slurp(p), "y");
}

TEST_F(TextFilesTest, AFailedWriteKeepsTheOldFile) {
  const fs::path p = dir_ / "image.bmp";
  std::ofstream(p, std::ios::binary) << "old";
  {
    const AtomicWriteFailure fullDisk(AtomicWriteFailure::At::Write, 6);
    RunError err;
    auto out = AtomicFileWriter::Open(p, err);
    ASSERT_TRUE(out);
    EXPECT_TRUE(out->Write("head", err));
    EXPECT_FALSE(out->Write("rows", err));  // two bytes fit, then the disk is full
    EXPECT_TRUE(err.IsFileError());
    EXPECT_FALSE(out->Write("more", err));
    EXPECT_FALSE(WriteFileAtomically(p, "x", err));
  }
  EXPECT_EQ(Slurp(p), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  RunError err;
  EXPECT_TRUE(WriteFileAtomically(p, "new", err)) << "writes work again";
  EXPECT_EQ(Slurp(p), "new");
}

TEST_F(TextFilesTest, AFailedCommitKeepsTheOldFile) {
  const fs::path first = dir_ / "first.ini";
  const fs::path second = dir_ / "second.ini";
  std::ofstream(second, std::ios::binary) << "old";
  {
    const AtomicWriteFailure brokenDisk(AtomicWriteFailure::At::Commit, 1);
    RunError err;
    EXPECT_TRUE(WriteFileAtomically(first, "one", err));  // the one commit allowed
    EXPECT_FALSE(WriteFileAtomically(second, "two", err));
    EXPECT_TRUE(err.IsFileError());
  }
  EXPECT_EQ(Slurp(first), "one");
  EXPECT_EQ(Slurp(second), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}


TEST_F(TextFilesTest, AtomicWriteInEveryFileSituation) {
  testing::ExpectWritesInEveryFileSituation("cam.ini", AddCameraSection, "Gain=7");
}

// Refused before anything is written, with the usual file error: a file nobody may
// write (root included), and a name that is no file at all, which a rename would replace.
TEST_F(TextFilesTest, AtomicWriteRefusesAReadOnlyFileAndWhatIsNoFile) {
  const fs::path readOnly = dir_ / "locked.ovd";
  std::ofstream(readOnly, std::ios::binary) << "old";
  ::chmod(readOnly.c_str(), 0444);
  const fs::path fifo = dir_ / "fifo.ovd";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    fs::path target;
    int number;
  };
  for (const Case& c : {Case{readOnly, errnum::kPermissionDenied}, Case{fifo, errnum::kPathFileAccessError},
                        Case{dir_, errnum::kPathFileAccessError}}) {
    SCOPED_TRACE(c.target);
    RunError err;
    EXPECT_FALSE(WriteFileAtomically(c.target, "new", err));
    EXPECT_EQ(err.Number, c.number);
    EXPECT_NE(err.Description.find(c.target.string()), std::string::npos) << err.Description;
  }
  EXPECT_EQ(Slurp(readOnly), "old");
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

// A file written in its place reserves the space before it touches the file: a full
// disk leaves every name of it with the old text, and nothing beside it.
TEST_F(TextFilesTest, AFullDiskLeavesAFileWrittenInItsPlaceWhole) {
  const fs::path p = dir_ / "linked.ini";
  std::ofstream(p, std::ios::binary) << "old";
  fs::create_hard_link(p, dir_ / "second.ini");
  {
    const AtomicWriteFailure fullDisk(AtomicWriteFailure::At::Reserve);
    RunError err;
    EXPECT_FALSE(WriteFileAtomically(p, std::string(100000, 'n'), err));
    EXPECT_EQ(err.Number, errnum::kDiskFull);
  }
  EXPECT_EQ(Slurp(p), "old");
  EXPECT_EQ(Slurp(dir_ / "second.ini"), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
  RunError err;
  ASSERT_TRUE(WriteFileAtomically(p, "new", err));
  EXPECT_EQ(Slurp(dir_ / "second.ini"), "new");
}

}  // namespace
}  // namespace orvale
