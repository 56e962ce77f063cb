#pragma once
// What tells one state of a file from another without reading it: its device and inode,
// its size, and the times of its last change of contents and of anything (mtime, ctime),
// to the nanosecond. A reader may keep what it made of a file while the file keeps the
// same identity: every write changes one of them.
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <optional>

namespace orvale {

struct FileIdentity {
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = 0;
  timespec Modified{};
  timespec Changed{};

  static FileIdentity FromStat(const struct stat& st);
  // The identity of `path` now, links followed; nullopt with errno set when there is none.
  static std::optional<FileIdentity> Of(const std::filesystem::path& path);
  // The same, but all zeros for a missing file (as a read of one reports it); nullopt for
  // a file that cannot be looked at.
  static std::optional<FileIdentity> OfOrMissing(const std::filesystem::path& path);

  // File times tick coarsely (a few milliseconds; seconds on some file systems), so a
  // file changed just before it was read may change again without its identity showing
  // it. True when its last change lies well before `readStart` (CLOCK_REALTIME), so what
  // was read then may be kept for as long as the identity holds.
  bool SettledBefore(const timespec& readStart) const;

  friend bool operator==(const FileIdentity& a, const FileIdentity& b);
};

// CLOCK_REALTIME now, the clock file times are taken from.
timespec RealTimeNow();

}  // namespace orvale
