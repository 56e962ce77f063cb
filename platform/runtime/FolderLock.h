#pragma once
// An advisory lock on a folder (flock on the folder itself, so nothing is left beside the
// user's files), held for the object's lifetime: exclusive for a writer of a shared file
// in it, shared for a reader. A thread that holds the lock of a folder already takes it
// again at once, in whatever mode, so a read or an in-place write inside an update does
// not wait for the update's own lock.
#include <filesystem>

namespace orvale {

class FolderLock {
 public:
  enum class Mode { Shared, Exclusive };
  // Waits for the lock. The folder is only opened for reading, never made.
  FolderLock(const std::filesystem::path& folder, Mode mode);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // False when the folder could not be opened or locked (errno says why).
  bool Held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
  bool nested_ = false;    // the thread held it already
  bool recorded_ = false;  // among the thread's held folders
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

}  // namespace orvale
