#pragma once
// An advisory lock on a folder (flock on the folder itself, so nothing is left beside the
// user's files), held for the object's lifetime: exclusive for a writer of a shared file
// in it, shared for a reader. A thread that holds the lock of a folder already takes it
// again at once, in whatever mode, so a read or an in-place write inside an update does
// not wait for the update's own lock.
//
// Anyone who may open the folder may hold its lock, for as long as they like: the lock is
// waited for a few seconds at most, far longer than any writer of ours holds it, and then
// given up (ENOLCK, "... is locked by another program"), so nothing waits for ever.
#include <sys/types.h>

#include <chrono>
#include <filesystem>

namespace orvale {

class FolderLock {
 public:
  enum class Mode { Shared, Exclusive };
  // How long a lock held by someone else is waited for.
  static constexpr std::chrono::milliseconds kLongestWait{5000};

  // Waits for the lock, kLongestWait at most. The folder is only opened for reading,
  // never made.
  FolderLock(const std::filesystem::path& folder, Mode mode);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // False when the folder could not be opened or locked (errno says why: ENOLCK when
  // another program held the lock all the while).
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
