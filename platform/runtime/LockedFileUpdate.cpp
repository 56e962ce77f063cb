#include "platform/runtime/LockedFileUpdate.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/runtime/ReadableFile.h"
#include "platform/runtime/TextOutput.h"

namespace orvale {

namespace {

// An exclusive advisory lock on a folder, held for the object's lifetime. The folder is
// only opened for reading, never made.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder)
      : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace

bool ReadWholeFile(const std::filesystem::path& file, std::string& text) {
  text.clear();
  std::optional<ReadableFile> input = ReadableFile::Open(file);
  if (!input) return errno == ENOENT;
  RunError error;
  return input->ReadRest(text, text.max_size(), error);
}

bool UpdateFileLocked(const std::filesystem::path& given,
                      const std::function<bool(std::string& text)>& edit) {
  // Through a link, the file it names is the shared one: its folder is the one locked, so
  // writers that reach it by different paths still take turns.
  RunError error;
  const std::optional<std::filesystem::path> file = WriteTargetOf(given, error);
  if (!file) return false;
  FolderLock lock(file->parent_path());
  if (!lock.Held()) return false;
  std::string before;
  if (!ReadWholeFile(*file, before)) return false;
  std::string after = before;
  const bool edited = edit(after);
  if (after == before) return edited;
  return WriteFileAtomically(*file, after, error) && edited;
}

}  // namespace orvale
