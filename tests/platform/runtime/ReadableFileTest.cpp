// The one opener every reader shares: a regular file (or a link to one) opens, anything
// else is refused at once with a file error, and nothing waits for a FIFO's writer.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/runtime/LineInput.h"
#include "platform/runtime/LockedFileUpdate.h"
#include "platform/runtime/ReadableFile.h"
#include "tests/support/BoundedChild.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

class ReadableFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("orvale-readable-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    std::ofstream(folder_ / "plain.txt", std::ios::binary) << "one\r\ntwo\r\n";
    fs::create_symlink(folder_ / "plain.txt", folder_ / "link.txt");
    fs::create_symlink(folder_ / "gone.txt", folder_ / "dangling.txt");
    fs::create_directory(folder_ / "folder");
    ASSERT_EQ(::mkfifo((folder_ / "fifo").c_str(), 0600), 0);
    fs::create_symlink(folder_ / "fifo", folder_ / "fifo-link");
    MakeSocket(folder_ / "socket");
  }
  void TearDown() override {
    stopUnblocker_ = true;
    if (unblocker_.joinable()) unblocker_.join();
    if (socket_ >= 0) ::close(socket_);
    fs::remove_all(folder_);
  }

  void MakeSocket(const fs::path& path) {
    socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = path.string();
    if (socket_ < 0 || name.size() >= sizeof address.sun_path) return;
    name.copy(address.sun_path, name.size());
    ::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  }

  // An opener that waited for the FIFO's writer would hang the test for good; this
  // writer comes after a long while (only a hang runs into it), so that such an opener
  // fails the test instead: it returns only once the writer has come.
  void UnblockFifoLater() {
    unblocker_ = std::thread([this] {
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (!stopUnblocker_ && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      if (stopUnblocker_) return;
      writerCame_ = true;
      const int fd = ::open((folder_ / "fifo").c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
    });
  }

  fs::path folder_;
  int socket_ = -1;
  std::thread unblocker_;
  std::atomic<bool> stopUnblocker_{false};
  std::atomic<bool> writerCame_{false};
};

TEST_F(ReadableFileTest, RegularFilesAndLinksToThemOpen) {
  for (const char* name : {"plain.txt", "link.txt"}) {
    std::optional<ReadableFile> file = ReadableFile::Open(folder_ / name);
    ASSERT_TRUE(file) << name;
    EXPECT_EQ(file->SizeWhenOpened(), 10u);
    std::string text;
    RunError error;
    ASSERT_TRUE(file->ReadRest(text, 100, error));
    EXPECT_EQ(text, "one\r\ntwo\r\n");
  }
}

TEST_F(ReadableFileTest, AnythingElseIsRefusedAtOnceWithAFileError) {
  UnblockFifoLater();
  struct Case {
    const char* name;
    int errnoValue;
    int number;
  };
  const Case cases[] = {
      {"missing.txt", ENOENT, errnum::kFileNotFound},
      {"dangling.txt", ENOENT, errnum::kFileNotFound},
      {"folder", EISDIR, errnum::kPathFileAccessError},
      {"fifo", ENODEV, errnum::kPathFileAccessError},
      {"fifo-link", ENODEV, errnum::kPathFileAccessError},
      {"socket", ENODEV, errnum::kPathFileAccessError},
  };
  for (const Case& c : cases) {
    RunError error;
    errno = 0;
    EXPECT_FALSE(ReadableFile::Open(folder_ / c.name, &error)) << c.name;
    EXPECT_FALSE(writerCame_) << c.name;
    EXPECT_EQ(errno, c.errnoValue) << c.name;
    EXPECT_EQ(error.Number, c.number) << c.name;
    EXPECT_NE(error.Description.find((folder_ / c.name).string()), std::string::npos) << c.name;
  }
  RunError error;
  EXPECT_FALSE(ReadableFile::Open("/dev/null", &error));
  EXPECT_EQ(error.Number, errnum::kPathFileAccessError);
}

// Something put in the place of a file after it was judged (a FIFO here, or a device) is
// never opened: what is read is the file judged. The kernel notes each open of the FIFO
// (inotify), so the test sees that none was made, and nothing waits.
TEST_F(ReadableFileTest, SomethingPutInThePlaceOfTheFileJudgedIsNeverOpened) {
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, (folder_ / "fifo").c_str(), IN_OPEN), 0);
  static fs::path fifo;  // for the hook, which takes no state
  fifo = folder_ / "fifo";
  ReadableFile::AfterJudging() = [](const fs::path& path) { fs::rename(fifo, path); };
  std::optional<ReadableFile> file = ReadableFile::Open(folder_ / "plain.txt");
  ReadableFile::AfterJudging() = nullptr;
  EXPECT_TRUE(fs::is_fifo(folder_ / "plain.txt"));  // the swap was made
  ASSERT_TRUE(file);
  std::string text;
  RunError error;
  ASSERT_TRUE(file->ReadRest(text, 100, error));
  EXPECT_EQ(text, "one\r\ntwo\r\n");
  alignas(inotify_event) char event[sizeof(inotify_event) + 256];
  EXPECT_LT(::read(watch, event, sizeof event), 0) << "the FIFO was opened";
  ::close(watch);
}

TEST_F(ReadableFileTest, TheSharedReadersRefuseAFifoWithoutWaitingForItsWriter) {
  UnblockFifoLater();
  const fs::path fifo = folder_ / "fifo";
  RunError error;
  EXPECT_EQ(FileLineSource::Open(fifo, error), nullptr);
  EXPECT_EQ(error.Number, errnum::kPathFileAccessError);
  std::string text;
  EXPECT_FALSE(ReadWholeFile(fifo, text));
  EXPECT_FALSE(UpdateFileLocked(fifo, [](std::string& t) {
    t += "x";
    return true;
  }));
  EXPECT_FALSE(writerCame_);
  struct stat st {};
  ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was replaced by a file";
}

// /proc/kmsg is a regular file of size 0 whose read waits for the kernel's next message.
// Every reader reads it as far as it reads at once and then fails with the usual file
// error; it is not handed to code that would open and read it by itself. (Reading it
// takes the kernel messages nobody has read yet; dmesg keeps them.)
TEST_F(ReadableFileTest, AFileWhoseReadBlocksIsAFileErrorNotAHang) {
  if (::access("/proc/kmsg", R_OK) != 0) GTEST_SKIP() << "/proc/kmsg is not readable here (it needs root)";
  const fs::path kmsg = folder_ / "k.ini";
  fs::create_symlink("/proc/kmsg", kmsg);
  EXPECT_TRUE(testing::RunsWithinBounds([&kmsg] {
    const auto expect = [](bool ok, const char* what) {
      if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        throw 1;
      }
    };
    RunError error;
    std::string text;
    expect(!ReadWholeFile(kmsg, text, &error), "read whole");
    expect(error.Number == errnum::kPathFileAccessError, "the whole read's error");
    std::unique_ptr<FileLineSource> lines = FileLineSource::Open(kmsg, error);
    expect(lines != nullptr, "opened for lines");
    std::string line;
    ReadStatus status = ReadStatus::Line;
    while (status == ReadStatus::Line) status = lines->ReadLine(line, error);
    expect(status == ReadStatus::Failed && error.Number == errnum::kPathFileAccessError, "read by lines");
    std::optional<ReadableFile> file = ReadableFile::Open(kmsg);
    expect(file.has_value(), "opened");
    std::vector<std::uint8_t> bytes;
    expect(!file->ReadUpTo(bytes, 1 << 20, error), "read up to a limit");
    expect(!ReadableFile::CheckBeforeHandingOver(kmsg, error), "handed over");
    expect(error.Description == "Invalid file format: the file is empty: " + kmsg.string(), "handed over: reason");
  }));
}

TEST_F(ReadableFileTest, ReadingStopsAtTheLimitInsteadOfTrustingTheSize) {
  std::optional<ReadableFile> file = ReadableFile::Open(folder_ / "plain.txt");
  ASSERT_TRUE(file);
  std::string text;
  RunError error;
  EXPECT_FALSE(file->ReadRest(text, 4, error));
  EXPECT_EQ(error.Number, errnum::kOutOfMemory);
  EXPECT_LE(text.size(), 4u);
}

}  // namespace
}  // namespace orvale
