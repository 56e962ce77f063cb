#include "app/document/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <utility>

namespace orvale {

namespace {
// Closes the descriptor on every path out.
struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};
}  // namespace

bool ReadFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                   RunError& error) {
  FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) {
    error = RunError::FromErrno(errno, path);
    return false;
  }
  struct stat st {};
  if (::fstat(file.fd, &st) != 0) {
    error = RunError::FromErrno(errno, path);
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = RunError::FromErrno(EISDIR, path);
    return false;
  }
  std::vector<std::uint8_t> content;
  try {
    content.resize(static_cast<std::size_t>(st.st_size));
  } catch (const std::bad_alloc&) {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    return false;
  } catch (const std::length_error&) {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    return false;
  }
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::read(file.fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = RunError::FromErrno(errno, path);
      return false;
    }
    if (n == 0) break;  // the file shrank while it was read
    done += static_cast<std::size_t>(n);
  }
  content.resize(done);
  bytes = std::move(content);
  return true;
}

}  // namespace orvale
