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

bool TakeReservation() {
  std::atomic<std::int64_t>& budget = InPlaceReservationBudget();
  std::int64_t left = budget.load();
  while (left != 0) {
    if (left < 0 || budget.compare_exchange_weak(left, left - 1)) return true;
  }
  return false;
}

// Gives the temporary file the extended attributes of `file` (its ACLs among them); false
// when one cannot be given.
bool CopyExtendedAttributes(const std::filesystem::path& file, int to) {
  ssize_t size = ::listxattr(file.c_str(), nullptr, 0);
  if (size < 0) return errno == ENOTSUP || errno == ENOSYS;  // a file system without them
  std::vector<char> names(static_cast<std::size_t>(size));
  size = ::listxattr(file.c_str(), names.data(), names.size());
  if (size < 0) return false;
  for (std::size_t at = 0; at < static_cast<std::size_t>(size);) {
    const char* name = names.data() + at;
    at += std::char_traits<char>::length(name) + 1;
    const ssize_t length = ::getxattr(file.c_str(), name, nullptr, 0);
    if (length < 0) return false;
    std::vector<char> value(static_cast<std::size_t>(length));
    if (::getxattr(file.c_str(), name, value.data(), value.size()) != length) return false;
    if (::fsetxattr(to, name, value.data(), value.size(), 0) != 0) return false;
  }
  return true;
}

// Makes the temporary file look like `file` (`st`): owner, group, mode, extended
// attributes. False when it cannot.
bool TakeOnLooks(const std::filesystem::path& temp, const std::filesystem::path& file,
                 const struct stat& st) {
  Descriptor fd(::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  struct stat now {};
  if (fd.Get() < 0 || ::fstat(fd.Get(), &now) != 0) return false;
  if ((now.st_uid != st.st_uid || now.st_gid != st.st_gid) &&
      ::fchown(fd.Get(), st.st_uid, st.st_gid) != 0) {
    return false;
  }
  // After the owner: a change of owner clears the set-id bits.
  return ::fchmod(fd.Get(), st.st_mode & 07777) == 0 && CopyExtendedAttributes(file, fd.Get());
}

enum class InPlace { Written, Untouched, Broken };

// Copies `temp` over `file` in place (see the header).
InPlace WriteInPlace(const std::filesystem::path& temp, const std::filesystem::path& file,
                     const std::filesystem::path& shown, RunError& error) {
  const FolderLock lock(file.parent_path(), FolderLock::Mode::Exclusive);
  ::chmod(temp.c_str(), S_IRUSR | S_IWUSR);  // it took a mode that may not let its writer read it
  Descriptor from(::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  Descriptor to(::open(file.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  struct stat source {};
  struct stat target {};
  if (!lock.Held() || from.Get() < 0 || to.Get() < 0 || ::fstat(from.Get(), &source) != 0 ||
      ::fstat(to.Get(), &target) != 0) {
    Fail(errno, shown, error);
    return InPlace::Untouched;
  }
  if (!S_ISREG(target.st_mode)) {
    Fail(EISDIR, shown, error);
    return InPlace::Untouched;
  }
  if (source.st_size > 0) {
    const int reason = TakeReservation() ? ::posix_fallocate(to.Get(), 0, source.st_size) : ENOSPC;
    if (reason != 0) {
      // Blocks reserved before the failure are given back; the old text was not touched.
      [[maybe_unused]] const int restored = ::ftruncate(to.Get(), target.st_size);
      Fail(reason, shown, error);
      return InPlace::Untouched;
    }
  }
  std::vector<char> buffer(std::size_t{1} << 16);
  for (off_t done = 0; done < source.st_size;) {
    ssize_t got = ::pread(from.Get(), buffer.data(), buffer.size(), done);
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
  if (::stat(file.c_str(), &st) != 0) return true;  // a new file: its folder decides
  if (!S_ISREG(st.st_mode)) return Fail(EISDIR, shown, error);
  if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0) return Fail(errno, shown, error);
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Fail(EACCES, shown, error);
  return true;
}

bool ReplaceFileWith(const std::filesystem::path& temp, const std::filesystem::path& file,
                     const std::filesystem::path& shown, RunError& error) {
  const auto fail = [&temp] {
    ::unlink(temp.c_str());
    return false;
  };
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) {
    if (::rename(temp.c_str(), file.c_str()) == 0) return true;
    Fail(errno, shown, error);
    return fail();
  }
  if (!MayWriteFile(file, shown, error)) return fail();
  if (st.st_nlink > 1 || !TakeOnLooks(temp, file, st)) {
    switch (WriteInPlace(temp, file, shown, error)) {
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
