#include "platform/runtime/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, Mode mode)
    : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  struct stat st {};
  if (fd_ < 0) return;
  if (::fstat(fd_, &st) != 0) return;
  device_ = st.st_dev;
  inode_ = st.st_ino;
  nested_ = HeldByThisThread(device_, inode_);
  if (!nested_) {
    while (::flock(fd_, mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) != 0) {
      if (errno != EINTR) return;
    }
  }
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
