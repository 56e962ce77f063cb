#include "platform/runtime/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "platform/runtime/FolderLock.h"

namespace orvale {

namespace {

// Closes a descriptor when it goes, keeping errno.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      const int reason = errno;
      ::close(fd_);
      errno = reason;
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  // Closes it now; false with errno set when the close reports an error.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

bool Fail(int reason, const std::filesystem::path& shown, RunError& error) {
  error = RunError::FromErrno(reason, shown);
  return false;
}

// Another program put something else under `name` (the file, or its temporary file)
// after it was examined: nothing is written through it.
bool FailReplaced(const std::filesystem::path& name, const std::filesystem::path& shown,
                  RunError& error) {
  error = RunError::FromNumber(errnum::kPathFileAccessError);
  error.Description += ": " + shown.string() + ": " + name.string() +
                       " was replaced by another program while it was written; nothing was "
                       "written through it";
  return false;
}

// Opens `name` to examine it and act on it by its descriptor: never through a link (ELOOP),
// never waiting (a FIFO). For reading when it may be read, else (a file its user may only
// write) for writing: either way the descriptor takes owner, mode and attributes.
int OpenToExamine(const std::filesystem::path& name) {
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  const int fd = ::open(name.c_str(), O_RDONLY | kFlags);
  return fd >= 0 || errno != EACCES ? fd : ::open(name.c_str(), O_WRONLY | kFlags);
}

// MayWriteFile's rules for the file `st` examined under the name `file`.
bool MayWrite(const struct stat& st, const std::filesystem::path& file,
              const std::filesystem::path& shown, RunError& error) {
  if (!S_ISREG(st.st_mode)) return Fail(EISDIR, shown, error);
  if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0) {
    return Fail(errno, shown, error);
  }
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Fail(EACCES, shown, error);
  return true;
}

bool TakeReservation() {
  std::atomic<std::int64_t>& budget = InPlaceReservationBudget();
  std::int64_t left = budget.load();
  while (left != 0) {
    if (left < 0 || budget.compare_exchange_weak(left, left - 1)) return true;
  }
  return false;
}

// Reserves `size` bytes for the file `fd`: 0, or the reason it cannot. fallocate(2)
// itself: posix_fallocate would emulate it where the file system has none, by reading the
// file, which a descriptor open only for writing cannot (EBADF).
int ReserveSpace(int fd, off_t size) {
  if (!TakeReservation()) return ENOSPC;
  while (::fallocate(fd, 0, 0, size) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

// Gives the temporary file `to` the extended attributes of the file `from` (its ACLs
// among them); false when one cannot be given.
bool CopyExtendedAttributes(int from, int to) {
  ssize_t size = ::flistxattr(from, nullptr, 0);
  if (size < 0) return errno == ENOTSUP || errno == ENOSYS;  // a file system without them
  std::vector<char> names(static_cast<std::size_t>(size));
  size = ::flistxattr(from, names.data(), names.size());
  if (size < 0) return false;
  for (std::size_t at = 0; at < static_cast<std::size_t>(size);) {
    const char* name = names.data() + at;
    at += std::char_traits<char>::length(name) + 1;
    const ssize_t length = ::fgetxattr(from, name, nullptr, 0);
    if (length < 0) return false;
    std::vector<char> value(static_cast<std::size_t>(length));
    if (::fgetxattr(from, name, value.data(), value.size()) != length) return false;
    if (::fsetxattr(to, name, value.data(), value.size(), 0) != 0) return false;
  }
  return true;
}

// Makes the temporary file `temp` look like the file `file` (`st`): owner, group, mode,
// extended attributes. False when it cannot.
bool TakeOnLooks(int temp, int file, const struct stat& st) {
  struct stat now {};
  if (::fstat(temp, &now) != 0) return false;
  if ((now.st_uid != st.st_uid || now.st_gid != st.st_gid) &&
      ::fchown(temp, st.st_uid, st.st_gid) != 0) {
    return false;
  }
  // After the owner: a change of owner clears the set-id bits.
  return ::fchmod(temp, st.st_mode & 07777) == 0 && CopyExtendedAttributes(file, temp);
}

enum class InPlace { Written, Untouched, Broken };

// Copies the temporary file `from` over `file`, the file `decided` examined, in place (see
// the header).
InPlace WriteInPlace(int from, const std::filesystem::path& file, const struct stat& decided,
                     const std::filesystem::path& shown, RunError& error) {
  const FolderLock lock(file.parent_path(), FolderLock::Mode::Exclusive);
  if (!lock.Held()) {
    Fail(errno, shown, error);
    return InPlace::Untouched;
  }
  Descriptor to(::open(file.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat source {};
  struct stat target {};
  if (to.Get() < 0 && errno == ELOOP) {
    FailReplaced(file, shown, error);
    return InPlace::Untouched;
  }
  if (to.Get() < 0 || ::fstat(from, &source) != 0 || ::fstat(to.Get(), &target) != 0) {
    Fail(errno, shown, error);
    return InPlace::Untouched;
  }
  if (target.st_dev != decided.st_dev || target.st_ino != decided.st_ino) {
    FailReplaced(file, shown, error);
    return InPlace::Untouched;
  }
  if (source.st_size > 0) {
    // Where no space can be reserved, the file is written without: as any write would be.
    const int reason = ReserveSpace(to.Get(), source.st_size);
    if (reason != 0 && reason != EOPNOTSUPP) {
      // Blocks reserved before the failure are given back; the old text was not touched.
      [[maybe_unused]] const int restored = ::ftruncate(to.Get(), target.st_size);
      Fail(reason, shown, error);
      return InPlace::Untouched;
    }
  }
  std::vector<char> buffer(std::size_t{1} << 16);
  for (off_t done = 0; done < source.st_size;) {
    ssize_t got = ::pread(from, buffer.data(), buffer.size(), done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      Fail(got == 0 ? EIO : errno, shown, error);  // the temporary file was cut short
      return InPlace::Broken;
    }
    for (ssize_t put = 0; put < got;) {
      const ssize_t n = ::pwrite(to.Get(), buffer.data() + put, static_cast<std::size_t>(got - put), done + put);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        Fail(n == 0 ? EIO : errno, shown, error);
        return InPlace::Broken;
      }
      put += n;
    }
    done += got;
  }
  if (::ftruncate(to.Get(), source.st_size) != 0 || (::fsync(to.Get()) != 0 && errno != EINVAL) ||
      !to.Close()) {
    Fail(errno, shown, error);
    return InPlace::Broken;
  }
  return InPlace::Written;
}

}  // namespace

std::atomic<std::int64_t>& InPlaceReservationBudget() {
  static std::atomic<std::int64_t> budget{-1};
  return budget;
}

bool MayWriteFile(const std::filesystem::path& file, const std::filesystem::path& shown,
                  RunError& error) {
  struct stat st {};
  if (::lstat(file.c_str(), &st) != 0) return true;  // a new file: its folder decides
  return MayWrite(st, file, shown, error);
}

bool ReplaceFileWith(const std::filesystem::path& temp, const std::filesystem::path& file,
                     const std::filesystem::path& shown, RunError& error) {
  // Made by code that gives no descriptor (a plug-in): the file under its name must be a
  // file of this process's user, not a link or a file another user put there.
  const Descriptor made(OpenToExamine(temp));
  struct stat st {};
  if (made.Get() >= 0 && ::fstat(made.Get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
    return ReplaceFileWith(made.Get(), temp, file, shown, error);
  }
  if (made.Get() < 0 && errno != ELOOP) {
    Fail(errno, shown, error);
  } else {
    FailReplaced(temp, shown, error);
  }
  ::unlink(temp.c_str());
  return false;
}

bool ReplaceFileWith(int made, const std::filesystem::path& temp, const std::filesystem::path& file,
                     const std::filesystem::path& shown, RunError& error) {
  const auto fail = [&temp] {
    ::unlink(temp.c_str());
    return false;
  };
  // The temporary file is read and given its looks through its descriptor, and put in
  // place only while its name still holds it: another user who may write the folder
  // could have put a link (to any file) or a file of theirs under that name.
  struct stat madeStatus {};
  struct stat named {};
  if (::fstat(made, &madeStatus) != 0) {
    Fail(errno, shown, error);
    return fail();
  }
  if (::lstat(temp.c_str(), &named) != 0 || named.st_dev != madeStatus.st_dev ||
      named.st_ino != madeStatus.st_ino) {
    FailReplaced(temp, shown, error);
    return fail();
  }
  // So is the file it replaces, examined where it is, not where a link put in its place
  // since would lead.
  const Descriptor examined(OpenToExamine(file));
  struct stat st {};
  if (examined.Get() < 0) {
    const int reason = errno;
    if (reason == ENOENT) {  // a new file
      if (::rename(temp.c_str(), file.c_str()) == 0) return true;
      Fail(errno, shown, error);
    } else if (reason == ELOOP) {
      FailReplaced(file, shown, error);
    } else {
      Fail(reason, shown, error);
    }
    return fail();
  }
  if (::fstat(examined.Get(), &st) != 0) {
    Fail(errno, shown, error);
    return fail();
  }
  if (!MayWrite(st, file, shown, error)) return fail();
  if (st.st_nlink > 1 || !TakeOnLooks(made, examined.Get(), st)) {
    switch (WriteInPlace(made, file, st, shown, error)) {
      case InPlace::Written: ::unlink(temp.c_str()); return true;
      case InPlace::Untouched: return fail();
      case InPlace::Broken:
        error.Description += "; its new contents are kept in " + temp.string();
        return false;
    }
  }
  if (::rename(temp.c_str(), file.c_str()) == 0) return true;
  Fail(errno, shown, error);
  return fail();
}

}  // namespace orvale
