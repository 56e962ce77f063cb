#include "platform/runtime/FileIdentity.h"

#include <cerrno>

namespace orvale {

namespace {

// Longer than any file system's time step (FAT keeps two seconds) and than the coarse
// kernel clock's.
constexpr time_t kSettlingSeconds = 3;

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

FileIdentity FileIdentity::FromStat(const struct stat& st) {
  return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

std::optional<FileIdentity> FileIdentity::Of(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FromStat(st);
}

std::optional<FileIdentity> FileIdentity::OfOrMissing(const std::filesystem::path& path) {
  if (std::optional<FileIdentity> now = Of(path)) return now;
  if (errno == ENOENT) return FileIdentity{};
  return std::nullopt;
}

bool FileIdentity::SettledBefore(const timespec& readStart) const {
  return Changed.tv_sec + kSettlingSeconds < readStart.tv_sec;
}

bool operator==(const FileIdentity& a, const FileIdentity& b) {
  return a.Device == b.Device && a.Inode == b.Inode && a.Size == b.Size &&
         SameTime(a.Modified, b.Modified) && SameTime(a.Changed, b.Changed);
}

timespec RealTimeNow() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}

}  // namespace orvale
