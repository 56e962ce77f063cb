#include "platform/runtime/LockedFileUpdate.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/runtime/TextOutput.h"

namespace orvale {

namespace {

// An exclusive advisory lock on a lock file, held for the object's lifetime.
class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& lockFile)
      : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace

bool ReadWholeFile(const std::filesystem::path& file, std::string& text) {
  text.clear();
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

bool UpdateFileLocked(const std::filesystem::path& file,
                      const std::function<bool(std::string& text)>& edit) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  FileLock lock(std::filesystem::path(file) += ".lock");
  if (!lock.Held()) return false;
  std::string before;
  if (!ReadWholeFile(file, before)) return false;
  std::string after = before;
  const bool edited = edit(after);
  if (after == before) return edited;
  RunError error;
  return WriteFileAtomically(file, after, error) && edited;
}

}  // namespace orvale
