#include "platform/runtime/TextOutput.h"

#include "platform/runtime/FileReplacement.h"
#include "platform/runtime/OtherUsersWrites.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace orvale {

bool TextOutput::WriteLine(std::string_view text, RunError& error) {
  std::string line(text);
  line += kCRLF;
  return Write(line, error);
}

bool StringTextOutput::Write(std::string_view text, RunError&) {
  text_ += text;
  return true;
}

namespace {

// What an AtomicWriteFailure left to allow: bytes to write and commits to make; -1 is
// no limit.
std::atomic<std::int64_t> gWriteBudget{-1};
std::atomic<std::int64_t> gCommitBudget{-1};

// Takes up to `wanted` from `budget`; returns how much may go ahead.
std::uint64_t TakeFromBudget(std::atomic<std::int64_t>& budget, std::uint64_t wanted) {
  std::int64_t left = budget.load();
  for (;;) {
    if (left < 0) return wanted;
    const auto granted = std::min<std::uint64_t>(wanted, static_cast<std::uint64_t>(left));
    if (budget.compare_exchange_weak(left, left - static_cast<std::int64_t>(granted))) {
      return granted;
    }
  }
}

// As many links as the kernel follows in one path before it gives up (ELOOP).
constexpr int kMostLinksFollowed = 40;

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}
}  // namespace

std::optional<std::filesystem::path> WriteTargetOf(const std::filesystem::path& target,
                                                   RunError& error) {
  std::filesystem::path file = target;
  for (int followed = 0;; ++followed) {
    struct stat st {};
    // Anything but a link ends the chain; a name that is missing or cannot be reached is
    // left to the create that follows, which reports it.
    if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return file;
    if (!MayFollowLink(file, st)) {
      error = RunError::FromErrno(EACCES, target);
      error.Description += ": the symbolic link " + file.string() +
                           " belongs to another user, in a folder other users may write; it is not followed";
      return std::nullopt;
    }
    std::error_code ec;
    const std::filesystem::path next = std::filesystem::read_symlink(file, ec);
    if (ec) {
      error = RunError::FromErrno(ec.value(), target);
      return std::nullopt;
    }
    if (followed == kMostLinksFollowed) {
      error = RunError::FromErrno(ELOOP, target);
      return std::nullopt;
    }
    // Not normalised: ".." after a linked folder must go where the system takes it.
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
}

std::unique_ptr<AtomicFileWriter> AtomicFileWriter::Open(const std::filesystem::path& target,
                                                         RunError& error) {
  if (target.empty() || !target.has_filename()) {
    error = RunError::FromNumber(errnum::kBadFileNameOrNumber);
    return nullptr;
  }
  const std::optional<std::filesystem::path> file = WriteTargetOf(target, error);
  if (!file) return nullptr;
  // Refused before anything is written: a folder, a device, a file the user may not write.
  if (!MayWriteFile(*file, target, error)) return nullptr;
  std::string pattern = file->string() + ".tmp-XXXXXX";
  errno = 0;
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    error = RunError::FromErrno(errno == ENOENT ? ENOTDIR : errno, target);
    return nullptr;
  }
  // mkstemp creates 0600; give the file the mode an ordinary create would, or keep the
  // mode of the file it replaces, its writer's to read meanwhile (it takes the very mode
  // as it takes the file's place).
  struct stat st {};
  const mode_t mode = ::stat(file->c_str(), &st) == 0 ? ((st.st_mode & 07777) | S_IRUSR | S_IWUSR)
                                                      : (0666 & ~CurrentUmask());
  ::fchmod(fd, mode);
  return std::unique_ptr<AtomicFileWriter>(new AtomicFileWriter(fd, pattern, target, *file));
}

AtomicFileWriter::AtomicFileWriter(int fd, std::filesystem::path temp,
                                   std::filesystem::path target, std::filesystem::path file)
    : fd_(fd), temp_(std::move(temp)), target_(std::move(target)), file_(std::move(file)) {}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!committed_ && !temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

bool AtomicFileWriter::Write(std::string_view bytes, RunError& error) {
  if (fd_ < 0) {
    error = RunError::FromNumber(errnum::kBadFileNameOrNumber);
    return false;
  }
  const char* p = bytes.data();
  const std::size_t allowed = TakeFromBudget(gWriteBudget, bytes.size());
  std::size_t left = allowed;
  while (left > 0) {
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = RunError::FromErrno(errno, target_);
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (allowed < bytes.size()) {
    error = RunError::FromErrno(ENOSPC, target_);
    return false;
  }
  return true;
}

bool AtomicFileWriter::Sync(RunError& error) {
  if (fd_ < 0) {
    error = RunError::FromNumber(errnum::kBadFileNameOrNumber);
    return false;
  }
  if (::fsync(fd_) != 0 && errno != EINVAL) {
    error = RunError::FromErrno(errno, target_);
    return false;
  }
  return true;
}

bool AtomicFileWriter::Commit(RunError& error) {
  if (fd_ < 0) {
    error = RunError::FromNumber(errnum::kBadFileNameOrNumber);
    return false;
  }
  if (TakeFromBudget(gCommitBudget, 1) == 0) {
    error = RunError::FromErrno(EIO, target_);
    Discard();
    return false;
  }
  if (!Sync(error)) return false;
  // The file is put in place through a descriptor of its own; the close, which reports
  // what a network file system could not write, comes first.
  const int made = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
  if (made < 0 || ::close(std::exchange(fd_, -1)) != 0) {
    error = RunError::FromErrno(errno, target_);
    if (made >= 0) ::close(made);
    Discard();
    return false;
  }
  // Done or not, the temporary file is no longer this writer's to remove.
  committed_ = ReplaceFileWith(made, temp_, file_, target_, error);
  ::close(made);
  temp_.clear();
  return committed_;
}

AtomicWriteFailure::AtomicWriteFailure(At at, std::uint64_t after) {
  const auto left = static_cast<std::int64_t>(after);
  switch (at) {
    case At::Write: gWriteBudget.store(left); break;
    case At::Commit: gCommitBudget.store(left); break;
    case At::Reserve: InPlaceReservationBudget().store(left); break;
  }
}

AtomicWriteFailure::~AtomicWriteFailure() {
  gWriteBudget.store(-1);
  gCommitBudget.store(-1);
  InPlaceReservationBudget().store(-1);
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         RunError& error) {
  auto file = AtomicFileWriter::Open(target, error);
  return file && file->Write(bytes, error) && file->Commit(error);
}

}  // namespace orvale
