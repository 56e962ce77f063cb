#include "platform/runtime/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <utility>

namespace orvale {

namespace {

// The folders this thread holds locked, by device and inode, once per lock held. Plain
// data: a thread-local object with a destructor would keep a library that links this
// (korrin32, zelvo32, the plug-in) from ever being unloaded.
struct HeldFolders {
  static constexpr int kMost = 16;  // far more than locks are ever nested
  std::pair<dev_t, ino_t> folders[kMost];
  int count;
};
thread_local HeldFolders held{};

bool HeldByThisThread(dev_t device, ino_t inode) {
  return std::find(held.folders, held.folders + held.count, std::pair(device, inode)) !=
         held.folders + held.count;
}

// Takes the lock on `fd`, waiting kLongestWait at most; false with errno set (ENOLCK when
// it stayed held by another). Polled rather than blocked on: flock has no time-out, and
// an alarm signal would reach the whole process.
bool LockWithin(int fd, FolderLock::Mode mode) {
  const int operation = (mode == FolderLock::Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point giveUp = Clock::now() + FolderLock::kLongestWait;
  long pauseNs = 1'000'000;  // short at first: our own writers hold it for milliseconds
  for (;;) {
    if (::flock(fd, operation) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return false;
    if (Clock::now() >= giveUp) {
      errno = ENOLCK;
      return false;
    }
    const timespec pause{0, pauseNs};
    ::nanosleep(&pause, nullptr);
    pauseNs = std::min(pauseNs * 2, 50'000'000L);
  }
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, Mode mode)
    : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  struct stat st {};
  if (fd_ < 0) return;
  if (::fstat(fd_, &st) != 0) return;
  device_ = st.st_dev;
  inode_ = st.st_ino;
  nested_ = HeldByThisThread(device_, inode_);
  if (!nested_ && !LockWithin(fd_, mode)) return;
  held_ = true;
  recorded_ = held.count < HeldFolders::kMost;
  if (recorded_) held.folders[held.count++] = {device_, inode_};
}

FolderLock::~FolderLock() {
  if (recorded_) {
    // Locks end in the reverse order they were taken: this one is the last recorded.
    --held.count;
  }
  if (fd_ >= 0) {
    const int reason = errno;
    ::close(fd_);  // closing releases the lock
    errno = reason;
  }
}

}  // namespace orvale
