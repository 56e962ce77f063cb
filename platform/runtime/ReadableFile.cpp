#include "platform/runtime/ReadableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace orvale {

namespace {

// The reason a file that is there cannot be read as one: EISDIR for a folder, ENODEV
// for a FIFO, a device or a socket; 0 for a regular file.
int NotAFileReason(mode_t mode) {
  if (S_ISREG(mode)) return 0;
  return S_ISDIR(mode) ? EISDIR : ENODEV;
}

std::optional<ReadableFile> Refuse(int reason, const std::filesystem::path& path, RunError* error) {
  if (error != nullptr) {
    // Something that is there but is no file is a path/file access error, like a folder;
    // "Device unavailable" would only puzzle someone who named a FIFO.
    *error = reason == ENODEV ? RunError::FromErrno(EISDIR, path) : RunError::FromErrno(reason, path);
  }
  errno = reason;
  return std::nullopt;
}

}  // namespace

std::optional<ReadableFile> ReadableFile::Open(const std::filesystem::path& path, RunError* error) {
  // The name is resolved once, to a handle that opens nothing (O_PATH), and the file it
  // holds is judged: a device is never opened at all, and nothing swapped in for the name
  // afterwards is what gets read.
  const int handle = ::open(path.c_str(), O_PATH | O_CLOEXEC);
  if (handle < 0) return Refuse(errno, path, error);
  struct stat st {};
  int reason = ::fstat(handle, &st) != 0 ? errno : NotAFileReason(st.st_mode);
  if (reason != 0) {
    ::close(handle);
    return Refuse(reason, path, error);
  }
  if (const JudgedHook hook = AfterJudging()) hook(path);
  // The regular file judged is opened through its handle, without waiting, in case it is
  // one that blocks on read (/proc/kmsg): a read that would wait is an error (EAGAIN). No
  // /proc (a bare chroot): the name is opened again, and what it opened is judged again.
  constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = ::open(("/proc/self/fd/" + std::to_string(handle)).c_str(), kFlags);
  if (fd < 0 && errno == ENOENT) fd = ::open(path.c_str(), kFlags);
  reason = fd < 0 ? errno : ::fstat(fd, &st) != 0 ? errno : NotAFileReason(st.st_mode);
  ::close(handle);
  if (reason != 0) {
    if (fd >= 0) ::close(fd);
    return Refuse(reason, path, error);
  }
  return ReadableFile(fd, FileIdentity::FromStat(st), path);
}

ReadableFile::JudgedHook& ReadableFile::AfterJudging() {
  static JudgedHook hook = nullptr;
  return hook;
}

ReadableFile::ReadableFile(int fd, const FileIdentity& identity, std::filesystem::path path)
    : fd_(fd), identity_(identity), path_(std::move(path)) {}

ReadableFile::ReadableFile(ReadableFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), identity_(other.identity_), path_(std::move(other.path_)) {}

ReadableFile& ReadableFile::operator=(ReadableFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    identity_ = other.identity_;
    path_ = std::move(other.path_);
  }
  return *this;
}

ReadableFile::~ReadableFile() {
  if (fd_ >= 0) ::close(fd_);
}

int ReadableFile::Release() { return std::exchange(fd_, -1); }

long ReadableFile::Read(void* out, std::size_t n) {
  if (fd_ < 0) {
    errno = EBADF;
    return -1;
  }
  for (;;) {
    const ssize_t got = ::read(fd_, out, n);
    if (got >= 0 || errno != EINTR) return static_cast<long>(got);
  }
}

bool ReadableFile::CheckBeforeHandingOver(const std::filesystem::path& path, RunError& error) {
  std::optional<ReadableFile> file = Open(path, &error);
  if (!file) return false;
  // A pseudo-file of /proc or /sys gives no size; no library or picture is empty.
  char first = 0;
  const long got = file->SizeWhenOpened() == 0 ? 0 : file->Read(&first, 1);
  if (got == 1) return true;
  if (got < 0) {
    error = RunError::FromErrno(errno, path);
  } else {
    error = RunError::FromNumber(errnum::kInvalidFileFormat);
    error.Description += ": the file is empty: " + path.string();
  }
  return false;
}

template <class Bytes>
bool ReadableFile::AppendUpTo(Bytes& bytes, std::uint64_t limit, RunError& error) {
  constexpr std::size_t kChunk = 1 << 20;
  while (bytes.size() < limit) {
    const std::size_t done = bytes.size();
    // Within the room the caller made, or a chunk; a full buffer only grows for bytes
    // that are there, not to find the end of the file.
    const std::size_t room = bytes.capacity() - done;
    const auto chunk = static_cast<std::size_t>(
        std::min<std::uint64_t>(room > 0 ? std::min(room, kChunk) : kChunk, limit - done));
    long got = 0;
    int reason = 0;
    if (room == 0 && done > 0) {
      std::array<char, 4096> probe;
      got = Read(probe.data(), std::min(probe.size(), chunk));
      reason = errno;
      if (got > 0) bytes.insert(bytes.end(), probe.data(), probe.data() + got);
    } else {
      bytes.resize(done + chunk);
      got = Read(bytes.data() + done, chunk);
      reason = errno;
      bytes.resize(done + static_cast<std::size_t>(std::max(got, 0L)));
    }
    if (got == 0) return true;
    if (got < 0) {
      error = RunError::FromErrno(reason, path_);
      return false;
    }
  }
  return true;
}

bool ReadableFile::ReadUpTo(std::vector<std::uint8_t>& bytes, std::uint64_t limit, RunError& error) {
  return AppendUpTo(bytes, limit, error);
}

bool ReadableFile::ReadRest(std::string& bytes, std::uint64_t limit, RunError& error) {
  if (!AppendUpTo(bytes, limit, error)) return false;
  if (bytes.size() < limit) return true;
  char more = 0;
  const long past = Read(&more, 1);  // the file may end exactly at the limit
  if (past == 0) return true;
  if (past < 0) {
    error = RunError::FromErrno(errno, path_);
  } else {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    error.Description += ": " + path_.string();
  }
  return false;
}

}  // namespace orvale
